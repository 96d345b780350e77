#include "settings/Setting.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "frame/Errors.h"
#include "frame/Platform.h"
#include "frame/StringList.h"
#include "settings/Profile.h"

namespace {

const char* const OldSettingsName = "Vorna.ini";
const char* const SettingsName = "Mirto.ini";
const char* const DefaultListDir = "Cliplist\\";
const char* const DefaultSkinDir = "Skin\\";

// Direction keys as files without "MaximizationKey1" number them; the migration turns them into
// keypad 4, 8, 6, 2.
constexpr std::array<int, 4> OldDirectionDefaults{47, 51, 49, 45};
const char* const DirectionKeys[4] = {"ToLeft", "ToUp", "ToRight", "ToDown"};

// The [ExpansionKey] entries that the file stores with a flag and two keys, in file sequence.
struct TExpansionKey {
    int Id;
    const char* Name;
};
constexpr TExpansionKey ExpansionKeys[] = {
    {wkMaximize, "Maximization"}, {wkMinimize, "Minimization"},   {wkRestore, "Standardization"},
    {wkPause, "Pause"},           {wkScreenSaver, "ScreenSaver"},
};

// The skin library's lines of [Window], carried over from the old file in this sequence.
const char* const CarriedWindowKeys[] = {"TopPanel",  "BottomPanel", "HideGirl",   "Width",
                                         "LineSpace", "ChangeIcon",  "EnableIcon", "DisableIcon"};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// True when the text's last character is a single-byte backslash (not the trail byte of a
// double-byte character such as "ソ").
bool EndsWithBackslash(std::string_view text) {
    bool last = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsDoubleByteAt(text, i)) {
            ++i;
            last = false;
        } else {
            last = text[i] == '\\';
        }
    }
    return last;
}

std::string ItemSection(int page, int letter) {
    std::string section = "Page.";
    section.append(std::to_string(page)).append("-").push_back(static_cast<char>('A' + letter));
    return section;
}

// A plain text as it is written: a line break would end the line and start a new key or section,
// so line breaks are dropped.
std::string DropLineBreaks(std::string_view text) {
    std::string value;
    value.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n') value += c;
    return value;
}

// Options are stored with every double quote as backslash + double quote, so that the profile
// rules never take quotes around the whole option text for quotes around the value. Line breaks
// cannot stand in a line and are dropped. A lone lead byte right before a double quote is dropped
// too: read back, it would take the escape's backslash for its trail byte.
std::string EscapeQuotes(std::string_view raw) {
    const std::string text = DropLineBreaks(raw);
    const TPlatform& platform = Platform();
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDoubleByteAt(text, i)) {
            result += c;
            result += text[++i];
        } else if (c == '"') {
            result += "\\\"";
        } else if (!(platform.IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size() &&
                     text[i + 1] == '"')) {
            result += c;
        }
    }
    return result;
}

std::string UnescapeQuotes(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsDoubleByteAt(text, i)) {
            result += text[i];
            result += text[++i];
        } else if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '"') {
            result += '"';
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

// The text in its written form (escape: one of the above, or EscapeText), as long as the reading
// leaves it whole: when the written form is longer than the reading cut, the text is shortened by
// whole characters until it fits, so that no escape and no double-byte character is split and the
// file reads back exactly as written. A text that the reading rules would change (blanks at either
// end, a pair of enclosing quotes) is put in double quotes, which the reading removes again before
// it cuts.
std::string StoredValue(std::string_view text, std::string (*escape)(std::string_view)) {
    std::string value = escape(text);
    if (value.size() > ProfileValueMax) {
        // The written length grows with every character, so the longest prefix that fits is
        // found by halving.
        std::vector<std::size_t> ends; // the end of each character
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (IsDoubleByteAt(text, i)) ++i;
            ends.push_back(i + 1);
        }
        std::size_t low = 0, high = ends.size(); // the first `low` characters fit
        while (low < high) {
            const std::size_t mid = (low + high + 1) / 2;
            if (escape(text.substr(0, ends[mid - 1])).size() <= ProfileValueMax)
                low = mid;
            else
                high = mid - 1;
        }
        value = escape(text.substr(0, low == 0 ? 0 : ends[low - 1]));
    }
    const bool blankEnd = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (blankEnd || quoted) value.insert(0, 1, '"').push_back('"');
    return value;
}

// A move or resize modifier: when the file has the enabled flag, a disabled key is stored as its
// ones' complement. Without the flag the stored value is already in that form. A key that is
// already negative stays disabled whatever the flag says.
int ReadEnabledKey(const TProfile& ini, const char* section, const char* flagName,
                   const char* keyName, int defaultKey) {
    int key = ini.ReadInteger(section, keyName, defaultKey);
    if (ini.ValueExists(section, flagName) && !ini.ReadBool(section, flagName, true) && key >= 0)
        key = ~key;
    return key;
}

void ReadDirections(const TProfile& ini, const char* section, std::array<int, 4>& directions) {
    for (int i = 0; i < 4; ++i)
        directions[i] = ini.ReadInteger(section, DirectionKeys[i], OldDirectionDefaults[i]);
}

// Older files number the keys without PageUp, PageDown, Home, End and Pause (entries 41-45).
void MigrateDirections(std::array<int, 4>& directions) {
    for (int& key : directions)
        if (key > 40 && key <= INT_MAX - 5) key += 5;
}

int HoldInterval(int seconds) {
    const std::int64_t ms = static_cast<std::int64_t>(seconds) * 1000;
    if (ms < 0) return 0;
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

void ReadItems(const TProfile& ini, TLaunchItemTable& items, bool takeOver) {
    const int pages = takeOver ? 1 : LauncherPageCount;
    for (int page = 1; page <= pages; ++page) {
        for (int letter = 0; letter < LauncherPageSize; ++letter) {
            const int index = letter + (page - 1) * LauncherPageSize;
            if (index >= items.Count()) return;
            const std::string section = takeOver ? std::string(1, static_cast<char>('A' + letter))
                                                 : ItemSection(page, letter);
            const std::string name = ini.ReadString(section, "Name", "");
            items.SetName(index, takeOver ? name : UnescapeText(name));
            items.SetPath(index, ini.ReadString(section, "Path", ""));
            items.SetSize(index, ini.ReadInteger(section, "Size", 0));
            items.SetOption(index, UnescapeQuotes(ini.ReadString(section, "Opt.", "")));
            items.SetWorkDir(index, takeOver ? "" : ini.ReadString(section, "WDir", ""));
        }
    }
}

void ReadWindowKeys(const TProfile& ini, TSettingData& data) {
    const TSettingData defaults;
    auto flag = [&](const char* name, bool enabled) {
        return ini.ReadBool("ExpansionKey", name, enabled) ? WindowKeyEnabled : WindowKeyDisabled;
    };
    for (const auto& key : ExpansionKeys)
        data.WindowKeys[key.Id].Enabled = flag(key.Name, true);
    data.WindowKeys[wkTrayMenu].Enabled = flag("TaskTrayMenu", false);
    for (const auto& key : ExpansionKeys) {
        const std::string name = key.Name;
        TWindowKey& entry = data.WindowKeys[key.Id];
        entry.Key1 =
            ini.ReadInteger("ExpansionKey", name + "Key1", defaults.WindowKeys[key.Id].Key1);
        entry.Key2 =
            ini.ReadInteger("ExpansionKey", name + "Key2", defaults.WindowKeys[key.Id].Key2);
    }
    data.ImeOpen = ini.ReadBool("ExpansionKey", "ImeOpen", false);
    data.ImeClose = ini.ReadBool("ExpansionKey", "ImeClose", false);
}

void MirrorStepGroup(TSettingData& data, int firstId, int modifiers,
                     const std::array<int, 4>& directions) {
    for (int i = 0; i < 4; ++i) {
        TWindowKey& entry = data.WindowKeys[firstId + i];
        entry.Enabled = modifiers >= 0 ? WindowKeyEnabled : WindowKeyDisabled;
        entry.Key1 = directions[i];
        entry.Key2 = modifiers;
    }
}

std::string Flag(bool value) {
    return value ? "1" : "0";
}

// The first line of the old file whose name before "=" is the given name, letter case ignored.
const std::string* FindOldLine(const TStringList& old, std::string_view name) {
    for (const auto& line : old) {
        const std::size_t equal = line.find('=');
        if (equal == name.size() && SameText(std::string_view(line).substr(0, equal), name))
            return &line;
    }
    return nullptr;
}

} // namespace

void MirrorStepKeys(TSettingData& data) {
    MirrorStepGroup(data, wkMoveLeft, data.MoveKey, data.MoveDirection);
    MirrorStepGroup(data, wkSizeLeft, data.SizeKey, data.SizeDirection);
}

TSettingsFile::TSettingsFile(std::string programFolder) : Folder(std::move(programFolder)) {
    if (!EndsWithBackslash(Folder)) Folder += '\\';
    SettingsPath = Folder + SettingsName;
}

void TSettingsFile::ResolveSettingsPath(std::string_view optionValue) {
    if (!SwitchIsAbsent(optionValue)) {
        const std::string named = optionValue.find(':') != std::string_view::npos
                                      ? std::string(optionValue)
                                      : Folder + std::string(optionValue);
        if (Platform().FileExists(named)) {
            SettingsPath = named;
            return;
        }
    }
    // "Vorna.ini" is taken over only while there is no "Mirto.ini": once it has been written, it is
    // the settings file, even when the old file could not be deleted after the take-over.
    SettingsPath = Folder + SettingsName;
    if (!Platform().FileExists(SettingsPath) && Platform().FileExists(Folder + OldSettingsName))
        SettingsPath = Folder + OldSettingsName;
}

void TSettingsFile::LoadSettings(TSettingData& data, TLaunchItemTable& items, TMenuSettings& menu,
                                 TStartupSettings& startup, std::string_view textSetOption) {
    const std::string oldPath = Folder + OldSettingsName;
    // A file that exists but cannot be read (held open by another program without read sharing,
    // no permission) gives the defaults; writing them would lose every setting in it, so the file
    // is left alone for the rest of the run, and no take-over happens.
    std::string bytes;
    ReadFailed =
        Platform().FileExists(SettingsPath) && !Platform().ReadWholeFile(SettingsPath, bytes);
    if (ReadFailed) bytes.clear();
    startup.Unreadable = ReadFailed;
    const TProfile ini(bytes);
    const bool takeOver = !ReadFailed && SameText(SettingsPath, oldPath);
    if (takeOver) SettingsPath = Folder + SettingsName;

    ReadItems(ini, items, takeOver);
    startup.PagesInUse = PagesInUse(items);

    data.Startup = ini.ReadInteger("Clipboard", "Startup", 0);
    data.LoadFile = ini.ReadString("Clipboard", "LoadFile", "");
    data.CurrentFile = data.LoadFile;
    data.ListDir = ini.ReadString("Clipboard", "ListDir", DefaultListDir);
    data.SaveHistory = ini.ReadBool("Clipboard", "SaveHistory", false);
    data.DeleteKey = ini.ReadInteger("Clipboard", "DeleteKey", 4);
    data.ProtectKey = ini.ReadInteger("Clipboard", "ProtectKey", 5);

    const std::string givenTextSet = Folder + data.ListDir + std::string(textSetOption);
    if (!SwitchIsAbsent(textSetOption) && Platform().FileExists(givenTextSet)) {
        startup.TextSetMode = 1;
        startup.TextSetPath = givenTextSet;
    } else {
        startup.TextSetMode = data.Startup;
        startup.TextSetPath = Folder + data.ListDir + data.LoadFile;
    }

    data.CallLauncherMenu = ini.ReadInteger("Menu", "CallLauncherMenu", 1);
    data.CallClipboardMenu = ini.ReadInteger("Menu", "CallClipboardMenu", 2);
    data.TotalClipboardPage = ini.ReadInteger("Menu", "TotalClipboardPage", 3);
    data.PageMemory = ini.ReadBool("Menu", "PageMemory", false);
    data.Hold = ini.ReadBool("Menu", "Hold", false);
    data.HoldTime = ini.ReadInteger("Menu", "HoldTime", 2);
    MenuTimerIntervals(data, startup.Timer1Interval, startup.Timer2Interval);
    data.PageChangeKey = ini.ReadInteger("Menu", "PageChangeKey", 0);
    data.SettingKey = ini.ReadInteger("Menu", "SettingKey", 1);
    data.SelectCancelKey = ini.ReadInteger("Menu", "SelectCancelKey", 2);
    data.QuitKey = ini.ReadInteger("Menu", "QuitKey", 3);

    data.MoveKey = ReadEnabledKey(ini, "MoveWindow", "MoveEnabled", "MoveKey", 3);
    data.MoveValue = ini.ReadInteger("MoveWindow", "Value", 32);
    ReadDirections(ini, "MoveWindow", data.MoveDirection);
    data.SizeKey = ReadEnabledKey(ini, "ResizeWindow", "ResizeEnabled", "SizeKey", 4);
    data.SizeValue = ini.ReadInteger("ResizeWindow", "Value", 32);
    ReadDirections(ini, "ResizeWindow", data.SizeDirection);

    if (!ini.ValueExists("ExpansionKey", "MaximizationKey1")) {
        MigrateDirections(data.MoveDirection);
        MigrateDirections(data.SizeDirection);
    }
    MirrorStepKeys(data);

    ReadWindowKeys(ini, data);

    data.Skin = ini.ReadString("Setting", "Skin", "");
    data.SkinDir = ini.ReadString("Setting", "SkinDir", DefaultSkinDir);

    menu.FontBold = ini.ReadBool("Font", "Bold", false);
    menu.FontItalic = ini.ReadBool("Font", "Italic", true);
    const std::string fontName = ini.ReadString("Font", "Name", "");
    if (!fontName.empty()) menu.FontName = fontName;
    menu.FontSize = ini.ReadInteger("Font", "Size", 9);

    data.Transparent = ini.ReadInteger("Window", "Transparent", -1);
    data.Position = ini.ReadInteger("Window", "Position", 0);
    menu.Line = ini.ReadInteger("Window", "Line", 1);

    data.DialogWidth =
        std::max(ini.ReadInteger("Setting", "WindowWidth", MinDialogWidth), MinDialogWidth);
    data.DialogHeight =
        std::max(ini.ReadInteger("Setting", "WindowHeight", MinDialogHeight), MinDialogHeight);

    startup.TookOver = takeOver;
    if (takeOver) {
        // The new file first, with the skin library's lines of the old one: the old file goes
        // only once its settings are safely written.
        WriteSettings(data, items, menu, bytes);
        SaveDialogSize(data.DialogWidth, data.DialogHeight);
        if (Platform().FileExists(oldPath)) Platform().RemoveFile(oldPath);
    }
}

std::string BuildSettingsText(const TSettingData& data, const TLaunchItemTable& items,
                              const TMenuSettings& menu, std::string_view oldText) {
    TStringList old;
    old.SetText(oldText);
    std::vector<std::string> lines;
    // Lines are joined by appending: GCC 12 warns falsely on "literal" + std::string.
    auto add = [&lines](std::string_view line) { lines.emplace_back(line); };
    auto header = [&lines](std::string_view name) {
        std::string line = "[";
        line.append(name).append("]");
        lines.push_back(std::move(line));
    };
    auto put = [&lines](std::string_view name, std::string_view value) {
        std::string line(name);
        line.append("=").append(value);
        lines.push_back(std::move(line));
    };
    auto number = [](int value) { return std::to_string(value); };

    const int count = std::min(items.Count(), LauncherItemCount);
    for (int index = 0; index < count; ++index) {
        if (items.GetPath(index).empty()) continue;
        header(ItemSection(index / LauncherPageSize + 1, index % LauncherPageSize));
        put("Name", StoredValue(items.GetName(index), EscapeText));
        put("Path", StoredValue(items.GetPath(index), DropLineBreaks));
        put("Size", number(items.GetSize(index)));
        put("Opt.", StoredValue(items.GetOption(index), EscapeQuotes));
        put("WDir", StoredValue(items.GetWorkDir(index), DropLineBreaks));
        add("");
    }

    header("Clipboard");
    put("Startup", number(data.Startup));
    put("LoadFile", StoredValue(data.LoadFile, DropLineBreaks));
    if (!SameText(data.ListDir, DefaultListDir))
        put("ListDir", StoredValue(data.ListDir, DropLineBreaks));
    put("SaveHistory", Flag(data.SaveHistory));
    put("DeleteKey", number(data.DeleteKey));
    put("ProtectKey", number(data.ProtectKey));
    add("");

    header("Menu");
    put("CallLauncherMenu", number(data.CallLauncherMenu));
    put("CallClipboardMenu", number(data.CallClipboardMenu));
    put("TotalClipboardPage", number(data.TotalClipboardPage));
    put("PageMemory", Flag(data.PageMemory));
    put("Hold", Flag(data.Hold));
    put("HoldTime", number(data.HoldTime));
    put("PageChangeKey", number(data.PageChangeKey));
    put("SettingKey", number(data.SettingKey));
    put("SelectCancelKey", number(data.SelectCancelKey));
    put("QuitKey", number(data.QuitKey));
    add("");

    auto addStepSection = [&](const char* section, const char* flagName, const char* keyName,
                              int modifiers, int value, const std::array<int, 4>& directions) {
        header(section);
        put(flagName, Flag(modifiers >= 0));
        put(keyName, number(modifiers >= 0 ? modifiers : ~modifiers));
        put("Value", number(value));
        for (int i = 0; i < 4; ++i)
            put(DirectionKeys[i], number(directions[i]));
        add("");
    };
    addStepSection("MoveWindow", "MoveEnabled", "MoveKey", data.MoveKey, data.MoveValue,
                   data.MoveDirection);
    addStepSection("ResizeWindow", "ResizeEnabled", "SizeKey", data.SizeKey, data.SizeValue,
                   data.SizeDirection);

    header("ExpansionKey");
    for (const auto& key : ExpansionKeys) {
        const TWindowKey& entry = data.WindowKeys[key.Id];
        const std::string name = key.Name;
        put(name, Flag(entry.Enabled >= 0));
        put(name + "Key1", number(entry.Key1));
        put(name + "Key2", number(entry.Key2));
    }
    put("ImeOpen", Flag(data.ImeOpen));
    put("ImeClose", Flag(data.ImeClose));
    add("");

    header("Font");
    put("Name", StoredValue(menu.FontName, DropLineBreaks));
    put("Bold", Flag(menu.FontBold));
    put("Italic", Flag(menu.FontItalic));
    put("Size", number(menu.FontSize));
    add("");

    header("Window");
    put("Position", number(data.Position));
    put("Line", number(menu.Line));
    put("Transparent", number(data.Transparent));
    for (const char* name : CarriedWindowKeys)
        if (const std::string* line = FindOldLine(old, name)) add(*line);
    add("");

    header("Setting");
    put("Skin", StoredValue(data.Skin, DropLineBreaks));
    if (!SameText(data.SkinDir, DefaultSkinDir))
        put("SkinDir", StoredValue(data.SkinDir, DropLineBreaks));
    add("WindowWidth=0");
    add("WindowHeight=0");

    const int color = old.IndexOfIgnoringCase("[Color]");
    if (color >= 0) {
        add("");
        header("Color");
        for (std::size_t i = static_cast<std::size_t>(color) + 1; i < old.Count(); ++i) {
            const std::string& line = old[i];
            // Blanks before "[" still make a header for the reader: carried over, such a line
            // would start a section of its own in the new file.
            const std::size_t first = line.find_first_not_of(" \t");
            if (line.size() < 2 || (first != std::string::npos && line[first] == '[')) break;
            add(line);
        }
    }

    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TSettingsFile::SaveSettings(const TSettingData& data, const TLaunchItemTable& items,
                                 const TMenuSettings& menu) const {
    if (ReadFailed) return;
    std::string oldText;
    if (Platform().FileExists(SettingsPath) && !Platform().ReadWholeFile(SettingsPath, oldText))
        throw EFileError("ファイル \"" + SettingsPath + "\" を読み込めません。");
    WriteSettings(data, items, menu, oldText);
}

void TSettingsFile::WriteSettings(const TSettingData& data, const TLaunchItemTable& items,
                                  const TMenuSettings& menu, std::string_view oldText) const {
    Platform().WriteWholeFile(SettingsPath, BuildSettingsText(data, items, menu, oldText));
}

void TSettingsFile::SaveDialogSize(int width, int height) const {
    if (ReadFailed) return;
    TProfile ini;
    if (!ini.LoadFromFile(SettingsPath) && Platform().FileExists(SettingsPath))
        throw EFileError("ファイル \"" + SettingsPath + "\" を読み込めません。");
    ini.WriteInteger("Setting", "WindowWidth", width);
    ini.WriteInteger("Setting", "WindowHeight", height);
    ini.Flush(SettingsPath);
}

void MenuTimerIntervals(const TSettingData& data, int& timer1, int& timer2) {
    timer1 = data.Hold ? 0 : 1000;
    timer2 = data.Hold ? HoldInterval(data.HoldTime) : 0;
}
