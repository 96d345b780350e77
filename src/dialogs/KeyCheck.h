#pragma once
// The key choices of the settings dialog (the "メニュー" and "ウィンドウ操作" tabs, the
// screen-saver key of "背景" and the input-method switches of "フォント") as the dialog's lists and
// switches hold them, their exchange with the settings, and the checks "&Ok" runs before the dialog
// may close: the launcher entries, then the keys.
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/LaunchItem.h"
#include "settings/Setting.h"

// The settings dialog's tabs, numbered as OpenSettings numbers its pages.
enum class TSettingsTab : int {
    Launcher = 0,
    WindowKeys = 1,
    Font = 2,
    Background = 3,
    Version = 4,
    Menu = 5,
    Clipboard = 6,
    Position = 7,
};

// The controls a failed check puts the focus on, named as the dialog names them.
enum class TKeyControl : int {
    None,
    // The call keys: launcher, clipboard history.
    ComboBox2,
    ComboBox3,
    // The menu command keys.
    ComboBox15,
    ComboBox16,
    ComboBox17,
    ComboBox18,
    ComboBox19,
    ComboBox24,
    // The key lists of the window operations: move left, up, right, down; resize likewise;
    // maximise, minimise, restore, call toggle, screen saver.
    ComboBox10,
    ComboBox11,
    ComboBox12,
    ComboBox13,
    ComboBox20,
    ComboBox21,
    ComboBox22,
    ComboBox23,
    ComboBox28,
    ComboBox30,
    ComboBox32,
    ComboBox26,
    ComboBox34,
    // The launcher entry's name, and its path (focused with its whole text selected).
    Memo3,
    Edit2,
};

// An operation with a switch, a modifier list and a key list of its own.
struct TWindowKeyChoice {
    bool Enabled = true;
    int Modifier = 0; // position in the modifier list = ModifierCode
    int Key = 0;      // position in the key list = KeyIndex
    bool operator==(const TWindowKeyChoice&) const = default;
};

// The move group or the resize group: one switch and one modifier list for four direction keys.
struct TStepKeyChoice {
    bool Enabled = true;
    int Modifier = 0;
    std::array<int, 4> Keys{0, 1, 2, 3}; // left, up, right, down (KeyIndex)
    std::string Step = "0";              // the number box's text (pixels)
    bool operator==(const TStepKeyChoice&) const = default;
};

// List positions and switches. A position the list lacks (a stored value out of range) is kept
// as it is; the dialog's list then shows no selection.
struct TKeyChoices {
    int LauncherCallKey = 0;  // ComboBox2: 0 none, else call-key code + 1
    int ClipboardCallKey = 0; // ComboBox3: as ComboBox2
    bool PageMemory = false;  // CheckBox9
    bool Hold = false;        // CheckBox10
    int HoldTime = 0;         // ComboBox9: seconds
    int Line = 0;             // ComboBox14: text lines - 1
    int ClipboardPages = 0;   // ComboBox4: history pages - 1
    // Menu command keys: 0 none, else CommandKeyCode + 1.
    int DeleteKey = 0;            // ComboBox15
    int PageChangeKey = 0;        // ComboBox16
    int SettingKey = 0;           // ComboBox17
    int SelectCancelKey = 0;      // ComboBox18
    int QuitKey = 0;              // ComboBox19
    int ProtectKey = 0;           // ComboBox24
    TStepKeyChoice Move;          // CheckBox15, ComboBox5, ComboBox10-13, Memo1
    TStepKeyChoice Size;          // CheckBox16, ComboBox6, ComboBox20-23, Memo2
    TWindowKeyChoice Maximize;    // CheckBox1, ComboBox27, ComboBox28
    TWindowKeyChoice Minimize;    // CheckBox2, ComboBox29, ComboBox30
    TWindowKeyChoice Restore;     // CheckBox3, ComboBox31, ComboBox32
    TWindowKeyChoice Pause;       // CheckBox11, ComboBox25, ComboBox26
    TWindowKeyChoice ScreenSaver; // CheckBox17, ComboBox33, ComboBox34
    bool TrayMenu = false;        // CheckBox8
    bool ImeOpen = false;         // CheckBox4
    bool ImeClose = false;        // CheckBox5
    bool operator==(const TKeyChoices&) const = default;
};

// The choices that show the settings ("Line" is the menu control's).
TKeyChoices KeyChoicesFromSettings(const TSettingData& data, const TMenuSettings& menu);
// Takes the choices over into the settings. Window keys get the state "enabled, not registered"
// or "disabled" (the hot keys are unregistered while the dialog's results are applied), and the
// move and resize entries of WindowKeys follow their groups.
void KeyChoicesToSettings(const TKeyChoices& choices, TSettingData& data, TMenuSettings& menu);

// The leading integer of a number box's text (blanks, an optional sign, digits; clamped to the
// int range), 0 when the text does not begin with one.
int LeadingInteger(std::string_view text);
// The text a number box shows once left: the decimal form of its leading integer.
std::string NumberBoxText(std::string_view text);

// The window operations in the sequence the key checks go through them: move left, up, right,
// down, resize left, up, right, down, maximise, minimise, restore, call toggle, screen saver.
inline constexpr int WindowOperationCount = 13;
// The operation's name in messages; empty outside 0-12.
std::string WindowOperationName(int operation);
// The message for two operations i < j set to the same keys; "未定義のエラーです。" for any other
// pair of numbers.
std::string KeyPairMessage(int i, int j);

// What a failed check shows: its message (error icon), the tab and the control to focus.
struct TKeyCheckResult {
    bool Ok = true;
    std::string Message;
    TSettingsTab Tab = TSettingsTab::Menu;
    TKeyControl Focus = TKeyControl::None;
    bool operator==(const TKeyCheckResult&) const = default;
};

// The key checks of "&Ok" in their sequence (call keys against each other and against the
// enabled operations' modifiers, menu command keys, keys within the move and resize groups, keys
// across operations); the first that fails is reported.
TKeyCheckResult CheckKeyChoices(const TKeyChoices& choices);

// The launcher entries' check, before the key checks. The platform's answers and the user's
// are asked for through these.
enum class TMissingAnswer { Back, Ignore, IgnoreAll };
struct TEntryCheckEnvironment {
    // True when the path names an existing file or folder.
    std::function<bool(const std::string& path)> PathExists;
    // The program search of the system (no path list, default extension ".exe"): the found
    // file's path, empty when not found.
    std::function<std::string(const std::string& path)> SearchProgram;
    // The long form of a found file; empty when none can be formed (the found path is kept).
    std::function<std::string(const std::string& path)> LongPath;
    // Yes/no question (warning icon, "no" the default): true on yes.
    std::function<bool(const std::string& question)> ConfirmNoName;
    // The missing-application dialog for the slot; closing it without OK answers Back.
    std::function<TMissingAnswer(int page, char letter, const std::string& path)> Missing;
};

struct TEntryCheckResult {
    bool Ok = true;
    // Where the dialog goes back to: launcher tab at Page (1-3), grid Row (1-26), and the field
    // to focus (Memo3 or Edit2).
    int Page = 0;
    int Row = 0;
    TKeyControl Focus = TKeyControl::None;
    // Table entries whose path was replaced by the found program, also when the check stopped
    // later: the grid shows them if their page is shown.
    std::vector<int> Repaired;
};

// The question for an entry that has a path but no name.
std::string NoNameQuestion(int page, char letter, std::string_view path);
// True when the path is an address that is never searched: it begins with "http:", "https:" or
// "ftp:/", letter case ignored.
bool IsUnsearchedAddress(std::string_view path);
// Every entry with a path, page 1-3 and key A-Z in turn: a missing name is confirmed, and a path
// that names nothing is searched as a program and repaired when found, else reported missing
// (until the user chooses to ignore all).
TEntryCheckResult CheckLauncherEntries(TLaunchItemTable& table, const TEntryCheckEnvironment& env);
