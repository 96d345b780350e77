// The clipboard menu: texts copied in other programs appear on it, the chosen one is pasted into
// the application that was active, and the history survives the end of the program.
#include <windows.h>

#include <functional>
#include <string>

#include "E2eFixture.h"
#include "clipboard/Unit4Ids.h"
#include "dialogs/TabClipboardIds.h"
#include "dialogs/Unit5Ids.h"

namespace {

class ClipboardMenu : public MirtoTest {
protected:
    TClipboardListener Listener;

    // Puts a Unicode text on the clipboard as another program does and lets the program take
    // the change; Copied does the same for whatever put puts there (a picture, say).
    void Copy(const std::wstring& text, UINT extraFormat = 0) {
        Copied([&] { return PutClipboardText(text, extraFormat); });
    }
    void Copied(const std::function<bool()>& put) {
        const LONG_PTR seen = Listener.Updates();
        ASSERT_TRUE(put()) << "cannot put it on the clipboard";
        ASSERT_TRUE(Listener.WaitChangeTaken(seen, Form())) << "the program was not told";
    }

    // Holds Shift + Alt in the application until the menu has the keyboard.
    void OpenMenu(const TTarget& target) {
        EXPECT_TRUE(HoldUntilMenu(Form(), VK_SHIFT, VK_MENU, [&] {
            WaitFor([&] { return GetTickCount64() - HiddenAt >= KeyReadingExpiry; });
            EXPECT_TRUE(target.Focus());
        })) << "the clipboard menu did not take the keyboard";
    }
    // Presses keys one after another at a quick typist's pace. Under Wine a key that follows
    // the one before within a millisecond, while the menu is still taking that one, is at times
    // never delivered to any window.
    static constexpr DWORD TypingPause = 100;
    void Press(std::initializer_list<WORD> keys) {
        for (WORD key : keys) {
            KeyDown(key);
            KeyUp(key);
            Sleep(TypingPause);
        }
    }

    // Opens the menu, presses the keys (a page digit, a letter, a menu key), then releases Alt
    // while Shift is still held, which hides the menu and pastes; returns what arrived in the
    // application.
    std::wstring Paste(const TTarget& target, std::initializer_list<WORD> keys) {
        target.SetText(L"");
        OpenMenu(target);
        Press(keys);
        KeyUp(VK_MENU);
        EXPECT_TRUE(WaitFor([&] { return !MenuVisible(); }));
        WaitFor([&] { return !target.Text().empty(); }, 5000);
        KeyUp(VK_SHIFT);
        HiddenAt = GetTickCount64();
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
        HiddenAt = GetTickCount64();
        return question;
    }

    ULONGLONG HiddenAt = 0;
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
    EXPECT_EQ(Paste(target, {'3', 'B'}), L"敬具");
    EXPECT_EQ(Paste(target, {'2', 'A'}), L"最初の履歴");
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
    EXPECT_EQ(ControlText(GetDlgItem(editor, IDC_FORM4_EDIT1)), "クリップボード設定1");
    EXPECT_EQ(ControlText(GetDlgItem(editor, IDC_FORM4_EDIT2)), "CName001");
    // Page 1, A and page 2, C typed; the history window from page 1, B to page 1, D.
    HWND grid = GetDlgItem(editor, IDC_FORM4_STRINGGRID1);
    const auto type = [&](int row, const char* text) {
        ASSERT_TRUE(SelectListViewItem(Mirto->ProcessHandle(), grid, row - 1));
        SetControlText(GetDlgItem(editor, IDC_FORM4_MEMO1), text);
        tell(editor, IDC_FORM4_MEMO1, EN_KILLFOCUS);
    };
    type(1, "こんにちは");
    ChooseInCombo(GetDlgItem(editor, IDC_FORM4_COMBOBOX1), 1);
    type(3, "二頁目");
    SendMessageA(GetDlgItem(editor, IDC_FORM4_CHECKBOX1), BM_CLICK, 0, 0);
    for (const auto& [id, position] : {std::pair{IDC_FORM4_COMBOBOX2, 0},
                                       {IDC_FORM4_COMBOBOX3, 1},
                                       {IDC_FORM4_COMBOBOX4, 0},
                                       {IDC_FORM4_COMBOBOX5, 3}})
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
    HWND choices = GetDlgItem(chooser, IDC_FORM5_LISTBOX1);
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
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(editor, IDC_FORM4_STRINGGRID1)));
    SendMessageA(GetDlgItem(editor, IDC_FORM4_CHECKBOX2), BM_CLICK, 0, 0);
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
