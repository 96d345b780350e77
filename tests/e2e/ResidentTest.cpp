// Start-up, the single instance, and the ways the resident program ends.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "E2eFixture.h"

namespace {

const char ProgramCaption[] = "ミルト";

std::string WindowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool HasLine(const std::string& text, const std::string& line) {
    return ("\r\n" + text).find("\r\n" + line + "\r\n") != std::string::npos;
}

// Whether the test can take the hot key itself, that is whether no other window holds it.
bool HotKeyFree(HWND window, UINT modifiers, UINT key) {
    if (!RegisterHotKey(window, 1, modifiers, key)) return false;
    UnregisterHotKey(window, 1);
    return true;
}

class Resident : public MirtoTest {};

} // namespace

TEST_F(Resident, FirstStartWithoutSettingsOpensTheRegistrationPageWithTrayIcon) {
    Mirto = std::make_unique<TMirto>(Folder);
    ASSERT_TRUE(Mirto->Started());
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = Mirto->VisibleDialog("詳細設定")) != nullptr; }))
        << "no settings dialog for the missing settings";
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, 2001), TCM_GETCURSEL, 0, 0), 0)
        << "not on the registration page";

    HWND form = Form();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(WindowText(form), ProgramCaption);
    // The menu stands behind the dialog while it is open.
    EXPECT_TRUE(IsWindowVisible(form));
    const RECT rect = WindowRect(form);
    EXPECT_EQ(rect.right - rect.left, MenuWidth);
    EXPECT_EQ(rect.bottom - rect.top, MenuHeight);
    const auto applications = Mirto->Windows("MirtoApplication");
    ASSERT_EQ(applications.size(), 1u);
    EXPECT_FALSE(IsWindowVisible(applications.front()));

    EXPECT_TRUE(TrayIconPresent(form, 1));
    EXPECT_FALSE(TrayIconPresent(form, 2));

    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog) && !IsWindowVisible(form); }));
    EXPECT_TRUE(Mirto->Running());
    EXPECT_TRUE(TrayIconPresent(form));
    // Cancelled, the dialog writes only its size.
    ASSERT_TRUE(WaitFor([&] { return Folder.Exists("Mirto.ini"); }));
    const std::string text = ReadWholeFile(Folder.FilePath("Mirto.ini"));
    EXPECT_NE(text.find("WindowWidth="), std::string::npos) << text;
    EXPECT_EQ(text.find("[Page."), std::string::npos) << text;
    EXPECT_EQ(text.find("CallLauncherMenu="), std::string::npos) << text;
}

TEST_F(Resident, TakesOverVornaIniOnceIntoMirtoIni) {
    ASSERT_TRUE(
        Folder.Write("Vorna.ini", IniText({
                                      "[A]",
                                      "Name=メモ帳",
                                      "Path=C:\\windows\\notepad.exe",
                                      "Size=3",
                                      "Opt.=/a \"x y\"",
                                      "",
                                      "[C]",
                                      // The second byte of ソ and 表 is a backslash: not an escape.
                                      "Name=ソフト表",
                                      "Path=C:\\tools\\soft.exe",
                                      "Size=2",
                                      "",
                                      "[D]",
                                      "Name=no path, not taken",
                                      "",
                                      "[Window]",
                                      "Position=3",
                                  })));
    StartResident();
    EXPECT_TRUE(WaitFor([&] { return !Folder.Exists("Vorna.ini"); })) << "Vorna.ini was kept";
    const std::string written = Folder.Read("Mirto.ini");
    ASSERT_FALSE(written.empty()) << "no Mirto.ini";

    for (const char* line : {
             "[Page.1-A]",
             "Name=メモ帳",
             "Path=C:\\windows\\notepad.exe",
             "Size=3",
             "Opt.=/a \\\"x y\\\"",
             "WDir=",
             "[Page.1-C]",
             "Name=ソフト表",
             "Path=C:\\tools\\soft.exe",
             "Size=2",
             "Position=3",
             "WindowWidth=460",
             "WindowHeight=452",
         })
        EXPECT_TRUE(HasLine(written, line)) << "missing line " << line << " in\n" << written;
    EXPECT_EQ(written.find("[Page.1-D]"), std::string::npos);
    EXPECT_EQ(written.find("no path"), std::string::npos);
    EXPECT_EQ(written.find("[A]"), std::string::npos);
    // A taken-over file counts as settings: no message about missing ones.
    EXPECT_EQ(Mirto->MessageBoxWindow(), nullptr);
}

TEST_F(Resident, SaysOnceThatALockedSettingsFileCannotBeReadAndNeverWritesIt) {
    const std::string settings = IniText({"[Window]", "Position=3"});
    ASSERT_TRUE(Folder.Write("Mirto.ini", settings));
    // Held by another program that shares it with nobody.
    HANDLE lock = CreateFileA(Folder.FilePath("Mirto.ini").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Mirto = std::make_unique<TMirto>(Folder);
    ASSERT_TRUE(Mirto->Started());
    HWND box = Mirto->WaitMessageBox();
    CloseHandle(lock);
    ASSERT_NE(box, nullptr) << "no word about the unreadable settings file";
    EXPECT_EQ(WindowText(box), "てんみ");
    EXPECT_EQ(MessageBoxText(box),
              "設定ファイル \"" + Folder.FilePath("Mirto.ini") +
                  "\" を読み込めませんでした。\n"
                  "ほかのプログラムが開いているか、読み取る権限がありません。\n\n"
                  "初期設定で動きます。このファイルは、次に起動するまで書き換えません。");
    CloseMessageBox(box);
    ASSERT_TRUE(Mirto->WaitResident());
    EXPECT_EQ(Mirto->MessageBoxWindow(), nullptr);

    Mirto->Stop();
    ASSERT_TRUE(Mirto->WaitExit());
    EXPECT_EQ(Folder.Read("Mirto.ini"), settings);
    EXPECT_FALSE(Folder.Exists("Mirto.ini.new"));
}

TEST_F(Resident, SecondStartEndsWithMinusOneAndTheFirstCopyOpensItsSettings) {
    StartWithSettings(IniText({"[Window]", "Position=0"}));
    ASSERT_EQ(Mirto->MessageBoxWindow(), nullptr);

    TMirto second(Folder);
    ASSERT_TRUE(second.Started());
    ASSERT_TRUE(second.WaitExit()) << "the second copy keeps running";
    EXPECT_EQ(second.ExitCode(), 0xFFFFFFFFu);

    // With the menu hidden the running copy opens its settings.
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = Mirto->VisibleDialog("詳細設定")) != nullptr; }))
        << "the running copy did not react to the second start";
    EXPECT_TRUE(Mirto->Running());
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return Mirto->VisibleDialog("詳細設定") == nullptr; }));
    EXPECT_TRUE(Mirto->Running());
}

TEST_F(Resident, EndSessionEndsTheProgram) {
    StartWithSettings(IniText({"[Window]", "Position=0"}));
    HWND form = Form();
    DWORD_PTR answer = 0;
    ASSERT_TRUE(
        SendMessageTimeoutA(form, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, DefaultTimeout, &answer));
    EXPECT_EQ(answer, 1u) << "the end of the session was refused";
    PostMessageA(form, WM_ENDSESSION, TRUE, 0);
    ASSERT_TRUE(Mirto->WaitExit());
    EXPECT_EQ(Mirto->ExitCode(), 0u);
}

TEST_F(Resident, TrayItemCloseEndsTheProgramAndFreesItsKeys) {
    StartWithSettings(IniText({"[Window]", "Position=0"}));
    HWND form = Form();
    TTestWindow probe("probe", WS_POPUP, 0, 0, 10, 10);
    // While resident the program holds its window keys: maximise (Alt + PageUp) and pause
    // (Alt + End) among them.
    EXPECT_FALSE(HotKeyFree(probe.Handle(), MOD_ALT, VK_PRIOR));
    EXPECT_FALSE(HotKeyFree(probe.Handle(), MOD_ALT, VK_END));

    const int CloseKeyCommand = 108;
    PostMessageA(form, WM_COMMAND, CloseKeyCommand, 0);
    ASSERT_TRUE(Mirto->WaitExit());
    EXPECT_EQ(Mirto->ExitCode(), 0u);
    EXPECT_FALSE(TrayIconPresent(form));
    EXPECT_TRUE(HotKeyFree(probe.Handle(), MOD_ALT, VK_PRIOR));
    EXPECT_TRUE(HotKeyFree(probe.Handle(), MOD_ALT, VK_END));
    EXPECT_TRUE(HotKeyFree(probe.Handle(), MOD_CONTROL, VK_NUMPAD4));
}

class BadHookLibrary : public MirtoTest {
protected:
    BadHookLibrary() : MirtoTest("testing\\BadHook.dll") {}
};

TEST_F(BadHookLibrary, IsRefusedWithAMessageAndNoTrayIcon) {
    ASSERT_TRUE(Folder.Write("Mirto.ini", IniText({"[Window]", "Position=0"})));
    Mirto = std::make_unique<TMirto>(Folder);
    ASSERT_TRUE(Mirto->Started());
    HWND box = Mirto->WaitMessageBox();
    ASSERT_NE(box, nullptr) << "no message about the library";
    EXPECT_EQ(MessageBoxText(box), "DLLの呼び出しに失敗しました。確認してくださいね。");
    EXPECT_EQ(WindowText(box), "てんみ");
    HWND form = Form();
    ASSERT_NE(form, nullptr);
    // The icon would come after the library: with the message up, it must not be there.
    EXPECT_FALSE(TrayIconPresent(form));

    CloseMessageBox(box);
    ASSERT_TRUE(Mirto->WaitExit()) << "the program stays after refusing its library";
    EXPECT_EQ(Mirto->ExitCode(), 0u);
}
