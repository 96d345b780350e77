#pragma once
// The main form: the menu window and the owner of all run-time state. Its units:
// MainForm.cpp (creation, deferred start-up, shutdown, message table), MenuWindow.cpp (showing,
// placing and hiding the menu, timers), HookChannel.cpp (hook library, hook, pause),
// WindowKeys.cpp (window hot keys), Tray.cpp (tray icon and popup menu).
#include <windows.h>
#include <shellapi.h>

#include <map>
#include <memory>
#include <string>

#include "clipboard/CHistory.h"
#include "core/FormRules.h"
#include "frame/Window.h"
#include "launcher/LaunchItem.h"
#include "menu/Layer.h"
#include "menu/ListImage.h"
#include "settings/Setting.h"

#include "clipboard/CaptureRetry.h"

class TSettingsDialog;
class TMappingArea;
struct TSettingsDialogData;
class TStringList;
struct TClipboardText;

// Settings dialog pages, as the tray menu and the menu keys name them.
enum TSettingsPage : int {
    spRegistration = 0,
    spWindowKeys = 1,
    spFont = 2,
    spBackground = 3,
    spVersion = 4,
    spCallKeys = 5,
    spClipboard = 6,
    spPosition = 7,
};

// Command identifiers of the tray's popup menu, one block, numbers frozen.
enum TPopupCommand : int {
    cmKeyConfig = 101,
    cmClip = 102,
    cmCallKey = 103,
    cmWindowKey = 104,
    cmFontSetting = 105,
    cmColorSetting = 106,
    cmPosition = 107,
    cmCloseKey = 108,
    cmPause = 109,
    cmVersion = 110,
};

// When the history file is written: a few seconds after a change, when the program closes, or
// when the session ends (with nobody left to tell of a failure).
enum class THistorySave { Timed, Closing, SessionEnd };

class TMainForm : public TCustomWindow {
public:
    TMainForm(TMappingArea& mappingArea, TSettingsFile& settingsFile);
    ~TMainForm() override;

    // Creates the window and runs FormCreate.
    bool CreateForm();
    // Asks the form to close (FormCloseQuery, then destruction and the end of the loop).
    void Close();

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Start-up and shutdown.
    void FormCreate();
    bool DeferredStartup();
    void FormCloseQuery();
    void FormDestroy();
    void ReleaseModifierKeys();
    void HandForegroundBack();
    // The skin: the standard background of the skin library when the "Skin" setting is empty,
    // otherwise the skin file it names (SkinSetup.cpp).
    void SetupSkin();
    // The window takes the skin's size as its fixed size, and the region (owned by the window
    // from now on) or, without one, no shape.
    void TakeSkinShape(const TSkinInfo& skin, HRGN region);
    // Shows the menu at the scale of a monitor (dots per inch), its window sized and shaped anew.
    void ScaleMenu(int dpi);
    bool ReadStandardSkin(TStringList& lines, std::string& failure);
    void ReleaseSkinRegion();
    // Copies the window's shape for the next skin set-up, which gives it back to the window when
    // the skin cannot be made and the earlier picture stays.
    void KeepShape();
    void ApplyLoadedSettings(const TStartupSettings& startup);
    // The settings dialog (SettingsExchange.cpp).
    void OpenSettings(int page);
    void ApplySettings(const TSettingsDialogData& data);

    // Hook channel.
    bool LoadHookLibrary();
    void InstallHook();
    void RemoveHook();
    void StartHook32();
    void StopHook32();
    void TogglePause();

    // Menu window.
    void HookNotification(WPARAM wParam);
    // Whether the pair of the launcher (0) or clipboard (1) call key is down on the keyboard.
    bool CallPairDown(int call) const;
    // Shows the menu of the call in PendingCall.
    void CallMenu();
    void PlaceMenu();
    // The monitor the menu goes to now (FormRules' MenuMonitor), the primary screen's areas when
    // the system lists none.
    TMonitor MenuTargetMonitor() const;
    void ShowMenu();
    void BringToFront(HWND window, bool raised = false);
    void HideMenu();
    int CallPairHeld() const;
    void AutoHideCheck();
    void StopMenuTimers();
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void ListImage1KeyDown(std::uint16_t& key, TShiftState shift);
    void ListImage1KeyUp(std::uint16_t& key, TShiftState shift);
    int MenuKey(int code);
    bool ChosenLineCanAct() const;

    // Menu contents and the chosen line.
    void ShowLauncherLines();
    void ShowClipboardLines();
    void RestoreLauncherPage();
    void FormShow();
    void FormHide();
    void ApplyMenuSettings();

    // Clipboard capture, paste and the history file.
    bool JoinClipboardChain();
    void LeaveClipboardChain();
    void OnClipboardChanged();
    // Reads the copied text into the history, or schedules another try when the clipboard is
    // busy (Timer5).
    void CaptureClipboard();
    void Timer5Timer();
    void Record(const TClipboardText& text);
    void HistoryChanged();
    void Timer4Timer();
    // Gives up the menu's off-screen surface once the menu has been hidden for a while (Timer6).
    void Timer6Timer();
    void SaveHistoryFile(THistorySave moment);
    void PasteChosenText(int position);
    bool PasteOnIdle();

    // Window keys.
    void RegisterWindowKeys();
    void UnregisterWindowKeys();
    void WindowKey(int id);
    void StepWindow(int direction, int step, bool resize);

    // Tray icon and popup menu.
    void NotifyIcon(int state, int operation);
    void TrayClick(LPARAM mouseMessage);
    void LoadTrayIcon(HICON& icon, const std::string& fileName, int fallbackIndex);
    void CreatePopupMenu1();
    void PopupMenuCommand(int command);

    TMappingArea& MappingArea;
    TSettingsFile& SettingsFile;
    TSettingData Settings;
    TMenuSettings MenuSettings;
    std::unique_ptr<TLaunchItemTable> LaunchItems;
    int PageCount = 1;

    // Menu state.
    TListImage ListImage1;
    // The menu window's transparency ([Window] "Transparent").
    std::unique_ptr<TWindowLayer> Layer;
    int RememberedPage = 1;
    // The clipboard menu's lines: fixed texts and the history of copied texts.
    std::unique_ptr<THistoryStringList> History;
    bool ClipboardJoined = false;
    // The clipboard's sequence number after our own last write, whose change notification
    // arrives after the write has been taken into the history.
    DWORD OwnClipboardWrite = 0;
    // The Unicode texts of history entries copied in this run, by their ANSI text.
    std::map<std::string, std::wstring> UnicodeTexts;
    // The window that was in front when the menu appeared: the paste goes there.
    HWND PreviousForeground = nullptr;
    // Writes the history a few seconds after it last changed, and tries a failed write again.
    TTimer Timer4{4};
    // Timed writes that failed one after another; a failure has been reported once; the session
    // is ending.
    int HistorySaveFailures = 0;
    bool HistorySaveReported = false;
    bool SessionEnding = false;
    // Tries to read a copy again while another program holds the clipboard open.
    TTimer Timer5{5};
    // The menu hidden for a while: a resident program holds no more than it needs between calls.
    TTimer Timer6{6};
    TCaptureRetry CaptureRetry;
    bool ClipboardMode = true;
    bool AutoHideAllowed = true;
    bool HoldExpired = false;
    bool Destroying = false;
    // The settings dialog while it is open, and its window (nullptr when none is open).
    TSettingsDialog* ActiveSettings = nullptr;
    HWND SettingsDialog() const;
    int FixedWidth = 0, FixedHeight = 0;
    // Skin: the skin library, loaded once for the standard background and kept until the end;
    // whether the last set-up made a skin; whether the window has a skin's region.
    HMODULE SkinLibrary = nullptr;
    bool SkinReady = false;
    bool Shaped = false;
    HRGN KeptShape = nullptr;
    // Where the skin's own files are (its tray pictures): the skin file's folder, or the skin
    // folder under the program's folder for the standard background.
    std::string SkinFolder;
    TTimer Timer1{1};
    TTimer Timer2{2};
    // The second look at a call key whose pair read as released (see HookNotification), and the
    // call waiting for it: 0 launcher, 1 clipboard, -1 none.
    TTimer Timer3{3};
    int PendingCall = -1;
    bool UseAttach = true;

    // Hook channel.
    HMODULE HookLibrary = nullptr;
    HHOOK HookHandle = nullptr;
    bool HookInstalled = false;
    UINT MessageId = 0;
    // The 32-bit companion while it runs, and the event that asks it to end.
    HANDLE Hook32Process = nullptr;
    HANDLE Hook32Stop = nullptr;

    // Window keys.
    bool Stepping = false;

    // Tray.
    UINT TrayMessage = 0;
    UINT TaskbarCreatedMessage = 0;
    HICON NormalIcon = nullptr;
    HICON PausedIcon = nullptr;
    HMENU PopupMenu1 = nullptr;
};
