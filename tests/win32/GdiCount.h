#pragma once
// The GDI objects this process holds, for leak checks that can fail under Wine too. Windows
// counts them (GetGuiResources); Wine always answers 0 there, but its handle table takes a handle
// whose upper word is zero for the live object at that index, so there each index is asked.
#include <windows.h>

inline int GdiObjectCount() {
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted > 0) return static_cast<int>(counted);
    int live = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++live;
    return live;
}
