#include "hook/HookLogic.h"

namespace {

// Virtual-key codes as the platform defines them.
enum : unsigned {
    vkShift = 0x10,
    vkControl = 0x11,
    vkMenu = 0x12,
    vkKana = 0x15,
    vkNonConvert = 0x1D,
    vkLShift = 0xA0,
    vkRShift = 0xA1,
    vkLControl = 0xA2,
    vkRControl = 0xA3,
    vkLMenu = 0xA4,
    vkRMenu = 0xA5,
    vkDbeKatakana = 0xF1,
    vkDbeHiragana = 0xF2,
};

enum TModifier { modNone = -1, modShift, modControl, modAlt };

// Generic, left and right codes of each modifier.
constexpr unsigned GenericKey[] = {vkShift, vkControl, vkMenu};
constexpr unsigned LeftKey[] = {vkLShift, vkLControl, vkLMenu};
constexpr unsigned RightKey[] = {vkRShift, vkRControl, vkRMenu};

// The scan code of the right-hand Shift key, which has no extended-key bit.
constexpr unsigned RightShiftScanCode = 0x36;

TModifier ModifierOfKey(unsigned key) {
    switch (key) {
    case vkShift:
    case vkLShift:
    case vkRShift:
        return modShift;
    case vkControl:
    case vkLControl:
    case vkRControl:
        return modControl;
    case vkMenu:
    case vkLMenu:
    case vkRMenu:
        return modAlt;
    default:
        return modNone;
    }
}

// The Japanese keyboard's Katakana/Hiragana key arrives as VK_DBE_HIRAGANA (or VK_DBE_KATAKANA
// with Shift) while an input method is active, and as VK_KANA otherwise.
bool IsKanaKey(unsigned key) {
    return key == vkKana || key == vkDbeKatakana || key == vkDbeHiragana;
}

// The other modifier of a call-key pair (0 Shift+Control, 1 Control+Alt, 2 Shift+Alt), or
// modNone when the pair does not contain the modifier or names no pair.
TModifier OtherOfPair(int32_t pair, TModifier modifier) {
    static constexpr TModifier Pairs[3][2] = {
        {modShift, modControl}, {modControl, modAlt}, {modShift, modAlt}};
    if (pair < 0 || pair > 2) return modNone;
    if (Pairs[pair][0] == modifier) return Pairs[pair][1];
    if (Pairs[pair][1] == modifier) return Pairs[pair][0];
    return modNone;
}

} // namespace

TKeyEvent MakeKeyEvent(unsigned virtualKey, uint32_t keyData) {
    TKeyEvent key;
    key.VirtualKey = virtualKey;
    key.KeyUp = (keyData & 0x80000000u) != 0;
    key.WasDown = (keyData & 0x40000000u) != 0;
    const bool extended = (keyData & 0x01000000u) != 0;
    const unsigned scanCode = (keyData >> 16) & 0xFF;
    switch (virtualKey) {
    case vkRShift:
    case vkRControl:
    case vkRMenu:
        key.RightHand = true;
        break;
    case vkShift:
        key.RightHand = scanCode == RightShiftScanCode;
        break;
    case vkControl:
    case vkMenu:
        key.RightHand = extended;
        break;
    default:
        break;
    }
    return key;
}

bool MattersToHook(unsigned virtualKey) {
    return ModifierOfKey(virtualKey) != modNone || IsKanaKey(virtualKey) ||
           virtualKey == vkNonConvert;
}

THookAction DecideHookAction(const TKeyEvent& key, const TShareData& share,
                             const TKeyStateQuery& keys) {
    // Releases and repeats never act: only a key going down can complete a pair or switch the
    // input method.
    if (key.KeyUp || key.WasDown) return THookAction::None;

    const TModifier modifier = ModifierOfKey(key.VirtualKey);
    if (modifier == modNone) {
        if (share.ImeOpen != 0 && IsKanaKey(key.VirtualKey)) return THookAction::OpenIme;
        if (share.ImeClose != 0 && key.VirtualKey == vkNonConvert) return THookAction::CloseIme;
        return THookAction::None;
    }

    const int32_t launcher = share.CallLauncherMenu;
    const int32_t clipboard = share.CallClipboardMenu;
    for (int slot = 0; slot < 2; ++slot) {
        if (slot == 1 && clipboard == launcher) break;
        const TModifier other = OtherOfPair(slot == 0 ? launcher : clipboard, modifier);
        if (other == modNone || !keys.IsDown(GenericKey[other])) continue;
        // The same modifier held on the other hand means the pair was already pressed: this key
        // does not press it again.
        if (keys.IsDown(key.RightHand ? LeftKey[modifier] : RightKey[modifier]))
            return THookAction::None;
        return slot == 0 ? THookAction::PostLauncher : THookAction::PostClipboard;
    }
    return THookAction::None;
}
