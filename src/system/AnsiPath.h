#pragma once
// Paths the program is handed in UTF-16 (files dropped on it, chosen in the file and folder
// choosers) become the ANSI texts (code page 932) in which it keeps and starts them. A path is
// never cut and never changed into another: one that the code page cannot hold exactly is taken
// in its short (8.3) form when that form converts exactly, and one that is still longer than the
// system's path limit, or cannot be converted at all, is refused with a message that names it.
#include <windows.h>

#include <string>

// The ANSI path for the path; false when it is refused, and refusal then holds the message.
bool AnsiPathOf(const std::wstring& path, std::string& ansi, std::wstring& refusal);

// Shows a refusal of AnsiPathOf (stop icon, the program's caption).
void ShowPathRefusal(HWND owner, const std::wstring& refusal);
