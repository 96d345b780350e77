#pragma once
// Values that the program's accessible objects hand to screen readers.
#include <windows.h>

#include <oleauto.h>

#include <string>

// A code page 932 text as a new BSTR (an empty one for an empty text); nullptr when it cannot be
// made.
inline BSTR Cp932Bstr(const std::string& text) {
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(932, 0, text.data(), size, nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (result) MultiByteToWideChar(932, 0, text.data(), size, result, length);
    return result;
}

// A number in a VARIANT: a child's identifier, a role, a state.
inline void SetLongVariant(VARIANT* to, long value) {
    VariantInit(to);
    to->vt = VT_I4;
    to->lVal = value;
}
