// System-wide hot keys that act on the foreground window.
#include "core/FormRules.h"
#include "core/MainForm.h"
#include "settings/KeyCode.h"

namespace {
// The window keys act on other programs' windows only. A click on the tray icon brings the hidden
// application window to the front; maximising, minimising, restoring, moving or resizing it (or
// the menu, or a message box of ours) would show a window that must stay as the program keeps it.
bool IsOwnWindow(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}
} // namespace

void TMainForm::RegisterWindowKeys() {
    for (int id : WindowKeyRegistrationOrder) {
        TWindowKey& key = Settings.WindowKeys[id];
        if (key.Enabled == WindowKeyDisabled) continue;
        UINT modifiers, virtualKey;
        if (id == wkTrayMenu) {
            modifiers = MOD_CONTROL;
            virtualKey = 226;
        } else if (id >= wkMoveLeft && id <= wkSizeDown) {
            const bool move = id <= wkMoveDown;
            const int shared = move ? Settings.MoveKey : Settings.SizeKey;
            if (shared < 0) continue;
            modifiers = ModifierToHotKeyFlags(shared);
            const auto& directions = move ? Settings.MoveDirection : Settings.SizeDirection;
            virtualKey = KeyIndexToVirtualKey(directions[(id - wkMoveLeft) % 4]);
        } else {
            modifiers = ModifierToHotKeyFlags(key.Key2);
            virtualKey = KeyIndexToVirtualKey(key.Key1);
        }
        key.Enabled = RegisterHotKey(Handle, id, modifiers, virtualKey) ? 1 : 0;
    }
}

void TMainForm::UnregisterWindowKeys() {
    for (int id = 0; id < WindowKeyCount; ++id) {
        if (Settings.WindowKeys[id].Enabled != 1) continue;
        UnregisterHotKey(Handle, id);
        Settings.WindowKeys[id].Enabled = WindowKeyEnabled;
    }
}

void TMainForm::WindowKey(int id) {
    HWND w = GetForegroundWindow();
    const bool other = w && !IsOwnWindow(w);
    switch (id) {
    case wkMaximize:
        if (other) ShowWindow(w, SW_MAXIMIZE);
        return;
    case wkMinimize:
        if (other) {
            HWND owner = GetWindow(w, GW_OWNER);
            if (!owner || !IsOwnWindow(owner)) ShowWindow(owner ? owner : w, SW_MINIMIZE);
        }
        return;
    case wkRestore:
        if (other) ShowWindow(w, SW_RESTORE);
        return;
    case wkPause:
        TogglePause();
        return;
    case wkScreenSaver:
        PostMessageA(Handle, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
        return;
    case wkTrayMenu:
        return;
    default:
        if (id >= wkMoveLeft && id <= wkMoveDown)
            StepWindow(id - wkMoveLeft, Settings.MoveValue, false);
        else if (id >= wkSizeLeft && id <= wkSizeDown)
            StepWindow(id - wkSizeLeft, Settings.SizeValue, true);
        return;
    }
}

void TMainForm::StepWindow(int direction, int step, bool resize) {
    if (Stepping) return;
    Stepping = true;
    HWND w = GetForegroundWindow();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (w && !IsOwnWindow(w) && GetWindowPlacement(w, &placement) &&
        placement.showCmd != SW_SHOWMAXIMIZED) {
        RECT r{};
        GetWindowRect(w, &r);
        const TRectI next =
            SteppedRect(TRectI{r.left, r.top, r.right, r.bottom}, direction, step, resize);
        MoveWindow(w, next.Left, next.Top, next.Width(), next.Height(), TRUE);
    }
    Stepping = false;
}
