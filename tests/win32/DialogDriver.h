#pragma once
// Helpers of the tests that drive dialogs: the dialog runs modally on a thread of its own while
// the test finds it, reads its controls and presses its buttons.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>

#include "../e2e/DialogPages.h"
#include "TestFolder.h"

// A modal call (returning the dialog's result) on a thread of its own. A dialog the test leaves
// open is closed at the end, so that a failing test still ends.
class TModalRun {
public:
    template <class Call>
    explicit TModalRun(Call call)
        : FThread([this, call] {
              FThreadId = GetCurrentThreadId();
              FResult = call();
              FDone = true;
          }) {}
    ~TModalRun() {
        while (!FDone) {
            EnumThreadWindows(
                FThreadId,
                [](HWND window, LPARAM) {
                    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                    return TRUE;
                },
                0);
            Sleep(50);
        }
        FThread.join();
    }
    TModalRun(const TModalRun&) = delete;
    TModalRun& operator=(const TModalRun&) = delete;

    // The thread's identifier, 0 until it has started.
    DWORD ThreadId() const { return FThreadId; }
    // The call's result once it has returned; -1 when it does not return in time.
    int Result() {
        return WaitFor([this] { return FDone.load(); }) ? FResult : -1;
    }

private:
    std::atomic<DWORD> FThreadId{0};
    std::atomic<bool> FDone{false};
    int FResult = 0;
    std::thread FThread;
};

// The visible dialog (or message box) with the caption; nullptr when none shows up in time.
inline HWND WaitForDialog(const char* caption) {
    HWND found = nullptr;
    WaitFor([&] {
        found = FindWindowA("#32770", caption);
        return found != nullptr && IsWindowVisible(found) && DialogPagesMade(found);
    });
    return found;
}

// The visible dialog that the thread of the modal call shows, besides the one given (the dialog
// that opened it); nullptr when none shows up in time.
inline HWND WaitForDialogOf(const TModalRun& run, HWND besides = nullptr) {
    std::pair<HWND, HWND> search{besides, nullptr};
    WaitFor([&] {
        EnumThreadWindows(
            run.ThreadId(),
            [](HWND window, LPARAM result) {
                auto& [besides, found] = *reinterpret_cast<std::pair<HWND, HWND>*>(result);
                char name[16] = {};
                GetClassNameA(window, name, sizeof name);
                if (window == besides || std::string(name) != "#32770" ||
                    !IsWindowVisible(window) || !DialogPagesMade(window))
                    return TRUE;
                found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.second != nullptr;
    });
    return search.second;
}

// A control of the dialog or of one of its child dialogs (a tabbed dialog's pages).
inline HWND Descendant(HWND dialog, int id) {
    struct TFind {
        int Id;
        HWND Found = nullptr;
    } find{id};
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<TFind*>(data);
            if (GetDlgCtrlID(child) != f->Id) return TRUE;
            f->Found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.Found;
}

inline std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

inline std::string ControlText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

// A control's rectangle in its dialog's client coordinates.
inline RECT ControlRect(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline bool Checked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

inline void Click(HWND dialog, int id) {
    SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
}
