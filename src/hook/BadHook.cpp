// A hook library that lacks _GetID: the program must refuse it at start with its message.
#include <windows.h>

extern "C" LRESULT CALLBACK BadHookProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
