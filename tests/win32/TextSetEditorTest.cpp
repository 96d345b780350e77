#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <string>

#include "DialogDriver.h"
#include "dialogs/TabClipboardIds.h"
#include "dialogs/SettingsDialog.h"
#include "dialogs/SettingsDialogIds.h"
#include "dialogs/TextSetEditor.h"
#include "dialogs/TextSetEditorIds.h"
#include "dialogs/TextSetChooserIds.h"
#include "system/Win32Platform.h"

// The text-set editor driven as a user would (texts typed on two pages, an entry copied over
// another, two pages exchanged, a history window entered backwards, a refused write), the blank
// entry that edits only the saved history's load switch, and the clipboard page with its new,
// delete, switch and the confirmation's check. The files are compared with their expected bytes.

namespace {

class TextSetEditor : public ::testing::Test {
protected:
    void SetUp() override { SetPlatform(&Win32); }
    void TearDown() override { SetPlatform(nullptr); }
    TWin32Platform Win32;
    TTestFolder Folder{"MirtoTextSets"};
};

std::string ReadFileBytes(const std::string& path) {
    std::string bytes;
    TWin32Platform().ReadWholeFile(path, bytes);
    return bytes;
}

// A set's expected text: [Basic] as given, then every page with its 26 letters, the texts given
// by position.
std::string SetText(const std::string& basic, const std::map<int, std::string>& texts) {
    std::string text = basic;
    for (int page = 0; page < 3; ++page) {
        text += "\r\n[Page." + std::to_string(page + 1) + "]\r\n";
        for (int key = 0; key < 26; ++key) {
            const auto found = texts.find(page * 26 + key);
            text += std::string(1, static_cast<char>('A' + key)) + "=" +
                    (found == texts.end() ? "" : found->second) + "\r\n";
        }
    }
    return text;
}

// Answers the next message box with the button and returns its text.
std::string Answer(int button) {
    HWND box = WaitForDialog("てんみ");
    if (!box) return "(no message box)";
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    PostMessageA(box, WM_COMMAND, button, 0);
    WaitFor([&] { return !IsWindow(box); });
    return text;
}

void Notify(HWND dialog, int id, int code) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Choose(HWND dialog, int list, int index) {
    SendDlgItemMessageA(dialog, list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(dialog, list, CBN_SELCHANGE);
}

void SelectRow(HWND dialog, int row) {
    HWND grid = GetDlgItem(dialog, IDC_EDITOR_STRINGGRID1);
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(grid, LVM_SETITEMSTATE, static_cast<WPARAM>(row - 1),
                 reinterpret_cast<LPARAM>(&state));
}

void TypeText(HWND dialog, int row, const char* text) {
    SelectRow(dialog, row);
    SetDlgItemTextA(dialog, IDC_EDITOR_MEMO1, text);
    Notify(dialog, IDC_EDITOR_MEMO1, EN_KILLFOCUS);
}

// Opens a popup menu with the button, lets inspect read the menu as it shows, and closes it
// unchosen; false when no menu showed.
template <class Inspect> bool OpenMenu(HWND dialog, int button, Inspect inspect) {
    PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    HWND shown = nullptr;
    WaitFor([&] {
        shown = FindWindowA("#32768", nullptr);
        return shown && IsWindowVisible(shown);
    });
    if (!shown) return false;
    inspect(reinterpret_cast<HMENU>(SendMessageA(shown, MN_GETHMENU, 0, 0)));
    PostMessageA(shown, WM_CANCELMODE, 0, 0);
    return WaitFor([&] { return !IsWindowVisible(shown); });
}

std::string ItemCaption(HMENU menu, int index) {
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(index), text, sizeof text, MF_BYPOSITION);
    return text;
}

bool ItemGrayed(HMENU menu, int index) {
    return (GetMenuState(menu, static_cast<UINT>(index), MF_BYPOSITION) & MF_GRAYED) != 0;
}

} // namespace

TEST_F(TextSetEditor, EditsTwoPagesCopiesExchangesAndWritesTheNormalisedWindow) {
    TTextSetEditorData data;
    data.Folder = Folder.Path() + "\\";
    data.Title = "挨拶";
    data.FileName = "CName001";
    data.Window = {0, 0, 2, 25};
    data.Texts[27] = "beta";
    const std::string path = Folder / "CName001.ini";
    ASSERT_TRUE(WriteTextFile(path, "old"));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);

    TModalRun run([&] { return static_cast<int>(TTextSetEditor(data).Execute(nullptr)); });
    HWND dialog = WaitForDialog("クリップボード登録");
    ASSERT_NE(dialog, nullptr);
    RECT bounds{};
    GetWindowRect(dialog, &bounds);
    EXPECT_GE(bounds.right - bounds.left, 480);
    EXPECT_GE(bounds.bottom - bounds.top, 448);

    TypeText(dialog, 1, "alpha");
    TypeText(dialog, 3, "line1\r\nline2");
    SelectRow(dialog, 2);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_EDITOR_BUTTON6))) << "copy of a blank";
    SelectRow(dialog, 1);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_EDITOR_BUTTON6)));

    // A copies over page 2's B after the question.
    ASSERT_TRUE(OpenMenu(dialog, IDC_EDITOR_BUTTON6, [](HMENU entries) {
        EXPECT_EQ(ItemCaption(entries, 0), "削除");
        EXPECT_EQ(ItemCaption(entries, 2), "-> Page 1.");
        EXPECT_TRUE(ItemGrayed(GetSubMenu(entries, 2), 0)) << "A onto itself";
        EXPECT_FALSE(ItemGrayed(GetSubMenu(entries, 3), 0));
        EXPECT_EQ(ItemCaption(GetSubMenu(entries, 2), 2), "C: line1 line2");
        EXPECT_EQ(ItemCaption(GetSubMenu(entries, 3), 1), "B: beta");
    }));
    PostMessageA(dialog, WM_COMMAND, IDM_EDITOR_ENTRY_FIRST + 27, 0);
    EXPECT_EQ(Answer(IDYES), "キー 'B'には以下のテキストが登録されています。\n\n　beta\n\n"
                             "このデータに上書きしてもよろしいでしょうか？");

    // Pages 1 and 3 exchanged.
    ASSERT_TRUE(OpenMenu(dialog, IDC_EDITOR_BUTTON4, [](HMENU pages) {
        EXPECT_TRUE(ItemGrayed(pages, 0));
        EXPECT_FALSE(ItemGrayed(pages, 2));
    }));
    SendMessageA(dialog, WM_COMMAND, IDM_EDITOR_PAGE_FIRST + 2, 0);
    Choose(dialog, IDC_EDITOR_COMBOBOX1, 2);
    SelectRow(dialog, 3);
    EXPECT_EQ(ControlText(dialog, IDC_EDITOR_MEMO1), "line1\r\nline2");

    // The window entered from page 2, key C back to page 1, key Z.
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_EDITOR_COMBOBOX2)));
    Click(dialog, IDC_EDITOR_CHECKBOX1);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_EDITOR_COMBOBOX2)));
    Choose(dialog, IDC_EDITOR_COMBOBOX2, 1);
    Choose(dialog, IDC_EDITOR_COMBOBOX3, 2);
    Choose(dialog, IDC_EDITOR_COMBOBOX4, 0);
    Choose(dialog, IDC_EDITOR_COMBOBOX5, 25);

    // A new set's name that an existing file has: asked first, and No keeps the file.
    const char* const replace =
        "ファイル \"CName001.ini\" は既にあります。\n上書きしてもよろしいでしょうか？";
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(Answer(IDNO), replace);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(ReadFileBytes(path), "old");
    // A file that cannot be replaced: the message, the dialog open, the old file whole.
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(Answer(IDYES), replace);
    EXPECT_NE(Answer(IDOK).find("CName001.ini"), std::string::npos);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(ReadFileBytes(path), "old");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(Answer(IDYES), replace);
    ASSERT_EQ(run.Result(), IDOK);
    EXPECT_EQ(ReadFileBytes(path),
              SetText("[Basic]\r\nTitle=挨拶\r\nHistory=1\r\nTop=25\r\nBottom=28\r\n"
                      "LoadHistory=0\r\n",
                      {{27, "alpha"}, {52, "alpha"}, {54, "line1\\r\\nline2"}}));
    EXPECT_EQ(data.Window, (TWindowFields{0, 25, 1, 2}));
}

TEST_F(TextSetEditor, TheBlankEntryRewritesOnlyTheLoadSwitch) {
    const std::string entries = "\r\n[Page.1]\r\nA=saved\\r\\ntext\r\nB=\" two \"\r\nC=\r\n";
    const std::string basic = "[Basic]\r\nTitle=Clipboard History\r\nHistory=1\r\nTop=-1\r\n"
                              "Bottom=-1\r\n";
    const std::string path = Folder / "CHistory.ini";
    ASSERT_TRUE(WriteTextFile(path, basic + "LoadHistory=1\r\n" + entries));

    TTextSetEditorData data;
    data.Folder = Folder.Path() + "\\";
    data.Title = "Clipboard History";
    data.FileName = "CHistory";
    data.BlankEntry = true;
    data.LoadHistory = true;
    TModalRun run([&] { return static_cast<int>(TTextSetEditor(data).Execute(nullptr)); });
    HWND dialog = WaitForDialog("クリップボード登録");
    ASSERT_NE(dialog, nullptr);
    for (int id : {IDC_EDITOR_EDIT1, IDC_EDITOR_STRINGGRID1, IDC_EDITOR_MEMO1, IDC_EDITOR_BUTTON3,
                   IDC_EDITOR_CHECKBOX1, IDC_EDITOR_COMBOBOX5})
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, id))) << id;
    EXPECT_TRUE(Checked(dialog, IDC_EDITOR_CHECKBOX1));
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_EDITOR_COMBOBOX5, CB_GETCURSEL, 0, 0), 25);
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_EDITOR_CHECKBOX2)));
    Click(dialog, IDC_EDITOR_CHECKBOX2);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(run.Result(), IDOK);
    EXPECT_EQ(ReadFileBytes(path), basic + "LoadHistory=0\r\n" + entries);
}

TEST_F(TextSetEditor, ClipboardPageCreatesDeletesSwitchesAndRequiresASelection) {
    const std::string sets = Folder / "Cliplist";
    CreateDirectoryA(sets.c_str(), nullptr);
    ASSERT_TRUE(WriteTextFile(sets + "\\CName001.ini", "[Basic]\r\nTitle=クリップボード設定1\r\n"));
    ASSERT_TRUE(WriteTextFile(sets + "\\work.ini", "[Basic]\r\nTitle=仕事\r\n"));

    TSettingsDialogData data;
    data.ProgramFolder = Folder.Path() + "\\";
    data.Settings.LoadFile = "WORK.ini";
    data.Settings.CurrentFile = "CName001.ini";
    std::string switched = "(none)";
    data.SwitchTextSet = [&](const std::string& file) { switched = file; };
    TSettingsDialog frame(data);
    TModalRun run([&] { return static_cast<int>(frame.Execute(nullptr, 6, 0, 0, 460, 452)); });
    HWND settings = WaitForDialog("詳細設定");
    ASSERT_NE(settings, nullptr);
    HWND list = FindWindowExA(settings, nullptr, "#32770", nullptr);
    while (list && !GetDlgItem(list, IDC_LISTBOX3))
        list = FindWindowExA(settings, list, "#32770", nullptr);
    ASSERT_NE(list, nullptr);
    HWND page = list;
    auto selectedText = [&] {
        char text[256] = {};
        const LRESULT line = SendDlgItemMessageA(page, IDC_LISTBOX3, LB_GETCURSEL, 0, 0);
        SendDlgItemMessageA(page, IDC_LISTBOX3, LB_GETTEXT, line, reinterpret_cast<LPARAM>(text));
        return std::string(text);
    };
    EXPECT_EQ(SendDlgItemMessageA(page, IDC_LISTBOX3, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(selectedText(), "仕事") << "the set loaded at start";

    // A new set: the next free title and file name.
    PostMessageA(GetDlgItem(page, IDC_BUTTON16), BM_CLICK, 0, 0);
    HWND editor = WaitForDialog("クリップボード登録");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(ControlText(editor, IDC_EDITOR_EDIT1), "クリップボード設定2");
    EXPECT_EQ(ControlText(editor, IDC_EDITOR_EDIT2), "CName002");
    PostMessageA(editor, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(editor); }));
    EXPECT_EQ(SendDlgItemMessageA(page, IDC_LISTBOX3, LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(selectedText(), "クリップボード設定2");

    // Deleted after the question: the line below it, or the new last line, is selected.
    const LRESULT deleted = SendDlgItemMessageA(page, IDC_LISTBOX3, LB_GETCURSEL, 0, 0);
    PostMessageA(GetDlgItem(page, IDC_BUTTON18), BM_CLICK, 0, 0);
    EXPECT_EQ(Answer(IDYES), "クリップボード設定2\nこの設定ファイルを削除してよろしいですか？");
    WaitFor([&] { return SendDlgItemMessageA(page, IDC_LISTBOX3, LB_GETCOUNT, 0, 0) == 3; });
    EXPECT_EQ(GetFileAttributesA((sets + "\\CName002.ini").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(SendDlgItemMessageA(page, IDC_LISTBOX3, LB_GETCURSEL, 0, 0),
              std::min<LRESULT>(deleted, 2));

    // Line 0, the blank set, cannot be deleted: its button is off, and a click that reaches the
    // page all the same asks nothing and deletes nothing.
    HWND sets0 = GetDlgItem(page, IDC_LISTBOX3);
    SendMessageA(sets0, LB_SETCURSEL, 0, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_LISTBOX3, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(sets0));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_BUTTON18)));
    DWORD_PTR ignored = 0;
    EXPECT_NE(SendMessageTimeoutA(page, WM_COMMAND, MAKEWPARAM(IDC_BUTTON18, BN_CLICKED), 0,
                                  SMTO_NORMAL, 5000, &ignored),
              0)
        << "deleting the blank set asked " << Answer(IDNO);
    EXPECT_EQ(SendMessageA(sets0, LB_GETCOUNT, 0, 0), 3);

    // Editing the set in use reloads it at once; editing another set does not.
    for (const char* title : {"仕事", "クリップボード設定1"}) {
        switched = "(none)";
        SendMessageA(sets0, LB_SETCURSEL,
                     SendMessageA(sets0, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(title)),
                     0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_LISTBOX3, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(sets0));
        PostMessageA(GetDlgItem(page, IDC_BUTTON17), BM_CLICK, 0, 0);
        HWND edited = WaitForDialog("クリップボード登録");
        ASSERT_NE(edited, nullptr) << title;
        PostMessageA(edited, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(edited); })) << title;
        EXPECT_EQ(switched, std::string(title) == "仕事" ? "(none)" : "CName001.ini") << title;
    }

    // The set in use switched at once through the chooser, the current set selected in it.
    PostMessageA(GetDlgItem(page, IDC_BUTTON21), BM_CLICK, 0, 0);
    HWND chooser = WaitForDialog("クリップボード履歴選択");
    ASSERT_NE(chooser, nullptr);
    RECT r{};
    GetWindowRect(chooser, &r);
    EXPECT_EQ(r.right - r.left, 320);
    EXPECT_EQ(r.bottom - r.top, 400);
    char current[256] = {};
    SendDlgItemMessageA(chooser, IDC_CHOOSER_LISTBOX1, LB_GETTEXT,
                        SendDlgItemMessageA(chooser, IDC_CHOOSER_LISTBOX1, LB_GETCURSEL, 0, 0),
                        reinterpret_cast<LPARAM>(current));
    EXPECT_STREQ(current, "クリップボード設定1");
    SendDlgItemMessageA(chooser, IDC_CHOOSER_LISTBOX1, LB_SETCURSEL, 0, 0);
    PostMessageA(chooser, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(chooser); }));
    EXPECT_EQ(switched, "");

    // No line selected: the confirmation stops on this page.
    SendDlgItemMessageA(page, IDC_LISTBOX3, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageA(GetDlgItem(settings, IDC_PAGECONTROL1), TCM_SETCURSEL, 0, 0);
    PostMessageA(settings, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(Answer(IDOK), "クリップボード履歴用ファイルが指定されていません。");
    EXPECT_TRUE(IsWindowVisible(settings));
    EXPECT_EQ(SendDlgItemMessageA(settings, IDC_PAGECONTROL1, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(IsWindowVisible(page));

    SendDlgItemMessageA(page, IDC_LISTBOX3, LB_SETCURSEL, 1, 0);
    const std::string chosen = selectedText();
    PostMessageA(settings, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(run.Result(), IDOK);
    EXPECT_EQ(data.Settings.Startup, 1);
    EXPECT_EQ(data.Settings.LoadFile, chosen == "仕事" ? "work.ini" : "CName001.ini");
    EXPECT_EQ(data.Settings.CurrentFile, "");
}
