#pragma once
// The small numbers that the settings file and dialogs store for keys, and their conversions to
// the platform's virtual keys and hot-key modifier flags. Character keys go through the keyboard
// layout, so a stored ":" means the key that types ":" on the user's keyboard.
#include <cstddef>

#include "frame/StringList.h"

// KeyIndex: an index into the key-name list. Stored indices always refer to the full list.
inline constexpr int KeyNameCount = 61;
// The short list leaves out the keypad digits, decimal point, subtract and add.
inline constexpr int ShortKeyNameCount = 48;

// Virtual-key codes the key tables use.
enum : int {
    vkBack = 8,
    vkTab = 9,
    vkCancel = 3,
    vkReturn = 13,
    vkPause = 19,
    vkSpace = 32,
    vkPrior = 33,
    vkNext = 34,
    vkEnd = 35,
    vkHome = 36,
    vkLeft = 37,
    vkUp = 38,
    vkRight = 39,
    vkDown = 40,
    vkNumpad0 = 96,
    vkMultiply = 106,
    vkAdd = 107,
    vkSubtract = 109,
    vkDecimal = 110,
    vkDivide = 111,
};

// Hot-key modifier flags.
enum : unsigned { modAlt = 1, modControl = 2, modShift = 4 };

// Clears the list and fills it with the 61 key names, or the first 48 without the keypad.
void BuildKeyNameList(TStringList& target, bool withKeypad);

// The virtual key (0-255) of a KeyIndex. An index outside 0-60 is reported to the user and the
// keypad add key is used in its place.
int KeyIndexToVirtualKey(int keyIndex);

// The KeyIndex that a key pressed in a key field selects directly, or 0 when the key is left to
// the field's own handling (letters are found by typing, arrows move in the list).
int VirtualKeyToKeyIndex(int virtualKey);

// The entry of a key field's list that a pressed key selects, or -1 when the key press is not
// consumed: a keypad key in a field holding the short list selects nothing.
int KeyFieldSelection(int virtualKey, std::size_t entryCount);

// ModifierCode 0-5 as hot-key modifier flags; any other code gives 0.
unsigned ModifierToHotKeyFlags(int modifierCode);

// "Shift + Control", "Control + Alt", "Shift + Alt", "Control", "Alt", "Shift".
void BuildModifierList(TStringList& target);
// The call-key choices: "（なし）" then the first three modifier pairs. Stored value = position
// - 1.
void BuildCallKeyList(TStringList& target);
// The menu command keys: "（なし）", "Tab", "Enter", "Space", "End", "BackSpace", "Pause".
// Stored value = position - 1.
void BuildCommandKeyList(TStringList& target);

// True when the virtual key produces the menu command key while a menu is open; Pause also
// answers to Control + Break. Code -1 (none) matches nothing.
bool CommandKeyMatches(int commandKeyCode, int virtualKey);
