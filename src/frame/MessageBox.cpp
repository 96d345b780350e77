#include "frame/MessageBox.h"

#include "frame/Platform.h"

int ShowMessageBox(HWND owner, const std::string& text, unsigned flags) {
    return MessageBoxA(owner, text.c_str(), AppCaption, flags);
}
