#pragma once
// The program's side of the named shared area through which the keyboard hook library learns the
// window to notify, the notification message and the call keys. A running copy creates the area
// once at start and keeps it open for its whole run; a second copy only reads it to find the
// running one.
#include <windows.h>

#include "core/ShareData.h"

class TMappingArea {
public:
    TMappingArea() = default;
    ~TMappingArea();
    TMappingArea(const TMappingArea&) = delete;
    TMappingArea& operator=(const TMappingArea&) = delete;

    // Creates the area for the window and fills the record with the window, its process and thread
    // and zeros. False with the last error ERROR_ALREADY_EXISTS when another copy holds the area;
    // false when it cannot be created, mapped or flushed (a created area stays open until
    // CloseMappingArea).
    bool CreateMappingArea(HWND window);
    // Closes the area; false when none was open or closing failed.
    bool CloseMappingArea();
    // Reads the record (bytes 0-29) from the area, found by name. False when there is no area or
    // it cannot be mapped. Leaves the last error as it was, except for a failure to map.
    bool GetMappingData(TShareData& data) const;
    // Writes the record (bytes 0-29) into the area, found by name, and flushes it.
    bool SetMappingData(TShareData data);

    HWND GetHostWindow() const { return FHostWindow; }

private:
    HANDLE FMapping = nullptr;
    HWND FHostWindow = nullptr;
};
