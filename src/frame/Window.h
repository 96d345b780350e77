#pragma once
// Window plumbing that a window framework would otherwise give: a thin handle wrapper, a base
// class whose one window procedure dispatches to virtual handlers, timers, and the application
// object with its hidden window and a message loop that runs idle handlers.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A library's export as the function type it has, or nullptr when the library lacks it.
template <class TFunction> TFunction LibraryExport(HMODULE library, const char* name) {
    return reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// A window handle with conveniences. It wraps; it does not own.
class TWindow {
public:
    TWindow() = default;
    explicit TWindow(HWND handle) : Handle(handle) {}
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    operator HWND() const { return Handle; }
    void Attach(HWND handle) { Handle = handle; }
    HWND Detach() {
        HWND h = Handle;
        Handle = nullptr;
        return h;
    }

protected:
    HWND Handle = nullptr;
};

// A window of our own class. The object is bound to its handle on WM_NCCREATE and unbound on
// WM_NCDESTROY; no C++ exception ever crosses back into the system.
class TCustomWindow : public TWindow {
public:
    virtual ~TCustomWindow();

    // Registers the class on first use and creates the window.
    bool Create(const char* className, const char* caption, DWORD style, DWORD exStyle, int x,
                int y, int width, int height, HWND parent = nullptr, HICON icon = nullptr);
    void Destroy();

protected:
    // Returns true when the message was handled; result is then the answer.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Called with the message of an exception that escaped a handler.
    virtual void OnException(const std::string& message);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// A window timer. An interval of 0 keeps the timer silent even while enabled.
class TTimer {
public:
    TTimer(UINT_PTR id) : Id(id) {}
    ~TTimer() { Stop(); }
    void SetOwner(HWND owner) { Owner = owner; }
    void SetInterval(UINT milliseconds);
    void SetEnabled(bool enabled);
    UINT_PTR TimerId() const { return Id; }

private:
    void Restart();
    void Stop();
    HWND Owner = nullptr;
    UINT_PTR Id;
    UINT Milliseconds = 0;
    bool IsEnabled = false;
    bool Running = false;
};

// The application object: a hidden top-level window that owns the main form, the title, and the
// message loop. Idle handlers run when the queue is empty; a handler that returns true has
// finished its work for this idle moment.
class TApplication {
public:
    using TIdleHandler = std::function<bool()>;

    bool Initialize(HINSTANCE instance, const std::string& title, HICON icon);
    HWND Handle() const { return Window; }
    HINSTANCE Instance() const { return InstanceHandle; }
    const std::string& Title() const { return AppTitle; }

    void AddIdleHandler(TIdleHandler handler) { IdleHandlers.push_back(std::move(handler)); }
    void ClearIdleHandlers() { IdleHandlers.clear(); }

    // Runs the loop until Terminate; returns the exit code of WM_QUIT.
    int Run();
    // Handles every message waiting in the queue, then returns.
    void ProcessMessages();
    // Asks the loop to end (posts the quit message once).
    void Terminate();

    // Exception display for errors that reach the loop.
    void ShowException(const std::string& message);

    ~TApplication();

private:
    void HandleMessage(MSG& msg);
    bool RunIdle();
    HWND Window = nullptr;
    HINSTANCE InstanceHandle = nullptr;
    std::string AppTitle;
    std::vector<TIdleHandler> IdleHandlers;
    bool IsTerminated = false;
};

TApplication& Application();
