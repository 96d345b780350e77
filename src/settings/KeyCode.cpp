#include "settings/KeyCode.h"

#include <iterator>
#include <string>

#include "frame/Platform.h"

namespace {
// The characters of indices 4-40, in order.
constexpr const char KeyCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ:;^<->?_@[]";
constexpr int FirstCharacterIndex = 4;
constexpr int LastCharacterIndex = 40;

// Indices 41-60 in order.
constexpr int FixedKeys[] = {
    vkPrior,       vkNext,        vkHome,        vkEnd,         vkPause,
    vkDivide,      vkMultiply,    vkNumpad0,     vkNumpad0 + 1, vkNumpad0 + 2,
    vkNumpad0 + 3, vkNumpad0 + 4, vkNumpad0 + 5, vkNumpad0 + 6, vkNumpad0 + 7,
    vkNumpad0 + 8, vkNumpad0 + 9, vkDecimal,     vkSubtract,    vkAdd,
};
constexpr int FirstFixedIndex = 41;

const char* const NoneText = "（なし）";
const char* const ModifierTexts[] = {"Shift + Control", "Control + Alt", "Shift + Alt",
                                     "Control",         "Alt",           "Shift"};
const unsigned ModifierFlags[] = {
    modControl | modShift, modAlt | modControl, modAlt | modShift, modControl, modAlt, modShift};
const char* const CommandKeyTexts[] = {"Tab", "Enter", "Space", "End", "BackSpace", "Pause"};
const int CommandKeys[] = {vkTab, vkReturn, vkSpace, vkEnd, vkBack, vkPause};

// The virtual key that types the character on the current layout, shift state dropped; -1 when
// no key types it.
int LayoutKey(char character) {
    const int scan = Platform().ScanKey(character);
    return scan == -1 ? -1 : scan & 0xFF;
}

template <std::size_t N> void Fill(TStringList& target, const char* const (&texts)[N]) {
    TStringList list;
    for (const char* text : texts)
        list.Add(text);
    target.Assign(list);
}
} // namespace

void BuildKeyNameList(TStringList& target, bool withKeypad) {
    TStringList list{"←", "↑", "→", "↓"};
    for (int i = FirstCharacterIndex; i <= LastCharacterIndex; ++i)
        list.Add(std::string(1, KeyCharacters[i - FirstCharacterIndex]));
    for (const char* name : {"PageUp", "PageDown", "Home", "End", "Pause", "' / '", "' * '"})
        list.Add(name);
    if (withKeypad) {
        for (char digit = '0'; digit <= '9'; ++digit)
            list.Add(std::string("' ") + digit + " '");
        for (const char* name : {"' . '", "' - '", "' + '"})
            list.Add(name);
    }
    target.Assign(list);
}

int KeyIndexToVirtualKey(int keyIndex) {
    if (keyIndex >= 0 && keyIndex <= 3) return vkLeft + keyIndex;
    if (keyIndex >= FirstCharacterIndex && keyIndex <= LastCharacterIndex)
        return Platform().ScanKey(KeyCharacters[keyIndex - FirstCharacterIndex]) & 0xFF;
    if (keyIndex >= FirstFixedIndex && keyIndex < KeyNameCount)
        return FixedKeys[keyIndex - FirstFixedIndex];
    Platform().ShowMessage("キー設定の読み出しが異常終了しました。設定画面で確認してください。",
                           mbIconStop);
    return vkAdd;
}

int VirtualKeyToKeyIndex(int virtualKey) {
    if (virtualKey >= vkNumpad0 && virtualKey <= vkNumpad0 + 9) return 48 + virtualKey - vkNumpad0;
    switch (virtualKey) {
    case vkPause:
        return 45;
    case vkPrior:
        return 41;
    case vkNext:
        return 42;
    case vkEnd:
        return 44;
    case vkHome:
        return 43;
    case vkMultiply:
        return 47;
    case vkAdd:
        return 60;
    case vkSubtract:
        return 59;
    case vkDecimal:
        return 58;
    case vkDivide:
        return 46;
    default:
        break;
    }
    // Shifted characters cannot be typed into the field's list search, so their keys select
    // the entry directly; the first match wins where a layout shares a key.
    const struct {
        char Character;
        int Index;
    } shifted[] = {{'_', 37}, {'?', 36}, {'>', 35}, {'<', 33}};
    for (const auto& entry : shifted)
        if (LayoutKey(entry.Character) == virtualKey) return entry.Index;
    return 0;
}

int KeyFieldSelection(int virtualKey, std::size_t entryCount) {
    const int index = VirtualKeyToKeyIndex(virtualKey);
    return index != 0 && static_cast<std::size_t>(index) < entryCount ? index : -1;
}

unsigned ModifierToHotKeyFlags(int modifierCode) {
    if (modifierCode < 0 || modifierCode >= static_cast<int>(std::size(ModifierFlags))) return 0;
    return ModifierFlags[modifierCode];
}

void BuildModifierList(TStringList& target) {
    Fill(target, ModifierTexts);
}

void BuildCallKeyList(TStringList& target) {
    const char* const texts[] = {NoneText, ModifierTexts[0], ModifierTexts[1], ModifierTexts[2]};
    Fill(target, texts);
}

void BuildCommandKeyList(TStringList& target) {
    TStringList list{NoneText};
    for (const char* text : CommandKeyTexts)
        list.Add(text);
    target.Assign(list);
}

bool CommandKeyMatches(int commandKeyCode, int virtualKey) {
    if (commandKeyCode < 0 || commandKeyCode >= static_cast<int>(std::size(CommandKeys)))
        return false;
    if (commandKeyCode == 5 && virtualKey == vkCancel) return true;
    return CommandKeys[commandKeyCode] == virtualKey;
}
