// The window keys with the default settings: Control + keypad 4/8/6/2 move the foreground
// window by 32 pixels, Alt + the same keys resize it, Alt + PageUp / PageDown / Home maximise,
// minimise and restore it, and Alt + End pauses and resumes the call keys.
#include "E2eFixture.h"

namespace {

class WindowKeys : public MirtoTest {
protected:
    std::unique_ptr<TTestWindow> Target;

    void SetUp() override {
        MirtoTest::SetUp();
        if (HasFatalFailure()) return;
        // A file without key lines: the keypad keys of the defaults.
        StartWithSettings(IniText({"[Window]", "Position=0"}));
        if (HasFatalFailure()) return;
        ParkPointer();
        Target = std::make_unique<TTestWindow>("target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 150,
                                               400, 300);
        ASSERT_TRUE(Target->Focus());
    }

    void TearDown() override {
        MirtoTest::TearDown();
        Target.reset();
    }

    // Holds the call pair in the test's key window until the menu shows, then releases it and
    // waits until the menu has hidden again.
    void CallMenuOnce() {
        FocusKeyWindow();
        KeyDown(VK_CONTROL);
        KeyDown(VK_MENU);
        const bool shown = WaitFor([&] { return MenuVisible(); });
        KeyUp(VK_MENU);
        KeyUp(VK_CONTROL);
        ASSERT_TRUE(shown) << "the call key showed no menu";
        ASSERT_TRUE(WaitMenuHidden()) << "the menu stayed";
    }

    // Types the keys in the target window and waits until its rectangle changes.
    bool StepAndWait(std::initializer_list<WORD> keys, RECT& after) {
        const RECT before = Target->Rect();
        if (!Target->Type(keys)) return false;
        return WaitFor([&] { return !EqualRect(&before, &(after = Target->Rect())); });
    }
};

} // namespace

TEST_F(WindowKeys, MoveAndResizeKeysStepTheForegroundWindow) {
    // Each step is awaited as the rectangle it must give: under a window manager the window's
    // rectangle passes through the manager's answers to the steps before on its way there.
    const RECT start = Target->Rect();
    const LONG left = start.left, top = start.top, right = start.right, bottom = start.bottom;
    const auto step = [&](std::initializer_list<WORD> keys, RECT expected) {
        RECT now{};
        EXPECT_TRUE(Target->Type(keys));
        EXPECT_TRUE(WaitFor([&] { return EqualRect(&(now = Target->Rect()), &expected); }))
            << now.left << "," << now.top << "," << now.right << "," << now.bottom;
    };
    step({VK_CONTROL, VK_NUMPAD4}, {left - 32, top, right - 32, bottom});
    step({VK_CONTROL, VK_NUMPAD2}, {left - 32, top + 32, right - 32, bottom + 32});
    step({VK_MENU, VK_NUMPAD4}, {left - 32, top + 32, right - 64, bottom + 32});
    step({VK_MENU, VK_NUMPAD2}, {left - 32, top + 32, right - 64, bottom + 64});
}

TEST_F(WindowKeys, MaximiseMinimiseAndRestoreTheForegroundWindow) {
    HWND target = Target->Handle();
    ASSERT_TRUE(Target->Type({VK_MENU, VK_PRIOR}));
    EXPECT_TRUE(WaitFor([&] { return IsZoomed(target) != FALSE; })) << "not maximised";

    ASSERT_TRUE(Target->Type({VK_MENU, VK_HOME}));
    EXPECT_TRUE(WaitFor([&] { return !IsZoomed(target) && !IsIconic(target); }))
        << "not restored from maximised";

    // The minimised window loses the keyboard to the next one: the keys' releases go there.
    PressKeys({VK_MENU, VK_NEXT});
    EXPECT_TRUE(WaitFor([&] { return IsIconic(target) != FALSE; })) << "not minimised";
}

// A window manager restores a minimised window as it brings it to the front, so only a display
// without one can have a minimised window in front: run on such a display, skipped elsewhere.
TEST_F(WindowKeys, OnABareDisplayRestoreBringsBackAMinimisedWindowInFront) {
    if (WindowManagerRuns()) GTEST_SKIP() << "a window manager restores what it brings to the front";
    HWND target = Target->Handle();
    PressKeys({VK_MENU, VK_NEXT});
    ASSERT_TRUE(WaitFor([&] { return IsIconic(target) != FALSE; })) << "not minimised";
    ASSERT_TRUE(Target->Activate()) << "the minimised window did not come to the front";
    ASSERT_TRUE(IsIconic(target));
    PressKeys({VK_MENU, VK_HOME});
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(target); })) << "not restored from minimised";
}

TEST_F(WindowKeys, PauseStopsTheCallKeyWhileWindowKeysStillWork) {
    HWND target = Target->Handle();
    // The menu called once and hidden again, as in any session.
    ASSERT_NO_FATAL_FAILURE(CallMenuOnce());

    // Window keys are handled in the order pressed: once a later move has acted, every earlier
    // key (and any notification the hook posted before it) has been handled too.
    RECT after{};
    ASSERT_TRUE(Target->Focus());
    ASSERT_TRUE(Target->Type({VK_MENU, VK_END}));
    ASSERT_TRUE(StepAndWait({VK_CONTROL, VK_NUMPAD6}, after)) << "window keys stopped with pause";

    ASSERT_TRUE(Target->Type({VK_CONTROL, VK_MENU}))
        << "the keys' releases went elsewhere: the call key showed the menu while paused";
    ASSERT_TRUE(StepAndWait({VK_CONTROL, VK_NUMPAD4}, after))
        << "the window keys no longer act on the window (did the menu take the foreground?)";
    EXPECT_FALSE(MenuVisible()) << "the call key showed the menu while paused";
    EXPECT_EQ(GetForegroundWindow(), target);

    // Held for a while, the pair still brings nothing: no poll of the keys runs while hidden.
    FocusKeyWindow();
    KeyDown(VK_CONTROL);
    KeyDown(VK_MENU);
    EXPECT_FALSE(WaitFor([&] { return MenuVisible(); }, 3000))
        << "the menu came up while paused, with the pair held";
    KeyUp(VK_MENU);
    KeyUp(VK_CONTROL);
    ASSERT_TRUE(WaitMenuHidden());

    // The pause key again resumes: the call key shows the menu.
    ASSERT_TRUE(Target->Focus());
    ASSERT_TRUE(Target->Type({VK_MENU, VK_END}));
    ASSERT_TRUE(StepAndWait({VK_CONTROL, VK_NUMPAD6}, after));
    ASSERT_NO_FATAL_FAILURE(CallMenuOnce()) << "the call key stayed off after resume";
}

TEST_F(WindowKeys, AfterATrayClickLeaveEveryWindowOfTheProgramAlone) {
    // A click on the tray icon brings the program's hidden application window to the front.
    HWND form = Form();
    const auto applications = Mirto->Windows("MirtoApplication");
    ASSERT_EQ(applications.size(), 1u);
    HWND application = applications.front();
    const RECT applicationRect = WindowRect(application), formRect = WindowRect(form);
    PostMessageA(form, RegisterWindowMessageA("TasktrayIconClicked"), 1, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitFor([&] {
        DWORD process = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &process);
        return process == Mirto->ProcessId();
    })) << "the tray click did not bring the program to the front";

    // Wine drops typed keys while a hidden window has the foreground, so the window keys come
    // as the system would deliver them, each handled before the next: move left, resize down,
    // maximise, minimise.
    for (WPARAM id : {3, 10, 0, 1}) {
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutA(form, WM_HOTKEY, id, 0, SMTO_NORMAL, 5000, &answer));
    }
    for (auto [window, rect] : {std::pair{application, applicationRect}, {form, formRect}}) {
        const RECT after = WindowRect(window);
        EXPECT_TRUE(!IsWindowVisible(window) && !IsZoomed(window) && !IsIconic(window) &&
                    EqualRect(&rect, &after))
            << window;
    }
}
