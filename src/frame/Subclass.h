#pragma once
// Subclasses of controls, kept in the program's own table. They work as the common controls'
// own do (the subclass added last sees a message first and passes it on with DefSubclass), but
// the common controls keep a window's subclasses in a window property, and under Wine a window's
// properties live in the window server: each message to a control with two subclasses asked the
// server three times.
//
// A window is subclassed, passed on and released on the thread that made it.
#include <windows.h>

#include <commctrl.h>

bool SetSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
bool RemoveSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id);
// The message to the next subclass, and after the last to the window's own procedure.
LRESULT DefSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
