#pragma once
// The settings file "Mirto.ini": its location, the settings record and the menu control's values
// it holds, reading it at start (with the take-over of the predecessor's "Vorna.ini") and
// writing it back whole.
#include <array>
#include <string>
#include <string_view>

#include "launcher/LaunchItem.h"
#include "system/SysText.h"

// Window-key identifiers: the position of an entry in TSettingData::WindowKeys, which is also
// the identifier of its hot key.
enum TWindowKeyId : int {
    wkMaximize = 0,
    wkMinimize = 1,
    wkRestore = 2,
    wkMoveLeft = 3,
    wkMoveUp = 4,
    wkMoveRight = 5,
    wkMoveDown = 6,
    wkSizeLeft = 7,
    wkSizeUp = 8,
    wkSizeRight = 9,
    wkSizeDown = 10,
    wkPause = 11,
    wkScreenSaver = 12,
    wkTrayMenu = 13,
};
inline constexpr int WindowKeyCount = 14;

// Window-key state: -1 disabled, 0 enabled but not registered, 1 registered.
inline constexpr int WindowKeyDisabled = -1;
inline constexpr int WindowKeyEnabled = 0;

struct TWindowKey {
    int Enabled = WindowKeyEnabled;
    int Key1 = 0; // KeyIndex
    int Key2 = 0; // ModifierCode
};

inline constexpr int MinDialogWidth = 460;
inline constexpr int MinDialogHeight = 452;

// Every value of the settings file. Defaults are those of a run without a settings file.
struct TSettingData {
    // [Clipboard]
    int Startup = 0; // 0 blank, 1 the text set LoadFile
    std::string LoadFile;
    std::string CurrentFile; // not stored; the text set in use, LoadFile at start
    std::string ListDir = "Cliplist\\";
    bool SaveHistory = false;
    int DeleteKey = 4;  // CommandKeyCode
    int ProtectKey = 5; // CommandKeyCode

    // [Menu]
    int CallLauncherMenu = 1;  // call-key code
    int CallClipboardMenu = 2; // call-key code; -1 switches clipboard capture off
    int TotalClipboardPage = 3;
    bool PageMemory = false;
    bool Hold = false;
    int HoldTime = 2; // seconds
    int PageChangeKey = 0;
    int SettingKey = 1;
    int SelectCancelKey = 2;
    int QuitKey = 3;

    // [MoveWindow] and [ResizeWindow]: a ModifierCode when enabled, its ones' complement when
    // disabled; directions left, up, right, down as KeyIndex (keypad 4, 8, 6, 2).
    int MoveKey = 3;
    int MoveValue = 32;
    std::array<int, 4> MoveDirection{52, 56, 54, 50};
    int SizeKey = 4;
    int SizeValue = 32;
    std::array<int, 4> SizeDirection{52, 56, 54, 50};

    // [ExpansionKey]. Entries 3-10 mirror the move and resize keys (Key1 the direction, Key2
    // the modifiers); the tray-menu key (13) has a fixed key and leaves Key1 and Key2 unused.
    std::array<TWindowKey, WindowKeyCount> WindowKeys{{
        {WindowKeyEnabled, 41, 4}, // maximise: Alt + PageUp
        {WindowKeyEnabled, 42, 4}, // minimise: Alt + PageDown
        {WindowKeyEnabled, 43, 4}, // restore: Alt + Home
        {WindowKeyEnabled, 52, 3}, // move left
        {WindowKeyEnabled, 56, 3}, // move up
        {WindowKeyEnabled, 54, 3}, // move right
        {WindowKeyEnabled, 50, 3}, // move down
        {WindowKeyEnabled, 52, 4}, // resize left
        {WindowKeyEnabled, 56, 4}, // resize up
        {WindowKeyEnabled, 54, 4}, // resize right
        {WindowKeyEnabled, 50, 4}, // resize down
        {WindowKeyEnabled, 44, 4}, // pause: Alt + End
        {WindowKeyEnabled, 45, 5}, // screen saver: Shift + Pause
        {WindowKeyDisabled, 0, 0}, // tray menu
    }};
    bool ImeOpen = false;
    bool ImeClose = false;

    // [Setting]
    std::string Skin; // empty selects the skin library
    std::string SkinDir = "Skin\\";
    int DialogWidth = MinDialogWidth;
    int DialogHeight = MinDialogHeight;

    // [Window]
    int Transparent = -1; // -1 opaque, 0-16 a transparency level
    int Position = 0;
};

// Brings WindowKeys entries 3-10 in step with MoveKey, SizeKey and their directions: enabled
// exactly when the group's modifier code is 0 or more, Key1 the direction, Key2 the stored code.
// Run after any change of those settings (reading the file, taking over the dialog's choices).
void MirrorStepKeys(TSettingData& data);

// The values of the settings file that the menu control holds ([Window] "Line" and [Font]).
struct TMenuSettings {
    int Line = 1;         // most text lines of one menu line
    std::string FontName; // the control's font; an empty "Name" in the file keeps it
    bool FontBold = false;
    bool FontItalic = true;
    int FontSize = 9;
};

// What the load decided for steps that belong to other parts of the program; the caller acts on
// them once those parts exist.
struct TStartupSettings {
    // The clipboard menu's start (PrepareClipboardMenu): 1 loads the text set at the path; any
    // other mode is the Startup setting as read.
    int TextSetMode = 0;
    std::string TextSetPath;
    // Intervals of the menu timers: the call-key poll and the hold timer (0 = stopped).
    int Timer1Interval = 1000;
    int Timer2Interval = 0;
    int PagesInUse = 1;
    // True when "Vorna.ini" was taken over and "Mirto.ini" written.
    bool TookOver = false;
    // True when the settings file exists but could not be read: the defaults are in force and
    // the file is not written in this run (the caller says so).
    bool Unreadable = false;
};

// The intervals of the menu timers for the settings: the call-key poll (1000 ms, 0 with "Hold")
// and the hold timer ("HoldTime" seconds with "Hold", else 0 = stopped).
void MenuTimerIntervals(const TSettingData& data, int& timer1, int& timer2);

class TSettingsFile {
public:
    // The program's folder; a final "\" is added when missing.
    explicit TSettingsFile(std::string programFolder);

    const std::string& ProgramFolder() const { return Folder; }
    const std::string& Path() const { return SettingsPath; }
    void UseSettingsPath(std::string path) { SettingsPath = std::move(path); }

    // Chooses the settings file from the value of the option "-o;" ("0" when absent): the named
    // file when it exists ("X:..." as given, else inside the program's folder); otherwise
    // "Mirto.ini" beside the program, or "Vorna.ini" beside it when only that one exists.
    void ResolveSettingsPath(std::string_view optionValue);

    // Reads the settings file into the record, the launcher table and the menu control's values,
    // and reports the start-up decisions. textSetOption is the value of the option "-f;".
    // A take-over of "Vorna.ini" switches the path to "Mirto.ini", writes it (SaveSettings and
    // SaveDialogSize) and then deletes "Vorna.ini"; a failed write throws EFileError and leaves
    // "Vorna.ini" in place. The caller then publishes the window keys (registers the hot keys),
    // hands TotalClipboardPage to the history, applies Transparent, the font and Line, and sets
    // the menu page to 1.
    void LoadSettings(TSettingData& data, TLaunchItemTable& items, TMenuSettings& menu,
                      TStartupSettings& startup, std::string_view textSetOption = SwitchAbsent);

    // Rebuilds the whole file from the current state, carrying over the skin library's lines of
    // the old file, and replaces it in one go. Throws EFileError when it cannot be written.
    // Writes nothing after a load that could not read the file.
    void SaveSettings(const TSettingData& data, const TLaunchItemTable& items,
                      const TMenuSettings& menu) const;
    // Sets "WindowWidth" and "WindowHeight" of [Setting] and replaces the file in one go; writes
    // nothing after a load that could not read the file.
    void SaveDialogSize(int width, int height) const;

    // True after a load found the settings file but could not read it.
    bool Unreadable() const { return ReadFailed; }

private:
    void WriteSettings(const TSettingData& data, const TLaunchItemTable& items,
                       const TMenuSettings& menu, std::string_view oldText) const;

    std::string Folder;
    std::string SettingsPath;
    bool ReadFailed = false;
};

// The text SaveSettings writes, from the current state and the old file's text.
std::string BuildSettingsText(const TSettingData& data, const TLaunchItemTable& items,
                              const TMenuSettings& menu, std::string_view oldText);
