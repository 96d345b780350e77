#include <gtest/gtest.h>

#include <set>

#include "hook/HookLogic.h"

namespace {

// A keyboard that reports the keys the test holds, and counts how often it was asked.
class TFakeKeyboard : public TKeyStateQuery {
public:
    std::set<unsigned> Held;
    mutable int Queries = 0;

    bool IsDown(unsigned key) const override {
        ++Queries;
        if (Held.count(key)) return true;
        // The generic code of a modifier is down when either hand's key is.
        if (key >= 0x10 && key <= 0x12) {
            const unsigned left = 0xA0 + (key - 0x10) * 2;
            return Held.count(left) || Held.count(left + 1);
        }
        return false;
    }
};

// Drives the decision the way the system does: the key's state changes as its message arrives,
// and the lParam carries the previous state.
class THookDriver {
public:
    TShareData Share{};
    TFakeKeyboard Keyboard;

    THookDriver(int32_t launcher, int32_t clipboard) {
        Share.CallLauncherMenu = launcher;
        Share.CallClipboardMenu = clipboard;
    }

    // keyData as the hook receives it for a left-hand key (or the key's only form).
    THookAction Down(unsigned key, uint32_t extraBits = 0) {
        const unsigned physical = Physical(key, extraBits);
        uint32_t keyData = extraBits;
        if (Keyboard.Held.count(physical)) keyData |= 0x40000000u;
        const THookAction action = DecideHookAction(MakeKeyEvent(key, keyData), Share, Keyboard);
        Keyboard.Held.insert(physical);
        return action;
    }
    THookAction Up(unsigned key, uint32_t extraBits = 0) {
        const THookAction action =
            DecideHookAction(MakeKeyEvent(key, extraBits | 0xC0000000u), Share, Keyboard);
        Keyboard.Held.erase(Physical(key, extraBits));
        return action;
    }

private:
    // The left/right code of a generic modifier, as the system's key state keeps it.
    static unsigned Physical(unsigned key, uint32_t extraBits) {
        if (key < 0x10 || key > 0x12) return key;
        const TKeyEvent event = MakeKeyEvent(key, extraBits);
        return 0xA0 + (key - 0x10) * 2 + (event.RightHand ? 1 : 0);
    }
};

constexpr unsigned Shift = 0x10, Control = 0x11, Alt = 0x12;
constexpr uint32_t Extended = 0x01000000u;
constexpr uint32_t RightShiftScan = 0x36u << 16;

} // namespace

TEST(HookLogic, ControlThenAltPostsLauncherOnceEvenWhileAltRepeats) {
    THookDriver hook(1, 2);
    EXPECT_EQ(hook.Down(Control), THookAction::None);
    EXPECT_EQ(hook.Down(Alt), THookAction::PostLauncher);
    EXPECT_EQ(hook.Down(Alt), THookAction::None);
    EXPECT_EQ(hook.Down(Control), THookAction::None);
    EXPECT_EQ(hook.Up(Alt), THookAction::None);
    EXPECT_EQ(hook.Up(Control), THookAction::None);
}

TEST(HookLogic, ReleasingOneKeyOfThePairAndPressingItAgainPostsAgain) {
    THookDriver hook(1, -1);
    hook.Down(Alt);
    EXPECT_EQ(hook.Down(Control), THookAction::PostLauncher);
    hook.Up(Control);
    EXPECT_EQ(hook.Down(Control), THookAction::PostLauncher);
    hook.Up(Alt);
    EXPECT_EQ(hook.Down(Alt), THookAction::PostLauncher);
}

TEST(HookLogic, SameModifierOnTheOtherHandDoesNotPressThePairAgain) {
    THookDriver hook(1, -1);
    hook.Down(Control);
    EXPECT_EQ(hook.Down(Alt), THookAction::PostLauncher);
    EXPECT_EQ(hook.Down(Control, Extended), THookAction::None);
    EXPECT_EQ(hook.Down(Alt, Extended), THookAction::None);
    hook.Up(Control);
    // The right Control is still held with Alt: no new press.
    EXPECT_EQ(hook.Down(Control), THookAction::None);
}

TEST(HookLogic, ClipboardPairPostsClipboardAndRightShiftCounts) {
    THookDriver hook(1, 2);
    hook.Down(Shift, RightShiftScan);
    EXPECT_EQ(hook.Down(Alt), THookAction::PostClipboard);
    hook.Up(Alt);
    hook.Up(Shift, RightShiftScan);
    // Left and right codes delivered as such are accepted too.
    hook.Down(0xA5);
    EXPECT_EQ(hook.Down(0xA0), THookAction::PostClipboard);
    EXPECT_EQ(hook.Down(0xA1), THookAction::None);
}

TEST(HookLogic, ShiftControlPairAndTheOtherPairsAreKeptApart) {
    THookDriver hook(0, -1);
    hook.Down(Control);
    EXPECT_EQ(hook.Down(Alt), THookAction::None);
    EXPECT_EQ(hook.Down(Shift), THookAction::PostLauncher);
}

TEST(HookLogic, NoCallKeyNeverPosts) {
    THookDriver hook(-1, -1);
    hook.Down(Shift);
    hook.Down(Control);
    EXPECT_EQ(hook.Down(Alt), THookAction::None);
    THookDriver unknown(3, 7);
    unknown.Down(Control);
    EXPECT_EQ(unknown.Down(Alt), THookAction::None);
}

TEST(HookLogic, LauncherWinsWhenBothCallKeysNameThePair) {
    THookDriver hook(2, 2);
    hook.Down(Shift);
    EXPECT_EQ(hook.Down(Alt), THookAction::PostLauncher);
}

TEST(HookLogic, OrdinaryKeysAndReleasesAskTheSystemNothing) {
    THookDriver hook(1, 2);
    hook.Share.ImeOpen = 1;
    hook.Share.ImeClose = 1;
    for (unsigned key = 0; key < 256; ++key) {
        if (MattersToHook(key)) continue;
        EXPECT_EQ(hook.Down(key), THookAction::None) << key;
        EXPECT_EQ(hook.Up(key), THookAction::None) << key;
    }
    hook.Keyboard.Held.insert(0xA2);
    hook.Up(Control);
    EXPECT_EQ(hook.Keyboard.Queries, 0);
    // A modifier going down is the only thing that asks.
    hook.Down(Alt);
    EXPECT_GT(hook.Keyboard.Queries, 0);
}

TEST(HookLogic, InputMethodKeysActOnlyWhenTheirFlagIsSet) {
    THookDriver hook(1, 2);
    EXPECT_EQ(hook.Down(0xF2), THookAction::None);
    EXPECT_EQ(hook.Down(0x1D), THookAction::None);
    hook.Keyboard.Held.clear();
    hook.Share.ImeOpen = 1;
    for (unsigned kana : {0x15u, 0xF1u, 0xF2u}) {
        EXPECT_EQ(hook.Down(kana), THookAction::OpenIme) << kana;
        EXPECT_EQ(hook.Down(kana), THookAction::None) << "repeat of " << kana;
        EXPECT_EQ(hook.Up(kana), THookAction::None);
    }
    EXPECT_EQ(hook.Down(0x1D), THookAction::None);
    hook.Up(0x1D);
    hook.Share.ImeClose = 1;
    EXPECT_EQ(hook.Down(0x1D), THookAction::CloseIme);
    EXPECT_EQ(hook.Keyboard.Queries, 0);
}
