// Call keys in applications of other processes: a 32-bit one, which cannot load the program's
// 64-bit hook library, and a 64-bit one whose thread lost the keyboard to the menu while the
// pair was held.
#include <string>

#include "E2eFixture.h"

namespace {

// The test application (tests/e2e/target), started at the pointer's parking spot and closed at
// the end.
class TTarget {
public:
    explicit TTarget(const char* program) {
        const POINT spot = ParkPointer();
        std::string command = "\"";
        command.append(BinFolder()).append("testing\\").append(program).append("\" ");
        command.append(std::to_string(spot.x - 40)).append(" ");
        command.append(std::to_string(spot.y - 30)).append(" 80 60");
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return;
        CloseHandle(process.hThread);
        Process = process.hProcess;
        Request = RegisterWindowMessageA("MirtoTestTarget");
        WaitFor([&] {
            Window = FindWindowA("MirtoTestTarget", nullptr);
            DWORD owner = 0;
            GetWindowThreadProcessId(Window, &owner);
            return Window != nullptr && owner == process.dwProcessId && IsWindowVisible(Window);
        });
    }
    ~TTarget() {
        if (Process == nullptr) return;
        if (Window != nullptr) PostMessageA(Window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(Process, 10000) != WAIT_OBJECT_0) TerminateProcess(Process, 1);
        CloseHandle(Process);
    }
    TTarget(const TTarget&) = delete;
    TTarget& operator=(const TTarget&) = delete;

    HWND Handle() const { return Window; }
    bool Is32Bit() const {
        BOOL wow64 = FALSE;
        return IsWow64Process(Process, &wow64) && wow64;
    }
    bool Focus() const {
        SetForegroundWindow(Window);
        return WaitFor([&] { return GetForegroundWindow() == Window; });
    }
    LRESULT Ask(WPARAM request) const {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(Window, Request, request, 0, SMTO_NORMAL, DefaultTimeout, &answer))
            return -2;
        return static_cast<LRESULT>(answer);
    }
    // Presses and releases the key in the application, and waits until it has taken the release
    // from its queue: by then its keyboard hook has seen both.
    bool Tap(WORD key) const {
        const LRESULT before = Ask(3);
        KeyDown(key);
        KeyUp(key);
        return WaitFor([&] { return Ask(3) > before; });
    }

private:
    HANDLE Process = nullptr;
    HWND Window = nullptr;
    UINT Request = 0;
};

class ForeignApplication : public MirtoTest {
protected:
    // Holds Control + Alt in the application until the menu has the foreground, then releases
    // the pair (its releases go to the menu) and waits until the menu has gone.
    void CallAndReleaseMenu(const TTarget& target) {
        ASSERT_TRUE(target.Focus()) << "the application did not get the focus";
        KeyDown(VK_CONTROL);
        KeyDown(VK_MENU);
        ASSERT_TRUE(WaitFor([&] { return MenuVisible(); })) << "the call key showed no menu";
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == Form(); }))
            << "the menu did not come to the front";
        KeyUp(VK_MENU);
        KeyUp(VK_CONTROL);
        ASSERT_TRUE(WaitMenuHidden()) << "the menu stayed after the release";
    }

    // Whether the menu appears for keys the application has taken: the hook's notification is
    // handled within two turns of the program's loop, and a second look at the keys, which the
    // program takes when they read as released, is over once a key reading has expired.
    bool MenuShowsAfterwards() {
        const ULONGLONG tapped = GetTickCount64();
        WaitFor([&] { return GetTickCount64() - tapped >= KeyReadingExpiry; });
        return !(RoundTrip(Form()) && RoundTrip(Form())) || MenuVisible();
    }
};

} // namespace

TEST_F(ForeignApplication, CallKeyAndInputMethodKeyWorkInA32BitApplication) {
    // Running before the program: its thread is served by the time the program is resident.
    TTarget target("Target32.exe");
    ASSERT_NE(target.Handle(), nullptr) << "the 32-bit application did not start";
    ASSERT_TRUE(target.Is32Bit());
    StartWithSettings(IniText({"[ExpansionKey]", "ImeOpen=1", "ImeClose=1"}));

    CallAndReleaseMenu(target);
    if (HasFatalFailure()) return;

    ASSERT_TRUE(target.Focus());
    ASSERT_EQ(target.Ask(0), 1) << "the application's edit control has no input context";
    ASSERT_EQ(target.Ask(2), 0);
    ASSERT_TRUE(target.Tap(VK_KANA));
    EXPECT_EQ(target.Ask(2), 1) << "the Katakana/Hiragana key did not open the input method";
    ASSERT_TRUE(target.Tap(VK_NONCONVERT));
    EXPECT_EQ(target.Ask(2), 0) << "the No-convert key did not close the input method";

    // An application started while the program runs is served from its first window on: a key
    // that matters to nobody shows when the hook has arrived in it.
    TTarget later("Target32.exe");
    ASSERT_NE(later.Handle(), nullptr);
    ASSERT_TRUE(later.Focus());
    EXPECT_TRUE(WaitFor([&] { return later.Tap(VK_F24) && later.Ask(4) == 1; }))
        << "the hook never reached the later application";
    CallAndReleaseMenu(later);
}

TEST_F(ForeignApplication, ALoneModifierAfterTheMenuCallsNothing) {
    StartWithSettings(IniText({"[Window]", "Position=0"}));
    TTarget target("Target64.exe");
    ASSERT_NE(target.Handle(), nullptr) << "the application did not start";

    // The application's thread saw Control and Alt go down but not up: each lone key then
    // finds the other one still held there.
    for (WORD lone : {VK_MENU, VK_CONTROL}) {
        CallAndReleaseMenu(target);
        if (HasFatalFailure()) return;
        ASSERT_TRUE(target.Focus());
        ASSERT_TRUE(target.Tap(lone));
        EXPECT_FALSE(MenuShowsAfterwards())
            << "a lone " << (lone == VK_MENU ? "Alt" : "Control") << " called the menu";
        // A menu shown with no pair held hides at the program's next key check.
        ASSERT_TRUE(WaitMenuHidden());
    }
}
