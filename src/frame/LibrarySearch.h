#pragma once
// Where the system looks for a library that is loaded by name: only the system folder and the
// program's own folder. The default search also tries the current folder, and a program started
// from a downloads folder would then run a library of a known name that was left there. Called
// first thing by each of the program's executables, before any library is loaded on demand.
#include <windows.h>

inline void RestrictLibrarySearch() {
    // Looked up rather than linked: systems before the loader update that brought it lack it.
    using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<TSetDefaultDllDirectories>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (!setDefault ||
        !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR))
        SetDllDirectoryA(""); // at least the current folder leaves the search
}
