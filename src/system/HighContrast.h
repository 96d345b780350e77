#pragma once
// Whether the user has the system's high-contrast mode on: the standard background and the
// plain look then draw with the system's colours.
#include <windows.h>

inline bool HighContrastOn() {
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}
