// The clipboard menu: texts copied in other programs appear on it, the chosen one is pasted into
// the application that was active, and the history survives the end of the program.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "E2eFixture.h"
#include "dialogs/TabClipboardIds.h"
#include "dialogs/TextSetEditorIds.h"
#include "dialogs/TextSetChooserIds.h"

namespace {

class ClipboardMenu : public MirtoTest {
protected:
    TClipboardListener Listener;

    // Copies a Unicode text as another program does and waits until the program has read it
    // (with a format besides, until it has been told of it); Copied puts whatever put puts there
    // (a picture, say) and waits until the program has been told.
    void Copy(const std::wstring& text, UINT extraFormat = 0) {
        if (extraFormat != 0) return Copied([&] { return PutClipboardText(text, extraFormat); });
        ASSERT_TRUE(Listener.CopyAndWaitRead(text)) << "the program did not read the copy";
    }
    void Copied(const std::function<bool()>& put) {
        const LONG_PTR seen = Listener.Updates();
        ASSERT_TRUE(put()) << "cannot put it on the clipboard";
        ASSERT_TRUE(Listener.WaitChangeTaken(seen, Form())) << "the program was not told";
    }

    // Holds Shift + Alt in the application until the menu has the keyboard.
    void OpenMenu(const TTarget& target) {
        EXPECT_TRUE(HoldUntilMenu(Form(), VK_SHIFT, VK_MENU, [&] {
            EXPECT_TRUE(target.Focus());
        })) << "the clipboard menu did not take the keyboard";
    }
    // Presses and releases the keys one after another.
    void Press(std::initializer_list<WORD> keys) {
        for (WORD key : keys)
            PressKeys({key});
    }

    // Opens the menu, presses the keys (a page digit, a letter, a menu key), then releases one
    // key of the pair (Alt unless told) while the other is still held, which hides the menu and
    // pastes; returns what arrived in the application. meanwhile, when given, runs while the
    // menu is up, before the keys.
    std::wstring Paste(const TTarget& target, std::initializer_list<WORD> keys,
                       const std::function<void()>& meanwhile = {}, WORD firstUp = VK_MENU) {
        target.SetText(L"");
        OpenMenu(target);
        if (meanwhile) meanwhile();
        Press(keys);
        KeyUp(firstUp);
        EXPECT_TRUE(WaitFor([&] { return !MenuVisible(); }));
        WaitFor([&] { return !target.Text().empty(); }, 5000);
        KeyUp(firstUp == VK_MENU ? VK_SHIFT : VK_MENU);
        return target.Text();
    }

    // Opens the menu, asks to clear the history (BackSpace) and answers with the button;
    // returns the question.
    std::string AnswerClearQuestion(const TTarget& target, int button) {
        OpenMenu(target);
        Press({VK_BACK});
        const HWND box = Mirto->WaitMessageBox();
        EXPECT_NE(box, nullptr) << "no question";
        const std::string question = box ? MessageBoxText(box) : "";
        if (box) CloseMessageBox(box, button);
        EXPECT_TRUE(WaitFor([&] { return Mirto->MessageBoxWindow() == nullptr; }));
        EXPECT_TRUE(MenuVisible()) << "the menu hid while the keys are held";
        KeyUp(VK_MENU);
        KeyUp(VK_SHIFT);
        EXPECT_TRUE(WaitMenuHidden());
        return question;
    }

    // Copies a text as a program does that keeps the clipboard open a while after its copy: the
    // program hears of the copy while the clipboard is still held. The copy's notice is posted
    // as the writer closes the clipboard, so Mirto may open it to read before this process opens
    // it again; that read is Mirto's ordinary capture, not the case under test, so the copy is
    // made again, numbered, until this process holds the clipboard first. Returns the number of
    // the copy held (0: the first, which carries no number).
    static int CopyAndHoldOpen(const std::wstring& text, DWORD holdMs) {
        int copy = 0;
        for (;; ++copy) {
            if (copy == 20) {
                ADD_FAILURE() << "Mirto read every copy before the clipboard could be held";
                return -1;
            }
            // Mirto may still be reading the copy before.
            const std::wstring numbered = copy == 0 ? text : text + std::to_wstring(copy);
            if (!WaitFor([&] { return PutClipboardText(numbered); })) {
                ADD_FAILURE() << "no copy";
                return -1;
            }
            if (OpenClipboard(nullptr)) break;
        }
        const ULONGLONG until = GetTickCount64() + holdMs;
        WaitFor([&] { return GetTickCount64() >= until; }, holdMs + 1000);
        CloseClipboard();
        return copy;
    }
};

// Makes a file of the program folder read-only for as long as it lives (the folder's removal
// needs it writable again).
class TReadOnlyFile {
public:
    explicit TReadOnlyFile(std::string path) : Path(std::move(path)) { Set(true); }
    ~TReadOnlyFile() { Set(false); }
    TReadOnlyFile(const TReadOnlyFile&) = delete;
    TReadOnlyFile& operator=(const TReadOnlyFile&) = delete;
    bool Set(bool readOnly) const {
        return SetFileAttributesA(Path.c_str(),
                                  readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL) != 0;
    }

private:
    std::string Path;
};

} // namespace

TEST_F(ClipboardMenu, CopiedTextsArePastedMostRecentFirstAndOutliveTheProgram) {
    StartWithSettings(IniText({"[Clipboard]", "SaveHistory=1"}));
    TTarget target("Target64.exe");
    ASSERT_NE(target.Handle(), nullptr);

    Copy(L"一つ目");
    Copy(L"two");
    Copy(L"三つ目 third");
    Copy(L"");
    Copied(PutClipboardPicture);
    EXPECT_EQ(Paste(target, {'A'}), L"三つ目 third");
    // Shift, still held as the menu hid, did not go with the paste.
    EXPECT_EQ(target.Ask(5), 0);
    // The third line moves to the top.
    EXPECT_EQ(Paste(target, {'C'}), L"一つ目");
    EXPECT_EQ(Paste(target, {'A'}), L"一つ目");
    EXPECT_EQ(Paste(target, {'B'}), L"三つ目 third");
    EXPECT_EQ(Paste(target, {'C'}), L"two");

    // A password manager's text stays out; a text outside code page 932 pastes back as copied.
    const UINT exclude = RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
    Copy(L"secret", exclude);
    EXPECT_EQ(Paste(target, {'A'}), L"two");
    const std::wstring foreign = L"\x20AC \xD83D\xDE00 ユニコード";
    Copy(foreign);
    EXPECT_EQ(Paste(target, {'A'}), foreign);

    // Resident, shown and pasting, the program has not loaded what only the settings dialog's
    // choosers use: the common dialogs bring in printing, whose Unix side under Wine (CUPS,
    // TLS) would be held all day.
    EXPECT_TRUE(ModuleLoaded(Mirto->ProcessId(), "user32.dll"));
    EXPECT_FALSE(ModuleLoaded(Mirto->ProcessId(), "comdlg32.dll"));
    EXPECT_FALSE(ModuleLoaded(Mirto->ProcessId(), "winspool.drv"));

    // A long text with line breaks comes back whole after the program ends and starts again.
    std::wstring longText;
    for (int line = 0; line < 100; ++line) // 10,200 bytes in code page 932
        longText += std::wstring(50, L'あ') + L"\r\n";
    Copy(longText);
    Mirto->Stop();
    ASSERT_TRUE(Mirto->WaitExit());
    const std::string saved = Folder.Read("CHistory.ini");
    EXPECT_NE(saved.find("[Basic]\r\nTitle=Clipboard History\r\nHistory=1\r\nTop=-1\r\n"
                         "Bottom=-1\r\nLoadHistory=1\r\n"),
              std::string::npos)
        << saved.substr(0, 200);
    EXPECT_EQ(saved.find("secret"), std::string::npos);

    StartResident();
    EXPECT_EQ(Paste(target, {'A'}), longText);
    EXPECT_EQ(Paste(target, {'C'}), L"two");
}

TEST_F(ClipboardMenu, ATextSetKeepsItsFixedTextsAndTheMenuKeysProtectOrClearTheHistory) {
    ASSERT_TRUE(CreateDirectoryA(Folder.FilePath("Cliplist").c_str(), nullptr));
    ASSERT_TRUE(Folder.Write(
        "Cliplist\\Test.ini",
        IniText({"[Basic]", "Title=試験", "History=1", "Top=26", "Bottom=51", "LoadHistory=0",
                 "[Page.1]", "A=お世話になっております。", "[Page.3]", "B=敬具"})));
    ASSERT_TRUE(Folder.Write("Mirto.ini", IniText({"[Clipboard]", "SaveHistory=1"})));
    StartResident("-f;Test.ini");
    TTarget target("Target64.exe");
    ASSERT_NE(target.Handle(), nullptr);

    // The history fills page 2; the fixed texts of pages 1 and 3 paste without entering it.
    Copy(L"最初の履歴");
    Copy(L"コピーした文");
    EXPECT_EQ(Paste(target, {'A'}), L"お世話になっております。");
    EXPECT_EQ(Paste(target, {'2', 'A'}), L"コピーした文");
    EXPECT_EQ(Paste(target, {'2', 'B'}), L"最初の履歴");
    // Either key of the pair may go first: the one still held reaches no pasted key.
    EXPECT_EQ(Paste(target, {'3', 'B'}, {}, VK_SHIFT), L"敬具");
    EXPECT_EQ(Paste(target, {'2', 'A'}, {}, VK_SHIFT), L"最初の履歴");
    EXPECT_EQ(Paste(target, {'2', 'B'}), L"コピーした文");

    // Protected (Pause), the history takes no copy and moves no chosen line; Pause again ends it.
    EXPECT_EQ(Paste(target, {VK_PAUSE, '2', 'B'}), L"最初の履歴");
    Copy(L"保護中のコピー");
    EXPECT_EQ(Paste(target, {'2', 'B'}), L"最初の履歴");
    EXPECT_EQ(Paste(target, {VK_PAUSE, '2', 'B'}), L"最初の履歴");
    EXPECT_EQ(Paste(target, {'2', 'A'}), L"最初の履歴");

    // The clear question: No keeps the history, Yes clears it, also in the history file.
    EXPECT_EQ(AnswerClearQuestion(target, IDNO),
              "クリップボードの履歴をクリアしてよろしいでしょうか？");
    EXPECT_EQ(Paste(target, {'2', 'B'}), L"コピーした文");
    AnswerClearQuestion(target, IDYES);
    Copy(L"新しい履歴");
    EXPECT_EQ(Paste(target, {'2', 'A'}), L"新しい履歴");
    Mirto->Stop();
    ASSERT_TRUE(Mirto->WaitExit());
    const std::string saved = Folder.Read("CHistory.ini");
    EXPECT_NE(saved.find("=新しい履歴\r\n"), std::string::npos);
    for (const char* gone : {"最初の履歴", "コピーした文", "保護中", "敬具"})
        EXPECT_EQ(saved.find(gone), std::string::npos) << gone;
}

TEST_F(ClipboardMenu, ASetWrittenInTheEditorAndSwitchedToFillsTheMenuAndItsWindowTakesCopies) {
    // A saved history, which the blank entry's load switch must leave as it is.
    const std::string history =
        IniText({"[Basic]", "Title=Clipboard History", "History=1", "Top=-1", "Bottom=-1",
                 "LoadHistory=1", "", "[Page.1]", "A=保存した履歴", "B=\" 二 \""});
    ASSERT_TRUE(Folder.Write("CHistory.ini", history));
    StartWithSettings(IniText({"[Clipboard]", "SaveHistory=0"}));
    TTarget target("Target64.exe");
    ASSERT_NE(target.Handle(), nullptr);
    const auto open = [&](const char* caption) {
        HWND window = nullptr;
        EXPECT_TRUE(WaitFor([&] { return (window = Mirto->VisibleDialog(caption)) != nullptr; }))
            << "no " << caption;
        return window;
    };
    const auto tell = [](HWND dialog, int id, int code) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    };
    const auto closed = [](HWND window) { return WaitFor([&] { return !IsWindow(window); }); };

    // A new set from the clipboard page: its title and file name are offered.
    PostMessageA(Form(), WM_COMMAND, 102, 0);
    HWND settings = open("詳細設定");
    ASSERT_NE(settings, nullptr);
    HWND sets = FindControl(settings, IDC_LISTBOX3);
    EXPECT_EQ(ListLine(sets, 0), "（ブランク）");
    ClickButton(FindControl(settings, IDC_BUTTON16));
    HWND editor = open("クリップボード登録");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(ControlText(GetDlgItem(editor, IDC_EDITOR_EDIT1)), "クリップボード設定1");
    EXPECT_EQ(ControlText(GetDlgItem(editor, IDC_EDITOR_EDIT2)), "CName001");
    // Page 1, A and page 2, C typed; the history window from page 1, B to page 1, D.
    HWND grid = GetDlgItem(editor, IDC_EDITOR_STRINGGRID1);
    const auto type = [&](int row, const char* text) {
        ASSERT_TRUE(SelectListViewItem(Mirto->ProcessHandle(), grid, row - 1));
        SetControlText(GetDlgItem(editor, IDC_EDITOR_MEMO1), text);
        tell(editor, IDC_EDITOR_MEMO1, EN_KILLFOCUS);
    };
    type(1, "こんにちは");
    ChooseInCombo(GetDlgItem(editor, IDC_EDITOR_COMBOBOX1), 1);
    type(3, "二頁目");
    SendMessageA(GetDlgItem(editor, IDC_EDITOR_CHECKBOX1), BM_CLICK, 0, 0);
    for (const auto& [id, position] : {std::pair{IDC_EDITOR_COMBOBOX2, 0},
                                       {IDC_EDITOR_COMBOBOX3, 1},
                                       {IDC_EDITOR_COMBOBOX4, 0},
                                       {IDC_EDITOR_COMBOBOX5, 3}})
        ChooseInCombo(GetDlgItem(editor, id), position);
    PostMessageA(editor, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(closed(editor)) << "the editor refused its OK";
    const std::string set = Folder.Read("Cliplist\\CName001.ini");
    EXPECT_EQ(set.rfind("[Basic]\r\nTitle=クリップボード設定1\r\nHistory=1\r\nTop=1\r\nBottom=3\r\n"
                        "LoadHistory=0\r\n\r\n[Page.1]\r\nA=こんにちは\r\nB=\r\n",
                        0),
              0u)
        << set;
    EXPECT_NE(set.find("\r\n[Page.2]\r\nA=\r\nB=\r\nC=二頁目\r\nD=\r\n"), std::string::npos);
    EXPECT_NE(set.find("\r\n[Page.3]\r\nA=\r\n"), std::string::npos);
    EXPECT_EQ(ListLine(sets, static_cast<int>(SendMessageA(sets, LB_GETCURSEL, 0, 0))),
              "クリップボード設定1");

    // Switched to through the chooser, it is in use at once; cancelling the settings keeps it.
    ClickButton(FindControl(settings, IDC_BUTTON21));
    HWND chooser = open("クリップボード履歴選択");
    ASSERT_NE(chooser, nullptr);
    HWND choices = GetDlgItem(chooser, IDC_CHOOSER_LISTBOX1);
    const LRESULT line = SendMessageA(choices, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>("クリップボード設定1"));
    ASSERT_GT(line, 0);
    SendMessageA(choices, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    PostMessageA(chooser, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(closed(chooser));
    PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(closed(settings));
    EXPECT_EQ(Paste(target, {'A'}), L"こんにちは");
    EXPECT_EQ(Paste(target, {'2', 'C'}), L"二頁目");
    // Copies go into B to D only, the newest at B.
    Copy(L"一つ目");
    Copy(L"二つ目");
    EXPECT_EQ(Paste(target, {'B'}), L"二つ目");
    EXPECT_EQ(Paste(target, {'C'}), L"一つ目");
    EXPECT_EQ(Paste(target, {'A'}), L"こんにちは");

    // The blank entry edits only the saved history's load switch.
    PostMessageA(Form(), WM_COMMAND, 102, 0);
    settings = open("詳細設定");
    ASSERT_NE(settings, nullptr);
    sets = FindControl(settings, IDC_LISTBOX3);
    ChooseInList(sets, 0);
    ClickButton(FindControl(settings, IDC_BUTTON17));
    editor = open("クリップボード登録");
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(editor, IDC_EDITOR_STRINGGRID1)));
    SendMessageA(GetDlgItem(editor, IDC_EDITOR_CHECKBOX2), BM_CLICK, 0, 0);
    PostMessageA(editor, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(closed(editor));
    std::string expected = history;
    expected.replace(expected.find("LoadHistory=1"), 13, "LoadHistory=0");
    EXPECT_EQ(Folder.Read("CHistory.ini"), expected);

    // Deleting the set, the last line: its file goes and the line above it is selected.
    ChooseInList(sets, 1);
    ClickButton(FindControl(settings, IDC_BUTTON18));
    const HWND question = Mirto->WaitMessageBox();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(MessageBoxText(question),
              "クリップボード設定1\nこの設定ファイルを削除してよろしいですか？");
    CloseMessageBox(question, IDYES);
    EXPECT_TRUE(WaitFor([&] { return !Folder.Exists("Cliplist\\CName001.ini"); }));
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(sets, LB_GETCOUNT, 0, 0) == 1; }));
    EXPECT_EQ(SendMessageA(sets, LB_GETCURSEL, 0, 0), 0);
    PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(closed(settings));
}

TEST_F(ClipboardMenu, TheLineChosenPastesWhatTheMenuShowedThoughAnotherProgramCopiedMeanwhile) {
    StartWithSettings(IniText({"[Clipboard]", "SaveHistory=0"}));
    TTarget target("Target64.exe");
    ASSERT_NE(target.Handle(), nullptr);
    Copy(L"一つ目");
    Copy(L"二つ目");
    Copy(L"三つ目");

    // The menu shows 三つ目, 二つ目, 一つ目 on A to C; a copy arrives, then the user chooses C.
    // What arrives is the line's text alone: no other line's, and not the letter.
    EXPECT_EQ(Paste(target, {'C'}, [&] { Copy(L"割り込み"); }), L"一つ目");
    // The chosen line moved to the top; the copy that arrived meanwhile is in the history.
    EXPECT_EQ(Paste(target, {'A'}), L"一つ目");
    EXPECT_EQ(Paste(target, {'B'}), L"割り込み");
    EXPECT_EQ(Paste(target, {'C'}), L"三つ目");
    EXPECT_EQ(Paste(target, {'D'}), L"二つ目");
}

TEST_F(ClipboardMenu, TheHistoryFileTakesBusyCopiesKeepsItsLoadSwitchAndAFailedWriteIsReported) {
    // The user turned the saved history's load switch off: it is not loaded, and stays off.
    ASSERT_TRUE(Folder.Write(
        "CHistory.ini", IniText({"[Basic]", "Title=Clipboard History", "History=1", "Top=-1",
                                 "Bottom=-1", "LoadHistory=0", "", "[Page.1]", "A=前回の履歴"})));
    StartWithSettings(IniText({"[Clipboard]", "SaveHistory=1"}));
    const std::string path = Folder.FilePath("CHistory.ini");
    // The file is read only when its size or time changed: the test's own reads would otherwise
    // make the program's replacement of the file fail now and then (the system refuses to
    // replace a file that is open), which the reader case below makes on purpose.
    WIN32_FILE_ATTRIBUTE_DATA lastSeen{};
    std::string contents;
    const auto saved = [&](const std::string& lines) {
        return WaitFor([&] {
            WIN32_FILE_ATTRIBUTE_DATA now{};
            if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &now) &&
                (now.nFileSizeLow != lastSeen.nFileSizeLow ||
                 CompareFileTime(&now.ftLastWriteTime, &lastSeen.ftLastWriteTime) != 0)) {
                lastSeen = now;
                contents = Folder.Read("CHistory.ini");
            }
            return contents.find(lines) != std::string::npos;
        });
    };

    // A copy whose program holds the clipboard open for half a second is not lost (when Mirto
    // read the first copies before the clipboard was held, they were numbered and kept too).
    const int held = CopyAndHoldOpen(L"待たされたコピー", 500);
    ASSERT_GE(held, 0);
    const std::string first = "待たされたコピー" + (held ? std::to_string(held) : "");
    ASSERT_TRUE(saved("\r\n[Page.1]\r\nA=" + first + "\r\n")) << contents;
    EXPECT_NE(contents.find("\r\nLoadHistory=0\r\n"), std::string::npos);

    // Another program reading the file as its write comes (the timer's turn, given at once)
    // costs a moment: the write is tried again without a further change, and nobody is told.
    DWORD_PTR answer = 0;
    {
        const HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(reader, INVALID_HANDLE_VALUE);
        Copy(L"読まれている間のコピー");
        EXPECT_TRUE(SendMessageTimeoutA(Form(), WM_TIMER, 4, 0, SMTO_NORMAL, 5000, &answer))
            << "a message box holds the program";
        CloseHandle(reader);
    }
    EXPECT_TRUE(saved("\r\nA=読まれている間のコピー\r\nB=" + first + "\r\n")) << contents;
    EXPECT_EQ(Mirto->MessageBoxWindow(), nullptr) << "told of a moment's reader";

    // A file that cannot be written is reported once, with its name and the system's reason,
    // when the write tried again a little later fails too.
    TReadOnlyFile readOnly(path);
    Copy(L"書けない間のコピー");
    HWND box = Mirto->WaitMessageBox();
    ASSERT_NE(box, nullptr) << "nobody was told";
    const std::string head = "ファイル \"" + path + "\" に書き込めません。";
    const std::string told = MessageBoxText(box);
    EXPECT_EQ(told.rfind(head, 0), 0u) << told;
    EXPECT_GT(told.find("\n\nクリップボードの履歴を保存できませんでした。"), head.size())
        << "no reason given: " << told;
    CloseMessageBox(box);
    ASSERT_TRUE(WaitFor([&] { return Mirto->MessageBoxWindow() == nullptr; }));
    // The next timed write fails too (its timer's turn, given at once), and tells nobody again.
    Copy(L"二つ目");
    SendMessageTimeoutA(Form(), WM_TIMER, 4, 0, SMTO_NORMAL, DefaultTimeout, &answer);
    EXPECT_EQ(Mirto->MessageBoxWindow(), nullptr) << "told twice";

    // Writable again, the next try writes the whole history kept meanwhile, and so does the
    // next change.
    ASSERT_TRUE(readOnly.Set(false));
    SendMessageTimeoutA(Form(), WM_TIMER, 4, 0, SMTO_NORMAL, DefaultTimeout, &answer);
    EXPECT_TRUE(saved(
        "\r\nA=二つ目\r\nB=書けない間のコピー\r\nC=読まれている間のコピー\r\nD=" + first + "\r\n"))
        << contents;
    Copy(L"三つ目");
    EXPECT_TRUE(saved("\r\nA=三つ目\r\nB=二つ目\r\n")) << contents;
    EXPECT_EQ(Mirto->MessageBoxWindow(), nullptr);

    // Lost at the end, the history is reported at the end.
    ASSERT_TRUE(readOnly.Set(true));
    Copy(L"最後のコピー");
    PostMessageA(Form(), WM_CLOSE, 0, 0);
    box = Mirto->WaitMessageBox();
    ASSERT_NE(box, nullptr) << "nobody was told at the end";
    EXPECT_EQ(MessageBoxText(box).rfind(head, 0), 0u) << MessageBoxText(box);
    CloseMessageBox(box);
    EXPECT_TRUE(Mirto->WaitExit());
    EXPECT_EQ(Folder.Read("CHistory.ini").find("最後のコピー"), std::string::npos);
    EXPECT_NE(Folder.Read("CHistory.ini").find("\r\nLoadHistory=0\r\n"), std::string::npos);
}
