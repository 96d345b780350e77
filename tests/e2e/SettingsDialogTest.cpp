// The settings dialog as the user reaches it: from the tray menu's items and a second start, one
// dialog at most, and what its buttons do to the program and to "Mirto.ini".
#include <windows.h>

#include <commctrl.h>

#include <cctype>
#include <string>

#include "E2eFixture.h"

namespace {

// The tray menu's commands, and identifiers of the dialog's controls.
constexpr WPARAM KeyConfigCommand = 101, FontSettingCommand = 105, VersionCommand = 110;
constexpr int PageControl = 2001, QuitButton = 2003, VersionLabel = 2805, SystemLabel = 2815;
// Tabs in their order: ランチャ 0, クリップボード 1, メニュー 2, ウィンドウ操作 3, フォント 4,
// 背景 5, 表示位置 6, バージョン情報 7.
constexpr LRESULT LauncherTab = 0, FontTab = 4, VersionTab = 7;

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
    // The text of a control on one of the dialog's pages.
    std::string Text(int id) const {
        struct TFind {
            int Id;
            HWND Found = nullptr;
        } find{id};
        EnumChildWindows(
            Dialog(),
            [](HWND child, LPARAM data) -> BOOL {
                auto* f = reinterpret_cast<TFind*>(data);
                if (GetDlgCtrlID(child) != f->Id) return TRUE;
                f->Found = child;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&find));
        char text[256] = {};
        if (find.Found) GetWindowTextA(find.Found, text, sizeof text);
        return text;
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

    PostMessageA(Dialog(), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return Dialog() == nullptr; }));
    ASSERT_TRUE(WaitFor([&] { return Has(SettingsText(), "WindowWidth="); }))
        << "the dialog size was not written";
    const std::string text = SettingsText();
    EXPECT_TRUE(Has(text, "WindowHeight="));
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

TEST_F(SettingsDialog, OkSavesTheSettingsAndQuitAnsweredNoEndsWithoutSaving) {
    StartWithSettings(Settings);
    ASSERT_TRUE(Ask(KeyConfigCommand, LauncherTab));
    PostMessageA(Dialog(), WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return Dialog() == nullptr; }));
    // A confirmed dialog writes every setting, the entry among them, and the program goes on.
    ASSERT_TRUE(WaitFor([&] { return Has(SettingsText(), "CallLauncherMenu="); }))
        << SettingsText();
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
