#pragma once
// The program's message boxes: every question and error goes through here so that all of them
// carry the application's caption.
#include <windows.h>

#include <string>

// Shows a modal message box owned by the window (nullptr for none) with the given MB_ flags;
// returns the button pressed (IDOK, IDYES, ...), or 0 when the box could not be shown.
int ShowMessageBox(HWND owner, const std::string& text, unsigned flags);
