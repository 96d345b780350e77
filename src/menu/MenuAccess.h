#pragma once
// What an accessibility client (a screen reader) is told of the menu: the list named after the
// menu and its page, and one list item per position of the shown page. Child ids 1 to 26 are
// the positions A to Z of the page shown; 0 is the list itself. The Win32 layer translates these
// answers into the system's accessibility interface and converts the texts to Unicode.
#include <string>
#include <string_view>

#include "menu/MenuModel.h"

// The characters of a line's text that are spoken; a longer text (a copied page, say) is cut
// there and ends with "…".
inline constexpr int SpokenCharacters = 80;

// The list's name: the menu's name and the shown page of the page count, "ランチャ 1/3".
std::string MenuListName(std::string_view menuName, const TMenuImage& menu);

// The line of a child id on the shown page, -1 for an id outside 1..26.
int MenuLineOfChild(const TMenuImage& menu, int child);
// The child id of a line, 0 when the line is not on the shown page.
int MenuChildOfLine(const TMenuImage& menu, int index);

// A line's name as it is shown: its letter label and its text, "A. メモ帳". Line breaks, tabs
// and other control characters read as one space each run; the text is cut to SpokenCharacters
// characters (a double-byte character counting as one). A vacant position is its label alone.
std::string MenuLineName(const TMenuImage& menu, int child);

// The text as it is spoken: control characters as single spaces, blanks at the ends dropped,
// at most maxCharacters characters, then "…" when anything was cut.
std::string SpokenText(std::string_view text, int maxCharacters = SpokenCharacters);

struct TMenuLineState {
    bool Selected = false;    // the chosen line
    bool Focused = false;     // the chosen line while the list has the keyboard
    bool Unavailable = false; // a vacant line or a position past the last line

    bool operator==(const TMenuLineState&) const = default;
};
TMenuLineState MenuLineState(const TMenuImage& menu, int child, bool listFocused);
