#include <gtest/gtest.h>

#include <set>

#include "hook/HookLogic.h"

namespace {

constexpr unsigned Shift = 0x10, Control = 0x11, Alt = 0x12;
constexpr unsigned LShift = 0xA0, RShift = 0xA1, LControl = 0xA2, RControl = 0xA3, LAlt = 0xA4,
                   RAlt = 0xA5;
// Bits of the hook's keyData: scan codes of the left Shift, right Shift, Control and Alt keys,
// the extended-key bit, an auto-repeat (previous state down) and a release.
constexpr uint32_t LShiftScan = 0x2Au << 16, RShiftScan = 0x36u << 16, ControlScan = 0x1Du << 16,
                   AltScan = 0x38u << 16;
constexpr uint32_t Extended = 0x01000000u, Repeat = 0x40000000u, Release = 0xC0000000u;

// The keyboard state as the test writes it: the left- and right-hand keys held, and the generic
// code of a modifier down when either hand's key is. It counts how often it was asked.
class THeldKeys : public TKeyStateQuery {
public:
    explicit THeldKeys(std::set<unsigned> held) : Held(std::move(held)) {}

    bool IsDown(unsigned key) const override {
        ++Queries;
        switch (key) {
        case Shift:
            return Held.count(LShift) || Held.count(RShift);
        case Control:
            return Held.count(LControl) || Held.count(RControl);
        case Alt:
            return Held.count(LAlt) || Held.count(RAlt);
        default:
            return Held.count(key) > 0;
        }
    }

    std::set<unsigned> Held;
    mutable int Queries = 0;
};

TShareData Share(int32_t launcher, int32_t clipboard) {
    TShareData share{};
    share.CallLauncherMenu = launcher;
    share.CallClipboardMenu = clipboard;
    return share;
}

using A = THookAction;

} // namespace

TEST(HookLogic, TellsTheHandAndTheTransitionFromTheKeyData) {
    const struct {
        unsigned Key;
        uint32_t Data;
        bool Up, WasDown, Right;
    } cases[] = {
        {Shift, LShiftScan, false, false, false},
        {Shift, RShiftScan | Repeat, false, true, true},
        {Shift, LShiftScan | Extended, false, false, false}, // Shift has no extended form
        {Control, ControlScan, false, false, false},
        {Control, ControlScan | Extended | Release, true, true, true},
        {Alt, AltScan | Extended, false, false, true},
        {RControl, 0, false, false, true},
        {LAlt, Extended, false, false, false},
        {'A', Extended, false, false, false},
    };
    for (const auto& c : cases) {
        const TKeyEvent event = MakeKeyEvent(c.Key, c.Data);
        EXPECT_EQ(event.VirtualKey, c.Key);
        EXPECT_EQ(event.KeyUp, c.Up) << c.Key << " " << c.Data;
        EXPECT_EQ(event.WasDown, c.WasDown) << c.Key << " " << c.Data;
        EXPECT_EQ(event.RightHand, c.Right) << c.Key << " " << c.Data;
    }
}

TEST(HookLogic, PostsWhenAKeyOfThePairGoesDownWhileTheOtherIsHeld) {
    const struct {
        const char* What;
        int32_t Launcher, Clipboard;
        std::set<unsigned> Held; // before the event
        unsigned Key;
        uint32_t Data;
        THookAction Expected;
    } cases[] = {
        {"left Control held, Alt down", 1, 2, {LControl}, Alt, AltScan, A::PostLauncher},
        {"right Control held, right Alt down",
         1,
         2,
         {RControl},
         Alt,
         AltScan | Extended,
         A::PostLauncher},
        {"Alt held, Control down", 1, -1, {RAlt}, Control, ControlScan, A::PostLauncher},
        {"Alt repeats", 1, 2, {LControl, LAlt}, Alt, AltScan | Repeat, A::None},
        {"Control repeats", 1, 2, {LControl, LAlt}, Control, ControlScan | Repeat, A::None},
        {"Alt released", 1, 2, {LControl, LAlt}, Alt, AltScan | Release, A::None},
        // The same modifier already held on the other hand: the pair is not pressed again.
        {"right Control, left one held",
         1,
         -1,
         {LControl, LAlt},
         Control,
         ControlScan | Extended,
         A::None},
        {"left Control, right one held", 1, -1, {RControl, LAlt}, Control, ControlScan, A::None},
        {"right Alt, left one held", 1, -1, {LControl, LAlt}, Alt, AltScan | Extended, A::None},
        {"left Alt, right one held", 1, -1, {LControl, RAlt}, Alt, AltScan, A::None},
        {"right Shift, left one held", 1, 2, {LShift, LAlt}, Shift, RShiftScan, A::None},
        {"left Shift, right one held", 1, 2, {RShift, LAlt}, Shift, LShiftScan, A::None},
        {"right Shift told by its scan code", 1, 2, {LAlt}, Shift, RShiftScan, A::PostClipboard},
        {"left-hand code as such", 1, 2, {RAlt}, LShift, 0, A::PostClipboard},
        {"right-hand code as such, left held", 1, 2, {RAlt, LShift}, RShift, 0, A::None},
        {"Shift + Control: Alt is no part", 0, -1, {LControl}, Alt, AltScan, A::None},
        {"Shift + Control: Shift down", 0, -1, {LControl}, Shift, LShiftScan, A::PostLauncher},
        {"no call keys", -1, -1, {LShift, LControl}, Alt, AltScan, A::None},
        {"unknown call-key codes", 3, 7, {LControl}, Alt, AltScan, A::None},
        {"both call keys name the pair", 2, 2, {LShift}, Alt, AltScan, A::PostLauncher},
    };
    for (const auto& c : cases) {
        const THeldKeys keys(c.Held);
        EXPECT_EQ(
            DecideHookAction(MakeKeyEvent(c.Key, c.Data), Share(c.Launcher, c.Clipboard), keys),
            c.Expected)
            << c.What;
    }
}

TEST(HookLogic, OrdinaryKeysAndReleasesAskTheSystemNothing) {
    TShareData share = Share(1, 2);
    share.ImeOpen = 1;
    share.ImeClose = 1;
    const THeldKeys keys({LControl, LAlt});
    for (unsigned key = 0; key < 256; ++key) {
        if (MattersToHook(key)) continue;
        EXPECT_EQ(DecideHookAction(MakeKeyEvent(key, 0), share, keys), A::None) << key;
        EXPECT_EQ(DecideHookAction(MakeKeyEvent(key, Release), share, keys), A::None) << key;
    }
    EXPECT_EQ(DecideHookAction(MakeKeyEvent(Control, ControlScan | Release), share, keys), A::None);
    EXPECT_EQ(keys.Queries, 0);
    // A modifier going down is the only thing that asks.
    DecideHookAction(MakeKeyEvent(Alt, AltScan), share, keys);
    EXPECT_GT(keys.Queries, 0);
}

TEST(HookLogic, InputMethodKeysActOnlyWhenTheirFlagIsSet) {
    TShareData share = Share(1, 2);
    const THeldKeys keys({});
    auto decide = [&](unsigned key, uint32_t data = 0) {
        return DecideHookAction(MakeKeyEvent(key, data), share, keys);
    };
    EXPECT_EQ(decide(0xF2), A::None);
    EXPECT_EQ(decide(0x1D), A::None);
    share.ImeOpen = 1;
    for (unsigned kana : {0x15u, 0xF1u, 0xF2u}) {
        EXPECT_EQ(decide(kana), A::OpenIme) << kana;
        EXPECT_EQ(decide(kana, Repeat), A::None) << "repeat of " << kana;
        EXPECT_EQ(decide(kana, Release), A::None);
    }
    EXPECT_EQ(decide(0x1D), A::None);
    share.ImeClose = 1;
    EXPECT_EQ(decide(0x1D), A::CloseIme);
    EXPECT_EQ(keys.Queries, 0);
}
