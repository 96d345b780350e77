#pragma once
// Whether a dialog has made all its pages: the settings dialog shows with the page in sight made
// and makes the others right after, one by one, while it already answers. A test that reads a
// control of another page waits for them, as a user choosing that tab would be given it made.
#include <windows.h>

#include <commctrl.h>

#include <string>

inline bool DialogPagesMade(HWND dialog) {
    HWND tabs = FindWindowExA(dialog, nullptr, WC_TABCONTROLA, nullptr);
    if (tabs == nullptr) return true;
    const LRESULT tabCount = SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0);
    LRESULT pages = 0;
    for (HWND child = FindWindowExA(dialog, nullptr, "#32770", nullptr); child != nullptr;
         child = FindWindowExA(dialog, child, "#32770", nullptr))
        ++pages;
    return pages >= tabCount;
}
