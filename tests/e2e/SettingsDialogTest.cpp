// The settings dialog as the user reaches it: from the tray menu's items and a second start, one
// dialog at most, what its buttons do to the program and to "Mirto.ini", the key pages: their
// lists and switches, and an OK that refuses clashing keys; the registration page edited by
// typing, by the key and page menus and by a link dropped from another program.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cctype>
#include <string>
#include <utility>

#include "E2eFixture.h"
#include "LaunchHarness.h"
#include "dialogs/TabAppearanceIds.h"
#include "dialogs/TabClipboardIds.h"
#include "dialogs/TabKeysIds.h"
#include "dialogs/SettingsDialogIds.h"
#include "dialogs/LinkChoiceDialogIds.h"
#include "system/ShellLink.h"

namespace {

// The tray menu's commands, and identifiers of the dialog's controls.
constexpr WPARAM KeyConfigCommand = 101, ClipboardCommand = 102, CallKeyCommand = 103, FontSettingCommand = 105,
                 BackgroundCommand = 106, VersionCommand = 110;
constexpr int PageControl = 2001, QuitButton = 2003, VersionLabel = 2805, SystemLabel = 2815;
// Tabs in their order: ランチャ 0, クリップボード 1, メニュー 2, ウィンドウ操作 3, フォント 4,
// 背景 5, 表示位置 6, バージョン情報 7.
constexpr LRESULT LauncherTab = 0, ClipboardTab = 1, MenuTab = 2, WindowTab = 3, FontTab = 4, BackgroundTab = 5,
                  VersionTab = 7;

class SettingsDialog : public MirtoTest {
protected:
    // A settings file as a user might keep it: one entry, nothing else.
    const std::string Settings =
        IniText({"[Page.1-A]", "Name=one", "Path=C:\\windows\\notepad.exe"});

    HWND Dialog() const { return Mirto->VisibleDialog("詳細設定"); }
    int DialogCount() const {
        int count = 0;
        for (HWND window : Mirto->Windows("#32770"))
            if (window == Dialog()) ++count;
        return count;
    }
    LRESULT Tab() const {
        return SendMessageA(GetDlgItem(Dialog(), PageControl), TCM_GETCURSEL, 0, 0);
    }
    // Asks the program with a tray command and waits until the dialog shows the tab.
    bool Ask(WPARAM command, LRESULT tab) const {
        PostMessageA(Form(), WM_COMMAND, command, 0);
        return WaitFor([&] { return Dialog() != nullptr && Tab() == tab; });
    }
    // A control on one of the dialog's pages, its text, a list's choice.
    HWND Control(int id) const { return FindControl(Dialog(), id); }
    std::string Text(int id) const { return ControlText(Control(id)); }
    void SetText(int id, const char* text) const { SetControlText(Control(id), text); }
    void Choose(int id, int position) const { ChooseInCombo(Control(id), position); }
    LRESULT Selected(int id) const { return SendMessageA(Control(id), CB_GETCURSEL, 0, 0); }
    LRESULT Entries(int id) const { return SendMessageA(Control(id), CB_GETCOUNT, 0, 0); }
    // The window with the keyboard focus in the program's dialog thread.
    HWND Focused() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(Dialog(), nullptr), &info);
        return info.hwndFocus;
    }
    // OK refused with the message: afterwards the dialog shows the tab, focus on the control.
    void ExpectRefused(const char* message, LRESULT tab, int control) const {
        PostMessageA(Dialog(), WM_COMMAND, IDOK, 0);
        const HWND box = Mirto->WaitMessageBox();
        ASSERT_NE(box, nullptr) << "OK was not refused: " << message;
        EXPECT_EQ(MessageBoxText(box), message);
        CloseMessageBox(box);
        EXPECT_TRUE(WaitFor([&] { return Tab() == tab && Focused() == Control(control); }))
            << "tab " << Tab() << ", focus on " << GetDlgCtrlID(Focused());
        EXPECT_NE(Dialog(), nullptr);
    }
    // Copies a block into the program's memory, where its controls read what they are handed;
    // the caller frees it unless the program takes it.
    void* Remote(const void* data, size_t size) const {
        void* block =
            VirtualAllocEx(Mirto->ProcessHandle(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
        if (block) WriteProcessMemory(Mirto->ProcessHandle(), block, data, size, nullptr);
        return block;
    }
    // Selects a row of the registration page's grid, as a click on it does.
    void SelectRow(int row) const {
        ASSERT_TRUE(
            SelectListViewItem(Mirto->ProcessHandle(), Control(IDC_DROPCATCHGRID1), row - 1));
    }
    void Press(int id) const { ClickButton(Control(id)); }
    // Walks the program's popup menu with the keys, as a user's keyboard does.
    bool ChooseFromMenu(std::initializer_list<WORD> keys) const {
        HWND menu = nullptr;
        if (!WaitFor([&] {
                for (HWND window : Mirto->Windows("#32768"))
                    if (IsWindowVisible(window)) menu = window;
                return menu != nullptr;
            }))
            return false;
        for (WORD key : keys)
            PostMessageA(menu, WM_KEYDOWN, key, 0);
        return WaitFor([&] { return !IsWindowVisible(menu); });
    }
    std::string SettingsText() const { return ReadWholeFile(Folder.FilePath("Mirto.ini")); }
    static bool Has(const std::string& text, const char* part) {
        return text.find(part) != std::string::npos;
    }
};

} // namespace

TEST_F(SettingsDialog, OpensOnTheAskedPageOnlyOnceAndCancelKeepsTheSettingsButWritesItsSize) {
    StartWithSettings(Settings);
    ASSERT_TRUE(Ask(KeyConfigCommand, LauncherTab)) << "the registration page did not open";
    // Asked again while open, the dialog changes its page; there is still one.
    ASSERT_TRUE(Ask(FontSettingCommand, FontTab)) << "the font item did not switch the page";
    EXPECT_EQ(DialogCount(), 1);
    ASSERT_TRUE(Ask(VersionCommand, VersionTab));
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(Text(VersionLabel)[0])))
        << Text(VersionLabel);
    EXPECT_FALSE(Text(SystemLabel).empty()) << "no system name";
    // A second start while it is open brings it forward as it is.
    TMirto second(Folder);
    ASSERT_TRUE(second.WaitExit());
    EXPECT_EQ(Tab(), VersionTab);
    EXPECT_EQ(DialogCount(), 1);
    // The dialog is at least its designed size.
    const RECT rect = WindowRect(Dialog());
    EXPECT_GE(rect.right - rect.left, 460);
    EXPECT_GE(rect.bottom - rect.top, 452);

    // The user makes it larger, then cancels: the size is remembered.
    SetWindowPos(Dialog(), nullptr, 0, 0, 503, 481, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageA(Dialog(), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return Dialog() == nullptr; }));
    ASSERT_TRUE(WaitFor([&] { return Has(SettingsText(), "WindowWidth="); }))
        << "the dialog size was not written";
    const std::string text = SettingsText();
    EXPECT_TRUE(Has(text, "WindowWidth=503\r\nWindowHeight=481\r\n")) << text;
    // Only the size: the rest of the file is as the user wrote it.
    EXPECT_FALSE(Has(text, "CallLauncherMenu=")) << text;
    EXPECT_TRUE(Has(text, "Name=one"));
    EXPECT_TRUE(Mirto->Running());

    // A second start with no dialog open opens it on the registration page.
    TMirto third(Folder);
    ASSERT_TRUE(third.WaitExit());
    EXPECT_TRUE(WaitFor([&] { return Dialog() != nullptr && Tab() == LauncherTab; }));
    PostMessageA(Dialog(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return Dialog() == nullptr; }));
}

TEST_F(SettingsDialog, KeysTypedAfterARequestChangedThePageGoToThePageShown) {
    StartWithSettings(Settings);
    ASSERT_TRUE(Ask(KeyConfigCommand, LauncherTab));
    SelectRow(1);
    ASSERT_EQ(Text(IDC_MEMO3), "one");
    // The user is in the name field ("名称(&N)") when a tray item switches the page.
    ASSERT_TRUE(ActivateThroughX(Dialog()));
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == Dialog(); }));
    PressKeys({VK_MENU, 'N'});
    ASSERT_TRUE(WaitFor([&] { return Focused() == Control(IDC_MEMO3); }));
    ASSERT_TRUE(Ask(ClipboardCommand, ClipboardTab));
    EXPECT_TRUE(WaitFor([&] { return Focused() == Control(IDC_LISTBOX3); }))
        << "focus on " << GetDlgCtrlID(Focused());
    // What is typed next lands in the page shown; Enter there confirms the dialog.
    PressKeys({'Z'});
    PressKeys({'Q'});
    PressKeys({VK_RETURN});
    ASSERT_TRUE(WaitFor([&] { return Dialog() == nullptr; })) << "Enter did not confirm";
    ASSERT_TRUE(WaitFor([&] { return Has(SettingsText(), "CallLauncherMenu="); }));
    EXPECT_TRUE(Has(SettingsText(), "[Page.1-A]\r\nName=one\r\n")) << SettingsText();
}

TEST_F(SettingsDialog, ASizeStoredOnALargerScreenOpensWholeOnThisOneAndIsStoredAsShown) {
    StartWithSettings(Settings + IniText({"[Setting]", "WindowWidth=5000", "WindowHeight=4000"}));
    ASSERT_TRUE(Ask(KeyConfigCommand, LauncherTab));
    // The display has one monitor at 96 dots per inch: the dialog takes its work area's width,
    // title bar and buttons in reach. The window manager places the frame and then moves a
    // dialog as tall as the work area by its border (openbox: 1 pixel up), so the title bar is
    // judged by its middle.
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    const auto inside = [&](const RECT& r) {
        return r.left >= work.left && r.top >= work.top && r.right <= work.right &&
               r.bottom <= work.bottom;
    };
    const RECT rect = WindowRect(Dialog());
    const int titleMiddle =
        rect.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    EXPECT_TRUE(rect.left >= work.left && rect.right <= work.right && titleMiddle >= work.top &&
                titleMiddle < work.bottom)
        << rect.left << ", " << rect.top << " - " << rect.right << ", " << rect.bottom;
    for (int id : {IDOK, IDCANCEL, QuitButton})
        EXPECT_TRUE(inside(WindowRect(GetDlgItem(Dialog(), id)))) << "button " << id;
    PostMessageA(Dialog(), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return Dialog() == nullptr; }));
    const std::string shown = "WindowWidth=" + std::to_string(rect.right - rect.left) +
                              "\r\nWindowHeight=" + std::to_string(rect.bottom - rect.top) +
                              "\r\n";
    EXPECT_EQ(rect.right - rect.left, work.right - work.left);
    EXPECT_TRUE(WaitFor([&] { return Has(SettingsText(), shown.c_str()); })) << SettingsText();
}

TEST_F(SettingsDialog, OkSavesTheSettingsAndQuitAnsweredNoEndsWithoutSaving) {
    StartWithSettings(Settings);
    ASSERT_TRUE(Ask(KeyConfigCommand, LauncherTab));
    PostMessageA(Dialog(), WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return Dialog() == nullptr; }));
    // A confirmed dialog writes every setting, the entry among them, and the program goes on.
    ASSERT_TRUE(WaitFor([&] { return Has(SettingsText(), "WindowHeight=452\r\n"); }))
        << SettingsText();
    EXPECT_TRUE(Has(SettingsText(), "CallLauncherMenu="));
    EXPECT_TRUE(Has(SettingsText(), "WindowWidth=460\r\n"));
    EXPECT_TRUE(Has(SettingsText(), "Name=one"));
    EXPECT_TRUE(Mirto->Running());
    Mirto->Stop();
    ASSERT_TRUE(Mirto->WaitExit());

    StartWithSettings(Settings);
    ASSERT_TRUE(Ask(KeyConfigCommand, LauncherTab));
    PostMessageA(Dialog(), WM_COMMAND, QuitButton, 0);
    const HWND question = Mirto->WaitMessageBox();
    ASSERT_NE(question, nullptr) << "no question";
    EXPECT_EQ(MessageBoxText(question), "設定を保存しますか？");
    CloseMessageBox(question, IDNO);
    ASSERT_TRUE(Mirto->WaitExit()) << "the program did not end";
    EXPECT_EQ(Mirto->ExitCode(), 0u);
    const std::string text = SettingsText();
    EXPECT_TRUE(Has(text, "WindowWidth=")) << text;
    EXPECT_FALSE(Has(text, "CallLauncherMenu=")) << text;
}

TEST_F(SettingsDialog, KeyPagesFollowTheirListsAndOkRefusesClashingKeysWhereTheyAreChosen) {
    StartWithSettings(Settings);
    ASSERT_TRUE(Ask(CallKeyCommand, MenuTab));
    // The history's own keys are usable only while it has a call key.
    Choose(IDC_COMBOBOX3, 0);
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_COMBOBOX15)));
    EXPECT_FALSE(IsWindowEnabled(Control(IDC_COMBOBOX24)));
    // Control + Alt, the launcher's own call key, refused from another tab.
    Choose(IDC_COMBOBOX3, 2);
    EXPECT_TRUE(IsWindowEnabled(Control(IDC_COMBOBOX15)));
    SendMessageA(GetDlgItem(Dialog(), PageControl), TCM_SETCURFOCUS, VersionTab, 0);
    ASSERT_NO_FATAL_FAILURE(ExpectRefused(
        "ランチメニュー呼び出しキーと、クリップボード履歴メニュー呼び出しキーが同じです。", MenuTab,
        IDC_COMBOBOX2));
    Choose(IDC_COMBOBOX3, 3);

    // Shift leaves the keypad out of the move keys' lists; the keypad keys they held give way to
    // the arrows.
    Choose(IDC_COMBOBOX5, 5);
    EXPECT_EQ(Entries(IDC_COMBOBOX10), 48);
    const int moveKeys[] = {IDC_COMBOBOX10, IDC_COMBOBOX11, IDC_COMBOBOX12, IDC_COMBOBOX13};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Selected(moveKeys[i]), i);
    SendMessageA(Control(IDC_COMBOBOX11), CB_SETCURSEL, 0, 0);
    // Enter in a number box leaves it for "&Ok" without pressing it; leaving cleans the number.
    SetText(IDC_MEMO1, "12abc");
    SendMessageA(Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(IDC_MEMO1)), TRUE);
    PostMessageA(Control(IDC_MEMO1), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitFor([&] { return Focused() == GetDlgItem(Dialog(), IDOK); }));
    EXPECT_EQ(Text(IDC_MEMO1), "12");
    EXPECT_EQ(Mirto->MessageBoxWindow(), nullptr) << "Enter pressed OK";
    // OK cleans the number it was not left with, then refuses two equal direction keys.
    SetText(IDC_MEMO2, "7x");
    ASSERT_NO_FATAL_FAILURE(ExpectRefused("一つのタイプに同じキーを割り当てることはできません。\n"
                                          "他のキーを設定してくださいね。",
                                          WindowTab, IDC_COMBOBOX10));
    EXPECT_EQ(Text(IDC_MEMO2), "7");
    SendMessageA(Control(IDC_COMBOBOX11), CB_SETCURSEL, 1, 0);

    // A key list takes the keys that have an entry of their own: keypad keys only while the
    // modifier offers them.
    HWND maximise = Control(IDC_COMBOBOX28);
    PostMessageA(maximise, WM_KEYDOWN, VK_NUMPAD5, 0);
    EXPECT_TRUE(WaitFor([&] { return Selected(IDC_COMBOBOX28) == 53; }));
    Choose(IDC_COMBOBOX27, 5);
    EXPECT_EQ(Selected(IDC_COMBOBOX28), 40) << "the keypad key stayed without the keypad";
    PostMessageA(maximise, WM_KEYDOWN, VK_NUMPAD5, 0);
    PostMessageA(maximise, WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_TRUE(WaitFor([&] { return Selected(IDC_COMBOBOX28) != 40; }));
    EXPECT_EQ(Selected(IDC_COMBOBOX28), 41);

    PostMessageA(Dialog(), WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return Dialog() == nullptr; })) << "OK refused the mended keys";
    ASSERT_TRUE(WaitFor([&] { return Has(SettingsText(), "CallClipboardMenu="); }));
    const std::string text = SettingsText();
    EXPECT_TRUE(Has(text, "CallClipboardMenu=2\r\n")) << text;
    EXPECT_TRUE(Has(text, "[MoveWindow]\r\nMoveEnabled=1\r\nMoveKey=5\r\nValue=12\r\n"
                          "ToLeft=0\r\nToUp=1\r\nToRight=2\r\nToDown=3\r\n"))
        << text;
    EXPECT_TRUE(Has(text, "SizeKey=4\r\nValue=7\r\n")) << text;
    EXPECT_TRUE(Has(text, "MaximizationKey1=41\r\nMaximizationKey2=5\r\n")) << text;
}

TEST_F(SettingsDialog, ANewLauncherCallKeyCallsTheMenuAtOnceAndTheOldOneNoLonger) {
    StartWithSettings(Settings);
    ASSERT_TRUE(Ask(CallKeyCommand, MenuTab));
    EXPECT_EQ(Selected(IDC_COMBOBOX2), 2);
    Choose(IDC_COMBOBOX2, 1);
    PostMessageA(Dialog(), WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return Dialog() == nullptr; }));
    EXPECT_TRUE(WaitFor([&] { return Has(SettingsText(), "CallLauncherMenu=0\r\n"); }))
        << SettingsText();

    EXPECT_TRUE(HoldUntilMenu(Form(), VK_SHIFT, VK_CONTROL, [&] { FocusKeyWindow(); }))
        << "Shift + Control showed no menu";
    KeyUp(VK_CONTROL);
    KeyUp(VK_SHIFT);
    ASSERT_TRUE(WaitMenuHidden());

    FocusKeyWindow();
    KeyDown(VK_CONTROL);
    KeyDown(VK_MENU);
    EXPECT_FALSE(WaitFor([&] { return MenuVisible(); }, 3000)) << "Control + Alt still calls";
    KeyUp(VK_MENU);
    KeyUp(VK_CONTROL);
}

TEST_F(SettingsDialog, AnEntryTypedAndConfirmedIsSavedAndLaunchedFromTheMenu) {
    // The recorder stands for the program; it writes what it was started with to a file.
    const std::string recorder = Folder.FilePath("recorder.exe");
    const std::string record = Folder.FilePath("record.txt");
    ASSERT_TRUE(CopyBuiltProgram("testing\\recorder.exe", recorder));
    ASSERT_TRUE(SetEnvironmentVariableA("MIRTO_RECORD", record.c_str()));
    StartWithSettings(Settings);

    // Key B of page 1, typed as a user types: the name, the path, leaving each field.
    ASSERT_TRUE(Ask(KeyConfigCommand, LauncherTab));
    SelectRow(2);
    for (const auto& [id, text] : {std::pair{IDC_MEMO3, "記録係"}, {IDC_EDIT2, recorder.c_str()}}) {
        SetText(id, text);
        SendMessageA(GetParent(Control(id)), WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS),
                     reinterpret_cast<LPARAM>(Control(id)));
    }
    PostMessageA(Dialog(), WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return Dialog() == nullptr; }));
    ASSERT_TRUE(WaitFor([&] { return Has(SettingsText(), "Name=記録係\r\n"); })) << SettingsText();
    EXPECT_TRUE(Has(SettingsText(), "Name=one\r\n")) << "key A was lost";

    // B chosen in the menu and the keys released: the new entry starts.
    ASSERT_TRUE(HoldUntilMenu(Form(), VK_CONTROL, VK_MENU, [&] { FocusKeyWindow(); }));
    PressKeys({'B'});
    KeyUp(VK_MENU);
    KeyUp(VK_CONTROL);
    EXPECT_TRUE(WaitFor([&] {
        return GetFileAttributesA(record.c_str()) != INVALID_FILE_ATTRIBUTES;
    })) << "the new entry did not start";
    EXPECT_TRUE(EndProcessesIn(Folder.Path(), Mirto->ProcessId()));
    SetEnvironmentVariableA("MIRTO_RECORD", nullptr);
}

TEST_F(SettingsDialog, ADroppedLinkAndTheKeyAndPageMenusEditTheTableThatOkSaves) {
    const std::string tool = Folder.FilePath("my.tool.exe");
    ASSERT_TRUE(Folder.Write("my.tool.exe", "MZ"));
    TLinkData link;
    link.Path = tool;
    link.Arguments = "-x 1";
    link.WorkDir = Folder.Path();
    link.ShowCmd = SW_SHOWMAXIMIZED;
    ASSERT_TRUE(WriteShellLink(Folder.FilePath("tool.lnk"), link));
    StartWithSettings(IniText({"[Page.1-A]", "Name=one", "Path=C:\\windows\\notepad.exe",
                               "[Page.1-B]", "Name=two", "Path=C:\\windows\\regedit.exe"}));
    ASSERT_TRUE(Ask(KeyConfigCommand, LauncherTab));

    // A's key menu: exchange with B of page 1 (the page's submenu, then its second key).
    SelectRow(1);
    Press(IDC_BUTTON_EXCHANGEKEY);
    ASSERT_TRUE(ChooseFromMenu({VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}))
        << "the key menu did not close";
    EXPECT_TRUE(WaitFor([&] { return Text(IDC_MEMO3) == "two"; })) << Text(IDC_MEMO3);
    // The page menu: page 1 copied to page 3, which is empty and asks nothing.
    Press(IDC_BUTTON_COPYPAGE);
    ASSERT_TRUE(ChooseFromMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
    EXPECT_EQ(Mirto->MessageBoxWindow(), nullptr);

    // The link dropped from another program with the pointer off the grid: the selected row D
    // takes what it points at, after the link dialog's second choice.
    SelectRow(4);
    SetCursorPos(0, 0);
    const std::string name = Folder.FilePath("tool.lnk");
    std::string block(sizeof(DROPFILES), '\0');
    auto* drop = reinterpret_cast<DROPFILES*>(block.data());
    drop->pFiles = sizeof(DROPFILES);
    block += name + std::string(2, '\0');
    void* remote = Remote(block.data(), block.size());
    ASSERT_NE(remote, nullptr);
    PostMessageA(Control(IDC_DROPCATCHGRID1), WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (question = Mirto->VisibleDialog("登録確認")) != nullptr; }))
        << "no link dialog";
    PostMessageA(GetDlgItem(question, IDC_LINKCHOICE_RADIOBUTTON2), BM_CLICK, 0, 0);
    PostMessageA(question, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return Text(IDC_EDIT3) == "-x 1"; })) << Text(IDC_EDIT3);
    EXPECT_EQ(Selected(IDC_COMBOBOX1), 2) << "not maximised";

    PostMessageA(Dialog(), WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return Dialog() == nullptr; }));
    ASSERT_TRUE(WaitFor([&] { return Has(SettingsText(), "CallLauncherMenu="); }));
    const std::string text = SettingsText();
    EXPECT_TRUE(Has(text, "[Page.1-A]\r\nName=two\r\nPath=C:\\windows\\regedit.exe")) << text;
    EXPECT_TRUE(Has(text, "[Page.1-B]\r\nName=one\r\nPath=C:\\windows\\notepad.exe")) << text;
    EXPECT_TRUE(Has(text, "[Page.3-A]\r\nName=two\r\n")) << text;
    EXPECT_TRUE(Has(text, "[Page.3-B]\r\nName=one\r\n")) << text;
    EXPECT_TRUE(Has(text, "[Page.1-D]\r\nName=my\r\n")) << text;
    EXPECT_TRUE(Has(text, "Opt.=-x 1\r\nWDir=")) << text;
    EXPECT_FALSE(Has(text, "[Page.3-D]")) << "the copy came after the drop";
}

TEST_F(SettingsDialog, AFontASkinAndATriedTransparencyShowOnTheMenuAtOnce) {
    ASSERT_TRUE(Folder.CopySkins(MIRTO_SAMPLE_SKINS));
    StartWithSettings(IniText({"[Setting]", "Skin=Skin\\Maru.ini", "[Window]", "Position=0",
                               "[Font]", "Name=ＭＳ Ｐゴシック", "Size=9", "Bold=0", "Italic=0",
                               "[Page.1-A]", "Name=MM", "Path=C:\\windows\\notepad.exe"}));
    ASSERT_TRUE(HoldUntilMenu(Form(), VK_CONTROL, VK_MENU, [&] { FocusKeyWindow(); }));
    KeyUp(VK_MENU);
    KeyUp(VK_CONTROL);
    ASSERT_TRUE(WaitMenuHidden());
    // Line A's text height (no letter reaches below the line, so that it stays apart from line
    // B) on Maru's inner panel, the menu called and taken a picture of until
    // the text is there.
    const auto lineA = [&](int atLeast) {
        int rows = 0;
        TScreenShot shot;
        EXPECT_TRUE(HoldUntilMenu(Form(), VK_CONTROL, VK_MENU, [&] { FocusKeyWindow(); }));
        WaitFor([&] {
            return shot.Take(Form()) &&
                   (rows = FirstInkRun(shot, RECT{40, 45, 250, 295}, RGB(251, 246, 238),
                                       RGB(0x4A, 0x3A, 0x2E))) >= atLeast;
        });
        KeyUp(VK_MENU);
        KeyUp(VK_CONTROL);
        EXPECT_TRUE(WaitMenuHidden());
        return rows;
    };
    const int small = InkHeight("A. MM", 96, 9), large = InkHeight("A. MM", 96, 16);
    ASSERT_GT(large, small + 3) << "the test's own fonts";
    EXPECT_NEAR(lineA(small - 1), small, 1);

    // The font list has no vertical-writing faces; 16 points confirmed shows on the next menu.
    ASSERT_TRUE(Ask(FontSettingCommand, FontTab));
    HWND fonts = Control(IDC_LISTBOX1);
    const LRESULT count = SendMessageA(fonts, LB_GETCOUNT, 0, 0);
    EXPECT_GT(count, 3);
    for (int line = 0; line < count; ++line)
        EXPECT_NE(ListLine(fonts, line).rfind('@', 0), 0u) << ListLine(fonts, line);
    EXPECT_EQ(ListLine(fonts, static_cast<int>(SendMessageA(fonts, LB_GETCURSEL, 0, 0))),
              "ＭＳ Ｐゴシック");
    Choose(IDC_COMBOBOX7, 5);
    PostMessageA(Dialog(), WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return Dialog() == nullptr; }));
    EXPECT_NEAR(lineA(large - 1), large, 1) << "the menu kept its old font";
    EXPECT_TRUE(WaitFor([&] { return Has(SettingsText(), "Size=16\r\n"); })) << SettingsText();

    // Another skin confirmed: the window takes its size and picture at once.
    ASSERT_TRUE(Ask(BackgroundCommand, BackgroundTab));
    HWND skins = Control(IDC_LISTBOX2);
    EXPECT_EQ(ListLine(skins, 0), "ミルト　-標準背景");
    EXPECT_EQ(ListLine(skins, static_cast<int>(SendMessageA(skins, LB_GETCURSEL, 0, 0))), "丸");
    const LRESULT kiri = SendMessageA(skins, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>("霧"));
    ASSERT_GT(kiri, 0) << "the sample skin Kiri is not listed";
    ChooseInList(skins, static_cast<int>(kiri));
    PostMessageA(Dialog(), WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return Dialog() == nullptr; }));
    EXPECT_TRUE(WaitFor([&] {
        const RECT r = WindowRect(Form());
        return r.right - r.left == 560 && r.bottom - r.top == 380;
    })) << "the window kept Maru's size";
    TScreenShot shot;
    ASSERT_TRUE(HoldUntilMenu(Form(), VK_CONTROL, VK_MENU, [&] { FocusKeyWindow(); }));
    EXPECT_TRUE(WaitFor([&] {
        return shot.Take(Form()) && shot.Pixel(5, 200) == RGB(91, 107, 122);
    })) << "not Kiri's background";
    KeyUp(VK_MENU);
    KeyUp(VK_CONTROL);
    ASSERT_TRUE(WaitMenuHidden());
    EXPECT_TRUE(Has(SettingsText(), "Skin=Skin\\Kiri.ini\r\n")) << SettingsText();

    // A transparency tried with "更新(&U)" shows on the menu behind the dialog before OK (level
    // 8: alpha 8 x 8 + 127); cancel takes it back.
    const std::string confirmed = SettingsText();
    ASSERT_TRUE(Ask(BackgroundCommand, BackgroundTab));
    PostMessageA(Control(IDC_CHECKBOX14), BM_CLICK, 0, 0);
    SendMessageA(Control(IDC_TRACKBAR1), TBM_SETPOS, TRUE, 8);
    PostMessageA(Control(IDC_BUTTON20), BM_CLICK, 0, 0);
    const auto layered = [&] { return (GetWindowLongA(Form(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0; };
    ASSERT_TRUE(WaitFor(layered)) << "the tried level was not shown";
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(Form(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 191);
    EXPECT_TRUE(IsWindowVisible(Form()));
    PostMessageA(Dialog(), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return Dialog() == nullptr; }));
    EXPECT_TRUE(WaitFor([&] { return !layered(); })) << "cancel kept the tried level";
    EXPECT_EQ(SettingsText(), confirmed);
}
