#include "frame/Window.h"

#include <exception>

#include "frame/MessageBox.h"

TCustomWindow::~TCustomWindow() {
    Destroy();
}

bool TCustomWindow::Create(const char* className, const char* caption, DWORD style, DWORD exStyle,
                           int x, int y, int width, int height, HWND parent, HICON icon) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    if (!GetClassInfoExA(instance, className, &wc)) {
        wc = WNDCLASSEXA{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hIcon = icon;
        wc.lpszClassName = className;
        if (!RegisterClassExA(&wc)) return false;
    }
    return CreateWindowExA(exStyle, className, caption, style, x, y, width, height, parent, nullptr,
                           instance, this) != nullptr;
}

void TCustomWindow::Destroy() {
    if (Handle) DestroyWindow(Handle);
}

bool TCustomWindow::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

void TCustomWindow::OnException(const std::string& message) {
    Application().ShowException(message);
}

LRESULT CALLBACK TCustomWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TCustomWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self =
            static_cast<TCustomWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->Handle = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    bool handled = false;
    try {
        handled = self->OnMessage(message, wParam, lParam, result);
    } catch (const std::exception& e) {
        self->OnException(e.what());
    } catch (...) {
        self->OnException({});
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->Handle = nullptr;
    }
    return handled ? result : DefWindowProcA(hwnd, message, wParam, lParam);
}

void TTimer::SetInterval(UINT milliseconds) {
    if (milliseconds == Milliseconds) return;
    Milliseconds = milliseconds;
    Restart();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == IsEnabled) return;
    IsEnabled = enabled;
    Restart();
}

void TTimer::Restart() {
    Stop();
    if (IsEnabled && Milliseconds > 0 && Owner)
        Running = SetTimer(Owner, Id, Milliseconds, nullptr);
}

void TTimer::Stop() {
    if (Running && Owner) KillTimer(Owner, Id);
    Running = false;
}

namespace {
const char AppWindowClass[] = "MirtoApplication";

LRESULT CALLBACK AppWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
} // namespace

TApplication& Application() {
    static TApplication application;
    return application;
}

bool TApplication::Initialize(HINSTANCE instance, const std::string& title, HICON icon) {
    InstanceHandle = instance;
    AppTitle = title;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = AppWindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.lpszClassName = AppWindowClass;
    RegisterClassExA(&wc);
    // A hidden, zero-sized top-level window: the owner of the main form and the window that a
    // second start talks to until the hook is installed.
    Window = CreateWindowExA(WS_EX_TOOLWINDOW, AppWindowClass, title.c_str(),
                             WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                             0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (Window) ShowWindow(Window, SW_HIDE);
    return Window != nullptr;
}

TApplication::~TApplication() {
    if (Window) DestroyWindow(Window);
}

void TApplication::HandleMessage(MSG& msg) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

bool TApplication::RunIdle() {
    // A handler may add or remove handlers while it runs: walk a copy.
    auto handlers = IdleHandlers;
    bool done = true;
    for (auto& handler : handlers)
        done = handler() && done;
    return done;
}

int TApplication::Run() {
    MSG msg{};
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) break;
            HandleMessage(msg);
            continue;
        }
        // The queue is empty: an idle moment. Sleep only when every idle handler is done.
        if (IdleHandlers.empty() || RunIdle()) WaitMessage();
    }
    IsTerminated = true;
    return static_cast<int>(msg.wParam);
}

void TApplication::ProcessMessages() {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for the main loop to see.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        HandleMessage(msg);
    }
}

void TApplication::Terminate() {
    // Only tells the loop to end: work already under way finishes first.
    if (!IsTerminated) PostQuitMessage(0);
    IsTerminated = true;
}

void TApplication::ShowException(const std::string& message) {
    ShowMessageBox(Window, message.empty() ? std::string("Error") : message, MB_ICONSTOP);
}
