#pragma once
// What the menu list's accessible object (MenuAccessible.h) asks of the list it describes; the
// menu's list control answers.
#include <windows.h>

#include <string>

class TMenuImage;

class TAccessibleList {
public:
    virtual HWND ListWindow() const = 0;
    virtual const TMenuImage& Menu() const = 0;
    // The menu's name ("ランチャ", "クリップボード"), which with the page names the list.
    virtual const std::string& MenuName() const = 0;
    // Whether the list has the keyboard.
    virtual bool Focused() const = 0;
    // The screen rectangle of the line at a child id (1..26 on the shown page); false for
    // another id.
    virtual bool LineScreenRect(int child, RECT& rect) = 0;

protected:
    ~TAccessibleList() = default;
};
