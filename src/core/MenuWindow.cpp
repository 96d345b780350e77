// Showing, placing, keeping and hiding the menu window.
#include <utility>
#include <vector>

#include "core/FormRules.h"
#include "core/MainForm.h"
#include "system/SysInfoWin.h"

namespace {

TRectI RectOf(const RECT& r) {
    return TRectI{r.left, r.top, r.right, r.bottom};
}

// The display monitors with their areas and scales (96 where the system cannot tell).
std::vector<TMonitor> DisplayMonitors() {
    using TGetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpi = [] {
        HMODULE shcore = LoadLibraryA("shcore.dll");
        return shcore ? reinterpret_cast<TGetDpiForMonitor>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    std::vector<TMonitor> monitors;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR handle, HDC, LPRECT, LPARAM data) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (!GetMonitorInfoA(handle, &info)) return TRUE;
            TMonitor monitor{RectOf(info.rcMonitor), RectOf(info.rcWork), 96,
                             (info.dwFlags & MONITORINFOF_PRIMARY) != 0};
            UINT x = 0, y = 0;
            if (getDpi && SUCCEEDED(getDpi(handle, 0, &x, &y)) && x > 0)
                monitor.Dpi = static_cast<int>(x);
            reinterpret_cast<std::vector<TMonitor>*>(data)->push_back(monitor);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

// Whether both keys of a call-key pair are down now, as the keyboard reports them.
bool PairDown(int pair) {
    const auto keys = CallPairKeys(pair);
    return (GetAsyncKeyState(keys[0]) & GetAsyncKeyState(keys[1]) & 0x8000) != 0;
}

} // namespace

void TMainForm::HookNotification(WPARAM wParam) {
    if (Destroying) return;
    switch (static_cast<int>(wParam)) {
    case 0:
    case 1:
        // The hook judges the pair by the key state of the application's thread. A thread that
        // lost the keyboard to the menu while the pair was held never saw its release, so a
        // lone Alt or Control pressed there later looks like the pair to it: only a pair that
        // is down on the keyboard calls the menu. A reading of "up" is taken again a moment
        // later before the call is dropped, as Wine may answer from a reading of the thread's
        // that is up to 50 ms old.
        Timer3.SetEnabled(false);
        PendingCall = static_cast<int>(wParam);
        if (CallPairDown(PendingCall))
            CallMenu();
        else
            Timer3.SetEnabled(true);
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

TMonitor TMainForm::MenuTargetMonitor() const {
    // The monitor of the window the user works in, or the one under the pointer.
    const std::vector<TMonitor> monitors = DisplayMonitors();
    RECT foreground{};
    HWND active = GetForegroundWindow();
    const bool hasWindow = active && IsWindowVisible(active) && !IsIconic(active) &&
                           GetWindowRect(active, &foreground);
    const TRectI activeRect = RectOf(foreground);
    POINT pointer{};
    GetCursorPos(&pointer);
    const int chosen =
        MenuMonitor(monitors, hasWindow ? &activeRect : nullptr, TPointI{pointer.x, pointer.y});
    if (chosen >= 0) return monitors[static_cast<std::size_t>(chosen)];
    TMonitor screen;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    screen.Screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    screen.Work = RectOf(work);
    return screen;
}

void TMainForm::PlaceMenu() {
    const TMonitor monitor = MenuTargetMonitor();
    // At the monitor's scale first, so that the place is worked out with the size there.
    ScaleMenu(monitor.Dpi);
    RECT window{};
    GetWindowRect(Handle, &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    const TPointI at = MenuPosition(Settings.Position, monitor.Screen, monitor.Work, w, h);
    // Each move costs the window system a round trip: only a new place is set.
    if (window.left != at.X || window.top != at.Y)
        SetWindowPos(Handle, nullptr, at.X, at.Y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowMenu();
}

void TMainForm::ShowMenu() {
    Timer1.SetEnabled(true);
    Timer2.SetEnabled(false);
    Timer6.SetEnabled(false);
    const bool shown = !IsWindowVisible(Handle);
    if (shown) {
        PreviousForeground = GetForegroundWindow();
        FormShow();
        // Shown on top in one call: the activation below then has nothing to raise.
        SetWindowPos(Handle, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        // Paint at once from the composed picture, before the round trips of the activation.
        RedrawWindow(Handle, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        ListImage1.AnnouncePopup(true);
    }
    if (HWND dialog = SettingsDialog()) {
        StopMenuTimers();
        if (!IsWindowVisible(dialog)) ShowWindow(dialog, SW_SHOW);
        BringToFront(dialog);
        return;
    }
    // A menu already in front is left as it is. Wine maps a window first shown without
    // activation outside the window manager and hands it over at its next change made while it
    // is active, unmapping and mapping it again, and the manager gives the keyboard back to the
    // application meanwhile: raised again at a key's release in the middle of the first call,
    // the menu lost the next key. Left alone, it is handed over as it hides.
    if (GetForegroundWindow() != Handle) BringToFront(Handle, shown);
    if (GetFocus() != ListImage1) SetFocus(ListImage1);
}

// Raises and activates without BringWindowToTop's own activating move: under Wine a window
// shown or moved with activation is handed to the (absent) window manager and then never gets
// the keyboard focus, while one activated afterwards takes it directly.
static void RaiseAndActivate(HWND window, bool raise) {
    if (raise)
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetForegroundWindow(window);
}

// raised: the window was just shown on top, and is only activated.
void TMainForm::BringToFront(HWND window, bool raised) {
    HWND app = Application().Handle();
    if (!UseAttach) {
        SetForegroundWindow(window);
        return;
    }
    const DWORD appThread = GetWindowThreadProcessId(app, nullptr);
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    if (appThread == foregroundThread) {
        RaiseAndActivate(window, !raised);
        return;
    }
    // Windows lets only the thread that owns the foreground raise a window: share its input
    // state for the moment of the raise. A system that grants the foreground directly needs no
    // sharing (and Wine loses the new focus when the threads part again).
    RaiseAndActivate(window, !raised);
    if (GetForegroundWindow() == window) return;
    AttachThreadInput(appThread, foregroundThread, TRUE);
    RaiseAndActivate(window, true);
    AttachThreadInput(appThread, foregroundThread, FALSE);
}

void TMainForm::HideMenu() {
    if (!IsWindowVisible(Handle)) return;
    ListImage1.AnnouncePopup(false);
    ShowWindow(Handle, SW_HIDE);
    // The list gives up the focus with the window, so that the next show moves the focus to it
    // again: only a change of focus makes Wine hand the keyboard to the window it has raised.
    if (GetFocus() == ListImage1) SetFocus(nullptr);
    Timer6.SetEnabled(true);
    FormHide();
}

void TMainForm::Timer6Timer() {
    Timer6.SetEnabled(false);
    // The composed surface makes a call in quick succession paint at once; after a quiet spell
    // the next call composes it again (a few milliseconds), and the idle program holds only its
    // picture.
    if (!IsWindowVisible(Handle)) ListImage1.ReleaseSurface();
}

int TMainForm::CallPairHeld() const {
    if (CallPairDown(0)) return 0;
    if (CallPairDown(1)) return 1;
    return -1;
}

void TMainForm::AutoHideCheck() {
    if (AutoHideAllowed) {
        const int pair = CallPairHeld();
        if (pair == 0 || pair == 1) {
            ShowMenu();
        } else if (!SettingsDialog()) {
            // A held menu closes on a key release only when a line that can act is chosen.
            if (Settings.Hold && !HoldExpired && !ChosenLineCanAct()) return;
            HideMenu();
        }
    }
    HoldExpired = false;
}

void TMainForm::StopMenuTimers() {
    Timer1.SetEnabled(false);
    Timer2.SetEnabled(false);
    Timer3.SetEnabled(false);
    PendingCall = -1;
}

void TMainForm::Timer1Timer() {
    AutoHideCheck();
}

void TMainForm::Timer2Timer() {
    HoldExpired = true;
    AutoHideCheck();
}

void TMainForm::Timer3Timer() {
    Timer3.SetEnabled(false);
    if (!Destroying && CallPairDown(PendingCall))
        CallMenu();
    else
        PendingCall = -1;
}

bool TMainForm::CallPairDown(int call) const {
    if (call == 0) return PairDown(Settings.CallLauncherMenu);
    if (call == 1) return PairDown(Settings.CallClipboardMenu);
    return false;
}

void TMainForm::CallMenu() {
    if (std::exchange(PendingCall, -1) == 0)
        ShowLauncherLines();
    else
        ShowClipboardLines();
    if (!IsWindowVisible(Handle)) {
        PlaceMenu();
        return;
    }
    ShowMenu();
}

bool TMainForm::ChosenLineCanAct() const {
    const TMenuImage& menu = ListImage1.Menu();
    const int i = menu.ItemIndex();
    if (i < 0 || i >= menu.Count()) return false;
    if (ClipboardMode) return !menu.Items()[i].empty();
    return i < LaunchItems->Count() && !LaunchItems->GetPath(i).empty();
}
