#pragma once
// The standard background that Skin.dll builds from the settings file when no skin is chosen:
// a skin definition made from the [Window] keys the program leaves to the library and from the
// [Color] section.
//
// [Window]
//   Width        the window's width, 320..1600 (default 560)
//   LineSpace    pixels between menu lines, 0..32 (default 4); the window's height follows it
//   TopPanel     1 (default): a title panel across the top, with the page marks on it
//   BottomPanel  1 (default): a panel across the bottom, with the protect mark on it
//   HideGirl     1: no emblem at the panel's left (default 0: the library's emblem is drawn)
//   ChangeIcon   1: the tray shows EnableIcon and DisableIcon (icon files, relative to the
//                skin folder or full paths) instead of the program's own icons
// [Color], each a colour name or number, an invalid one counting as absent:
//   Background (clNavy), Panel ($00603010), Text (clWhite), Selected (clYellow), Shadow (none)
//
// With the system's high-contrast mode on, the [Color] section gives way to the system's
// colours: the window's background for the background and panels, the window text for the
// lines, the highlight for the chosen line, and no shadow.
//
// The pictures it names without a file extension (Emblem, Page1..Page3, Protect) are the
// library's own, drawn by the library (StandardSkinImageNames).
#include <array>
#include <string>

#include "frame/StringList.h"
#include "settings/IniStr.h"

// The definition text, lines ended with CR LF.
std::string BuildStandardSkin(const TIniStringList& settings, bool highContrast = false);

// The plain look is the menu of a definition without keys (720 x 480, aqua lines on black).
// With high contrast on it draws with the system's colours as the standard background does;
// other definitions are returned as they are, a designed skin being shown as designed.
TStringList PlainLookLines(const TStringList& definition, bool highContrast);

// The names of the pictures the library supplies.
inline constexpr std::array<const char*, 5> StandardSkinImageNames = {"Emblem", "Page1", "Page2",
                                                                      "Page3", "Protect"};
