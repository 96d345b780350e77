// Showing, placing, keeping and hiding the menu window.
#include "core/FormRules.h"
#include "core/Unit1.h"
#include "system/SysInfoWin.h"

void TForm1::HookNotification(WPARAM wParam) {
    if (Destroying) return;
    switch (static_cast<int>(wParam)) {
    case 0:
    case 1:
        ClipboardMode = wParam == 1;
        if (!IsWindowVisible(Handle)) {
            PlaceMenu();
            return;
        }
        ShowMenu();
        return;
    case -1:
        if (!IsWindowVisible(Handle))
            OpenSettings(spRegistration);
        else
            ShowMenu();
        return;
    default:
        return;
    }
}

void TForm1::PlaceMenu() {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT window{};
    GetWindowRect(Handle, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    const TPointI at = MenuPosition(Settings.Position, GetSystemMetrics(SM_CXSCREEN),
                                    GetSystemMetrics(SM_CYSCREEN),
                                    TRectI{work.left, work.top, work.right, work.bottom}, w, h);
    SetWindowPos(Handle, nullptr, at.X, at.Y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowMenu();
}

void TForm1::ShowMenu() {
    Timer1.SetEnabled(true);
    Timer2.SetEnabled(false);
    if (!IsWindowVisible(Handle)) ShowWindow(Handle, SW_SHOW);
    if (SettingsDialog) {
        StopMenuTimers();
        if (!IsWindowVisible(SettingsDialog)) ShowWindow(SettingsDialog, SW_SHOW);
        BringToFront(SettingsDialog);
        return;
    }
    BringToFront(Handle);
    if (GetFocus() != Handle) SetFocus(Handle);
}

void TForm1::BringToFront(HWND window) {
    HWND app = Application().Handle();
    if (!UseAttach) {
        SetForegroundWindow(window);
        return;
    }
    const DWORD appThread = GetWindowThreadProcessId(app, nullptr);
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    if (appThread == foregroundThread) {
        BringWindowToTop(window);
        return;
    }
    // Windows lets only the thread that owns the foreground raise a window: share its input
    // state for the moment of the raise.
    AttachThreadInput(appThread, foregroundThread, TRUE);
    BringWindowToTop(app);
    BringWindowToTop(window);
    SetForegroundWindow(window);
    AttachThreadInput(appThread, foregroundThread, FALSE);
}

void TForm1::HideMenu() {
    if (!IsWindowVisible(Handle)) return;
    ShowWindow(Handle, SW_HIDE);
    // FormHide acts on the chosen line once the menu has lines.
    ItemIndex = -1;
}

int TForm1::CallPairHeld() const {
    auto held = [](int pair) {
        const auto keys = CallPairKeys(pair);
        return (GetAsyncKeyState(keys[0]) & GetAsyncKeyState(keys[1]) & 0x8000) != 0;
    };
    if (held(Settings.CallLauncherMenu)) return 0;
    if (held(Settings.CallClipboardMenu)) return 1;
    return -1;
}

void TForm1::AutoHideCheck() {
    if (AutoHideAllowed) {
        const int pair = CallPairHeld();
        if (pair == 0 || pair == 1) {
            ShowMenu();
        } else if (!SettingsDialog) {
            if (Settings.Hold && !HoldExpired) {
                // A held menu closes on a key release only when a line that can act is chosen.
                const bool valid = ItemIndex >= 0 && !ClipboardMode &&
                                   ItemIndex < LaunchItems->Count() &&
                                   !LaunchItems->GetPath(ItemIndex).empty();
                if (!valid) return;
            }
            HideMenu();
        }
    }
    HoldExpired = false;
}

void TForm1::StopMenuTimers() {
    Timer1.SetEnabled(false);
    Timer2.SetEnabled(false);
}

void TForm1::Timer1Timer() {
    AutoHideCheck();
}

void TForm1::Timer2Timer() {
    HoldExpired = true;
    AutoHideCheck();
}

void TForm1::MenuKeyUp() {
    Timer2.SetEnabled(true);
    AutoHideCheck();
}

void TForm1::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle, &ps);
    RECT client;
    GetClientRect(Handle, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(Handle, &ps);
}
