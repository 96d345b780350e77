// A small application for the end-to-end tests, built for 64 and for 32 bits: a top-level window
// with an edit control that holds the keyboard focus. Command line: x y width height. The tests
// ask it with the registered message "MirtoTestTarget": wParam 0 or 1 sets the edit control's
// input method closed or open and answers 1; wParam 2 answers 1 when it is open, 0 when closed,
// and -1 when the edit control has no input context; wParam 3 answers how many key releases
// (WM_KEYUP, WM_SYSKEYUP) the program has taken from its queue, by which time the keyboard hook
// has seen them; wParam 4 answers 1 when the 32-bit hook library is loaded in the process;
// wParam 5 answers how many times V went down while Control and Shift were both down.
#include <windows.h>

#include <imm.h>

#include <cstdlib>

namespace {

HWND Edit = nullptr;
UINT RequestMessage = 0;
LRESULT KeyUps = 0;
LRESULT ShiftControlV = 0;

LRESULT Request(WPARAM request) {
    if (request == 3) return KeyUps;
    if (request == 4) return GetModuleHandleA("Mirto32.dll") != nullptr ? 1 : 0;
    if (request == 5) return ShiftControlV;
    HIMC context = ImmGetContext(Edit);
    if (context == nullptr) return -1;
    LRESULT answer = 1;
    if (request == 2)
        answer = ImmGetOpenStatus(context) ? 1 : 0;
    else
        ImmSetOpenStatus(context, request == 1 ? TRUE : FALSE);
    ImmReleaseContext(Edit, context);
    return answer;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == RequestMessage && RequestMessage != 0) return Request(wParam);
    switch (message) {
    case WM_SIZE:
        if (Edit != nullptr) MoveWindow(Edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(Edit);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int Argument(int index, int fallback) {
    return index < __argc ? std::atoi(__argv[index]) : fallback;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RequestMessage = RegisterWindowMessageA("MirtoTestTarget");
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "MirtoTestTarget";
    if (!RegisterClassA(&windowClass)) return 1;
    // An application's window to a window manager, which then gives it the keyboard as it
    // comes to the front.
    HWND window = CreateWindowExA(
        WS_EX_APPWINDOW, windowClass.lpszClassName, sizeof(void*) == 4 ? "target 32" : "target 64",
        WS_POPUP | WS_BORDER, Argument(1, 40), Argument(2, 40), Argument(3, 200), Argument(4, 120),
        nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    // A Unicode edit control, so that pasted texts keep characters of any code page.
    Edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL,
                           0, 0, 10, 10, window, nullptr, instance, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    MoveWindow(Edit, 0, 0, client.right, client.bottom, FALSE);
    ShowWindow(window, SW_SHOW);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) ++KeyUps;
        if (msg.message == WM_KEYDOWN && msg.wParam == 'V' && (GetKeyState(VK_SHIFT) & 0x8000) &&
            (GetKeyState(VK_CONTROL) & 0x8000))
            ++ShiftControlV;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
