// A skin library whose standard background is the empty definition: a 720 x 480 black window
// with the menu's own colours. The end-to-end tests that are not about skins run with it, so
// that what they measure does not change with the look of the shipped library. Not shipped.
#include <windows.h>

extern "C" BOOL WINAPI PlainReadIniFile(char* buffer, const char*) {
    buffer[0] = '\0';
    return TRUE;
}
