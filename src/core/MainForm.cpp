#include "core/MainForm.h"

#include <algorithm>
#include <utility>

#include "core/FormRules.h"
#include "clipboard/TextSet.h"
#include "core/Mapping.h"
#include "menu/SkinDefinition.h"
#include "frame/Errors.h"
#include "frame/MessageBox.h"
#include "frame/Platform.h"
#include "system/HighContrast.h"
#include "system/PathsWin.h"
#include "system/SysInfoWin.h"
#include "system/SysText.h"

namespace {
// The menu window's class as earlier versions registered it: tools and users' scripts find the
// window by it.
const char FormClassName[] = "TForm1";
const char TrayClickedName[] = "TasktrayIconClicked";
const char TaskbarCreatedName[] = "TaskbarCreated";
// Past the age of a key reading that Wine answers from (50 ms).
constexpr UINT SecondLookDelay = 60;
// How long the hidden menu keeps its composed surface for the next call.
constexpr UINT SurfaceKeptHidden = 30000;
} // namespace

TMainForm::TMainForm(TMappingArea& mappingArea, TSettingsFile& settingsFile)
    : MappingArea(mappingArea), SettingsFile(settingsFile) {}

TMainForm::~TMainForm() {
    if (Handle) DestroyWindow(Handle);
    if (KeptShape) DeleteObject(KeptShape);
}

bool TMainForm::CreateForm() {
    // No frame, owned by the hidden application window so that it never has a taskbar button.
    if (!Create(FormClassName, Application().Title().c_str(), WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0,
                0, 0, Application().Handle()))
        return false;
    FormCreate();
    return true;
}

void TMainForm::Close() {
    FormCloseQuery();
    DestroyWindow(Handle);
}

void TMainForm::FormCreate() {
    HICON appIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    SetClassLongPtrA(Application().Handle(), GCLP_HICON, reinterpret_cast<LONG_PTR>(appIcon));
    ListImage1.Create(Handle);
    Layer = std::make_unique<TWindowLayer>(Handle);
    ListImage1.OnKeyDown = [this](std::uint16_t& key, TShiftState shift) {
        ListImage1KeyDown(key, shift);
    };
    ListImage1.OnKeyUp = [this](std::uint16_t& key, TShiftState shift) {
        ListImage1KeyUp(key, shift);
    };
    FixedWidth = FixedHeight = 0;
    const std::string folder = GetSwitchValue("-c;");
    if (!SwitchIsAbsent(folder)) {
        const std::string nearest = NearestExistingFolder(folder);
        if (!nearest.empty()) SetCurrentDirectoryA(nearest.c_str());
    }
    LaunchItems = std::make_unique<TLaunchItemTable>(LauncherItemCount);
    // Classifies the operating system once for the process.
    UseAttach = UseThreadAttach();
    ListImage1.Menu().SetItemIndex(-1);
    Stepping = false;
    HoldExpired = false;
    HookLibrary = nullptr;
    History = std::make_unique<THistoryStringList>();
    History->SetMaxRecord(HistoryPositions);
    History->SetProtect(false);
    ClipboardMode = true;
    AutoHideAllowed = true;
    Timer1.SetOwner(Handle);
    Timer2.SetOwner(Handle);
    Timer3.SetOwner(Handle);
    Timer3.SetInterval(SecondLookDelay);
    Timer4.SetOwner(Handle);
    Timer5.SetOwner(Handle);
    Timer6.SetOwner(Handle);
    Timer6.SetInterval(SurfaceKeptHidden);
    TrayMessage = RegisterWindowMessageA(TrayClickedName);
    TaskbarCreatedMessage = RegisterWindowMessageA(TaskbarCreatedName);
    CreatePopupMenu1();
    ReleaseModifierKeys();
    Application().AddIdleHandler([this] { return DeferredStartup(); });
}

void TMainForm::ReleaseModifierKeys() {
    // A start from a shortcut key may leave modifiers logically down in the system.
    for (BYTE key : {VK_SHIFT, VK_CONTROL, VK_MENU})
        if (GetAsyncKeyState(key) & 0x8000)
            keybd_event(key, static_cast<BYTE>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)),
                        KEYEVENTF_KEYUP, 0);
}

bool TMainForm::DeferredStartup() {
    Application().ClearIdleHandlers();
    const bool settingsFileExisted = Platform().FileExists(SettingsFile.Path());
    TStartupSettings startup;
    try {
        SettingsFile.LoadSettings(Settings, *LaunchItems, MenuSettings, startup,
                                  GetSwitchValue("-f;"));
    } catch (const EFileError& e) {
        ShowMessageBox(Application().Handle(), e.what(), MB_ICONSTOP);
    }
    if (startup.Unreadable)
        ShowMessageBox(Application().Handle(),
                       "設定ファイル \"" + SettingsFile.Path() +
                           "\" を読み込めませんでした。\n"
                           "ほかのプログラムが開いているか、読み取る権限がありません。\n\n"
                           "初期設定で動きます。このファイルは、次に起動するまで書き換えません。",
                       MB_ICONSTOP);
    ApplyLoadedSettings(startup);
    History->SetMaxRecord(HistoryPageSize * std::clamp(Settings.TotalClipboardPage, 1, 3));
    PrepareClipboardMenu(*History, startup.TextSetMode, startup.TextSetPath, false,
                         ProgramFolder());
    if (Settings.CallClipboardMenu != -1) JoinClipboardChain();

    if (!LoadHookLibrary()) {
        StopMenuTimers();
        ShowMessageBox(Application().Handle(), "DLLの呼び出しに失敗しました。確認してくださいね。",
                       MB_ICONSTOP);
        Application().Terminate();
        return true;
    }
    // The skin is shown at the scale of the monitor the menu would go to now.
    TSkinInfo unscaled;
    ListImage1.SetDpi(MenuTargetMonitor().Dpi, unscaled);
    SetupSkin();
    InstallHook();
    NotifyIcon(0, NIM_ADD);
    if (!settingsFileExisted && !startup.TookOver) {
        OpenSettings(spRegistration);
        return true;
    }
    HandForegroundBack();
    return true;
}

void TMainForm::ApplyLoadedSettings(const TStartupSettings& startup) {
    PageCount = startup.PagesInUse;
    RememberedPage = 1;
    ListImage1.Menu().SetPageIndex(1);
    ApplyMenuSettings();
    Layer->ApplySetting(Settings.Transparent);
    Timer1.SetInterval(static_cast<UINT>(startup.Timer1Interval));
    Timer2.SetInterval(static_cast<UINT>(startup.Timer2Interval));
    RegisterWindowKeys();
}

void TMainForm::ApplyMenuSettings() {
    TMenuImage& menu = ListImage1.Menu();
    TMenuFont font = menu.Font();
    if (!MenuSettings.FontName.empty()) font.Name = MenuSettings.FontName;
    font.Bold = MenuSettings.FontBold;
    font.Italic = MenuSettings.FontItalic;
    font.Size = MenuSettings.FontSize;
    menu.SetFont(font);
    menu.SetMaxLines(MenuSettings.Line);
}

void TMainForm::HandForegroundBack() {
    HWND foreground = GetForegroundWindow();
    HWND app = Application().Handle();
    if (foreground != app && foreground != Handle) return;
    HWND above = GetWindow(app, GW_HWNDPREV);
    if (above && above != Handle) return;
    for (HWND w = GetWindow(app, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE) {
            BringToFront(w);
            return;
        }
    }
}

void TMainForm::FormCloseQuery() {
    if (HideMenuOnClose(CommandLineArguments())) ShowWindow(Handle, SW_HIDE);
}

void TMainForm::FormDestroy() {
    Destroying = true;
    StopMenuTimers();
    SaveHistoryFile(SessionEnding ? THistorySave::SessionEnd : THistorySave::Closing);
    LeaveClipboardChain();
    RemoveHook();
    UnregisterWindowKeys();
    if (HookLibrary) {
        FreeLibrary(HookLibrary);
        HookLibrary = nullptr;
    }
    NotifyIcon(0, NIM_DELETE);
    ReleaseSkinRegion();
    if (SkinLibrary) FreeLibrary(std::exchange(SkinLibrary, nullptr));
    if (HideMenuOnClose(CommandLineArguments())) ShowWindow(Handle, SW_HIDE);
    if (PopupMenu1) DestroyMenu(PopupMenu1);
    PopupMenu1 = nullptr;
    for (HICON* icon : {&NormalIcon, &PausedIcon})
        if (*icon) DestroyIcon(std::exchange(*icon, nullptr));
    Application().Terminate();
}

bool TMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (MessageId != 0 && message == MessageId) {
        HookNotification(wParam);
        return true;
    }
    if (message == TrayMessage && TrayMessage != 0) {
        TrayClick(lParam);
        return true;
    }
    if (message == TaskbarCreatedMessage && TaskbarCreatedMessage != 0) {
        NotifyIcon(-1, NIM_ADD);
        return true;
    }
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            InvalidateRect(Handle, nullptr, FALSE);
        else
            AutoHideCheck();
        return true;
    case WM_SETFOCUS:
        // The keys inside the menu are the list's. An activation that does not come from the
        // menu's own showing ends with the focus on the form itself: under a window manager the
        // form's first raise while it is active hands it to the manager, which activates it
        // anew, and until the focus moved on, the letters pressed would choose nothing.
        if (!Destroying) SetFocus(ListImage1);
        return true;
    case WM_QUERYENDSESSION:
        result = 1;
        return true;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        // The standard background and the plain look follow the system's high-contrast mode
        // and its colours, composed into the skin's picture: they are made again.
        if (Settings.Skin.empty() &&
            (message == WM_SYSCOLORCHANGE ? HighContrastOn() : wParam == SPI_SETHIGHCONTRAST))
            SetupSkin();
        return false;
    case WM_GETOBJECT:
        // The menu's client area is its list: accessibility clients asking the window get the
        // list's object.
        if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT) || !ListImage1)
            return false;
        result = SendMessageA(ListImage1, WM_GETOBJECT, wParam, lParam);
        return true;
    case WM_CLIPBOARDUPDATE:
        OnClipboardChanged();
        return true;
    case WM_ENDSESSION:
        // The process may end as soon as this returns.
        if (wParam) {
            SessionEnding = true;
            SaveHistoryFile(THistorySave::SessionEnd);
        }
        PostQuitMessage(0);
        result = 0;
        return true;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (FixedWidth != 0)
            info->ptMaxSize.x = info->ptMinTrackSize.x = info->ptMaxTrackSize.x = FixedWidth;
        if (FixedHeight != 0)
            info->ptMaxSize.y = info->ptMinTrackSize.y = info->ptMaxTrackSize.y = FixedHeight;
        result = 0;
        return true;
    }
    case WM_DPICHANGED:
        // The menu moved to a monitor of another scale: it takes that scale where it stands,
        // rather than the size the system suggests for a window that only grows.
        ScaleMenu(LOWORD(wParam));
        result = 0;
        return true;
    case WM_HOTKEY:
        WindowKey(static_cast<int>(wParam));
        return true;
    case WM_TIMER:
        if (wParam == Timer1.TimerId()) Timer1Timer();
        if (wParam == Timer2.TimerId()) Timer2Timer();
        if (wParam == Timer3.TimerId()) Timer3Timer();
        if (wParam == Timer4.TimerId()) Timer4Timer();
        if (wParam == Timer5.TimerId()) Timer5Timer();
        if (wParam == Timer6.TimerId()) Timer6Timer();
        return true;
    case WM_SIZE:
        if (!Destroying)
            SetWindowPos(ListImage1, nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam),
                         SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && lParam == 0) {
            PopupMenuCommand(LOWORD(wParam));
            return true;
        }
        return false;
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_CLOSE:
        Close();
        return true;
    case WM_DESTROY:
        FormDestroy();
        return true;
    default:
        return false;
    }
}
