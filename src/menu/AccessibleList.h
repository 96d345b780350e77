#pragma once
// What the menu list's accessible object (MenuAccessible.h) asks of the list it describes, as
// the list answers at the moment of each question. The menu's list control fills it.
#include <windows.h>

#include <functional>
#include <string>

class TMenuImage;

struct TAccessibleList {
    HWND Window = nullptr;
    std::function<const TMenuImage&()> ShownMenu;
    // The menu's name ("ランチャ", "クリップボード"), which with the page names the list.
    std::function<const std::string&()> MenuTitle;
    // Whether the list has the keyboard.
    std::function<bool()> HasKeyboard;
    // The screen rectangle of the line at a child id (1..26 on the shown page); false for
    // another id.
    std::function<bool(int child, RECT& rect)> LineRect;
};
