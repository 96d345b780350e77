// Call keys in applications of other processes: a 32-bit one, which cannot load the program's
// 64-bit hook library, and a 64-bit one whose thread lost the keyboard to the menu while the
// pair was held.
#include <string>

#include "E2eFixture.h"

namespace {

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
