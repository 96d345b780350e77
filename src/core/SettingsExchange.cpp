// The settings dialog seen from the main form: opening it on a page (or switching the open one),
// handing it copies of the settings and the launcher table, and applying and saving what a
// confirmed dialog gives back, with the hook and the hot keys taken down meanwhile.
#include <algorithm>
#include <utility>

#include "clipboard/TextSet.h"
#include "core/FormRules.h"
#include "core/MainForm.h"
#include "dialogs/SettingsDialog.h"
#include "frame/Errors.h"
#include "frame/MessageBox.h"
#include "frame/Scale.h"
#include "system/PathText.h"
#include "system/PathsWin.h"

HWND TMainForm::SettingsDialog() const {
    return ActiveSettings ? ActiveSettings->Handle() : nullptr;
}

void TMainForm::OpenSettings(int page) {
    // The menu stays visible behind the dialog.
    PlaceMenu();
    if (ActiveSettings) {
        ActiveSettings->ShowPage(page);
        ShowWindow(*ActiveSettings, SW_SHOW);
        SetForegroundWindow(*ActiveSettings);
        return;
    }
    StopMenuTimers();
    // A window manager can stack the dialog above the menu only if it manages the menu. Wine
    // maps a window shown without activation outside the manager, above every window it
    // manages, and hands it to the manager at a change of the window made while it is active
    // (as at its first hiding): the menu, just shown and activated, is handed over here, or a
    // dialog opened before the menu's first call would show behind it.
    if (GetActiveWindow() == Handle)
        SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    TSettingsDialogData data;
    data.Settings = Settings;
    data.Menu = MenuSettings;
    data.Items.Assign(*LaunchItems);
    data.LauncherPage = ClipboardMode ? 1 : ListImage1.Menu().PageIndex();
    data.ProgramFolder = AddTrailingBackslash(ProgramFolder());
    data.SettingsPath = SettingsFile.Path();
    // The font page starts from the font the menu shows.
    const TMenuFont shown = ListImage1.Menu().Font();
    data.Menu.FontName = shown.Name;
    data.Menu.FontSize = shown.Size;
    data.Menu.FontBold = shown.Bold;
    data.Menu.FontItalic = shown.Italic;
    data.LayeredWindows = Layer->Enabled();
    data.PreviewTransparency = [this](int level) { Layer->ApplySetting(level); };
    data.SwitchTextSet = [this](const std::string& fileName) {
        ::SwitchTextSet(*History, ProgramFolder(), Settings.ListDir, fileName,
                        Settings.CurrentFile);
    };
    TSettingsDialog dialog(data);
    ActiveSettings = &dialog;

    RECT menu{};
    GetWindowRect(Handle, &menu);
    // Held inside the work area of the menu's monitor.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT work{};
    if (GetMonitorInfoA(MonitorFromWindow(Handle, MONITOR_DEFAULTTONEAREST), &monitor))
        work = monitor.rcWork;
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // The stored size is in pixels at 96 dots per inch; the dialog opens at the scale of the
    // menu's monitor, and its size goes back to 96 dots per inch as it is stored (below).
    // A size larger than the work area (stored on a larger screen) is reduced to it, so that the
    // title bar and the buttons stay in reach; the size stored at close is the one shown.
    const int dpi = ListImage1.Dpi();
    const int width = std::min<int>(ScaleToDpi(std::max(Settings.DialogWidth, MinDialogWidth), dpi),
                                    work.right - work.left);
    const int height =
        std::min<int>(ScaleToDpi(std::max(Settings.DialogHeight, MinDialogHeight), dpi),
                      work.bottom - work.top);
    const TPointI at = DialogPosition(TRectI{menu.left, menu.top, menu.right, menu.bottom}, width,
                                      height, TRectI{work.left, work.top, work.right, work.bottom});
    const INT_PTR result = dialog.Execute(Application().Handle(), page, at.X, at.Y, width, height);
    // The dialog is closed: a request from here on (a skin that cannot be made, say) opens a
    // new one.
    ActiveSettings = nullptr;
    HideMenu();
    // The size as the dialog closed, at the scale of the monitor it closed on (the user may have
    // moved it); taken now, as applying may open another dialog, which takes its own at its close.
    const SIZE size = dialog.CurrentSize();
    Settings.DialogWidth = DesignLengthAt(size.cx, dialog.CurrentDpi());
    Settings.DialogHeight = DesignLengthAt(size.cy, dialog.CurrentDpi());

    if (result == IDOK || result == SettingsQuitSaving) {
        ApplySettings(data);
    } else if (Layer->Enabled()) {
        // A transparency shown on trial goes back to the one set.
        Layer->ApplySetting(Settings.Transparent);
    }
    if (result != IDOK && result != SettingsQuitSaving && !SkinReady) {
        // The skin the user left broken gives way to the standard background.
        Settings.Skin.clear();
        SetupSkin();
        NotifyIcon(-1, NIM_MODIFY);
    }
    try {
        SettingsFile.SaveDialogSize(Settings.DialogWidth, Settings.DialogHeight);
    } catch (const EFileError& e) {
        ShowMessageBox(Application().Handle(), e.what(), MB_ICONSTOP);
    }
    if (result == SettingsQuitSaving || result == SettingsQuitDiscarding) Close();
}

void TMainForm::ApplySettings(const TSettingsDialogData& data) {
    UnregisterWindowKeys();
    // The shape of the look in use, for a new skin that cannot be made: the window keeps that
    // look's picture, and so its shape.
    KeepShape();
    ReleaseSkinRegion();
    RemoveHook();

    LaunchItems->Assign(data.Items);
    PageCount = PagesInUse(*LaunchItems);

    const bool hadClipboardKey = Settings.CallClipboardMenu != -1;
    // The text set in use was switched, if at all, while the dialog was open.
    const std::string currentFile = Settings.CurrentFile;
    const int dialogWidth = Settings.DialogWidth, dialogHeight = Settings.DialogHeight;
    Settings = data.Settings;
    Settings.CurrentFile = currentFile;
    // As the dialog closed, not as it opened.
    Settings.DialogWidth = dialogWidth;
    Settings.DialogHeight = dialogHeight;
    MenuSettings = data.Menu;
    if (!hadClipboardKey && Settings.CallClipboardMenu != -1) JoinClipboardChain();
    if (hadClipboardKey && Settings.CallClipboardMenu == -1) LeaveClipboardChain();
    History->SetMaxRecord(HistoryPageSize * std::clamp(Settings.TotalClipboardPage, 1, 3));
    int timer1 = 0, timer2 = 0;
    MenuTimerIntervals(Settings, timer1, timer2);
    Timer1.SetInterval(static_cast<UINT>(timer1));
    Timer2.SetInterval(static_cast<UINT>(timer2));
    // The move and resize keys are registered only while their group is switched on.
    MirrorStepKeys(Settings);
    // Applied even when unchanged: a trial in the dialog may have shown another level.
    Layer->ApplySetting(Settings.Transparent);
    ApplyMenuSettings();

    RegisterWindowKeys();
    SetupSkin();
    InstallHook();
    NotifyIcon(-1, NIM_MODIFY);
    // The next launcher call reads the names again.
    ClipboardMode = true;
    if (SettingsFile.Unreadable()) {
        ShowMessageBox(Application().Handle(),
                       "設定ファイル \"" + SettingsFile.Path() +
                           "\" は起動時に読み込めなかったため、変更を保存しません。\n"
                           "変更はこのプログラムを終了するまで有効です。",
                       MB_ICONSTOP);
        return;
    }
    try {
        SettingsFile.SaveSettings(Settings, *LaunchItems, MenuSettings);
    } catch (const EFileError& e) {
        ShowMessageBox(Application().Handle(), e.what(), MB_ICONSTOP);
    }
}
