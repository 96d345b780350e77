#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include <dirent.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <direct.h>
#include <process.h>
#else
#include <unistd.h>
#endif

#include "frame/Errors.h"
#include "frame/Platform.h"
#include "settings/Setting.h"

namespace {

// A file system in memory: paths are plain keys, so every byte that is read or written shows.
class TSettingsTestPlatform : public TPlatform {
public:
    bool FileExists(const std::string& path) const override { return Files.count(path) > 0; }
    bool ReadWholeFile(const std::string& path, std::string& bytes) const override {
        const auto found = Files.find(path);
        if (found == Files.end() || Unreadable) return false;
        bytes = found->second;
        return true;
    }
    void WriteWholeFile(const std::string& path, const std::string& bytes) override {
        if (DiskFull) throw EFileError("Cannot write file \"" + path + "\"");
        Files[path] = bytes;
    }
    bool RemoveFile(const std::string& path) override {
        return !Undeletable && Files.erase(path) > 0;
    }

    std::map<std::string, std::string> Files;
    bool DiskFull = false;
    bool Unreadable = false;
    bool Undeletable = false; // read-only or locked files
};

const std::string Folder = "C:\\Mirto\\";
const std::string MirtoIni = Folder + "Mirto.ini";
const std::string VornaIni = Folder + "Vorna.ini";

std::string Crlf(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

// Every section, Japanese texts with trail bytes that look like backslashes ("ソ", "表"), the
// skin library's lines and a [Color] section, all in the sequence the program writes.
const std::string FullFile = Crlf({
    "[Page.1-A]",
    "Name=メモ帳\\nソフト表示\\\\",
    "Path=C:\\Windows\\notepad.exe",
    "Size=2",
    "Opt.=\\\"C:\\My Documents\\ソ.txt\\\" /p",
    "WDir=C:\\Windows\\",
    "",
    "[Page.1-C]",
    "Name=ソフト",
    "Path=http://example.com/",
    "Size=0",
    "Opt.=",
    "WDir=",
    "",
    "[Page.2-K]",
    "Name=表計算\\tタブ",
    "Path=D:\\表計算\\calc.exe",
    "Size=3",
    "Opt.=-x",
    "WDir=D:\\作業\\",
    "",
    "[Page.3-Z]",
    "Name=最後",
    "Path=C:\\z.lnk",
    "Size=1",
    "Opt.=",
    "WDir=",
    "",
    "[Clipboard]",
    "Startup=1",
    "LoadFile=定型文.ini",
    "ListDir=定型\\",
    "SaveHistory=1",
    "DeleteKey=-1",
    "ProtectKey=0",
    "",
    "[Menu]",
    "CallLauncherMenu=0",
    "CallClipboardMenu=-1",
    "TotalClipboardPage=2",
    "PageMemory=1",
    "Hold=1",
    "HoldTime=5",
    "PageChangeKey=5",
    "SettingKey=4",
    "SelectCancelKey=3",
    "QuitKey=-1",
    "",
    "[MoveWindow]",
    "MoveEnabled=0",
    "MoveKey=3",
    "Value=16",
    "ToLeft=0",
    "ToUp=1",
    "ToRight=2",
    "ToDown=3",
    "",
    "[ResizeWindow]",
    "ResizeEnabled=1",
    "SizeKey=5",
    "Value=8",
    "ToLeft=41",
    "ToUp=42",
    "ToRight=43",
    "ToDown=47",
    "",
    "[ExpansionKey]",
    "Maximization=1",
    "MaximizationKey1=4",
    "MaximizationKey2=0",
    "Minimization=0",
    "MinimizationKey1=5",
    "MinimizationKey2=1",
    "Standardization=1",
    "StandardizationKey1=6",
    "StandardizationKey2=2",
    "Pause=0",
    "PauseKey1=7",
    "PauseKey2=3",
    "ScreenSaver=1",
    "ScreenSaverKey1=60",
    "ScreenSaverKey2=5",
    "ImeOpen=1",
    "ImeClose=0",
    "",
    "[Font]",
    "Name=ＭＳ ゴシック",
    "Bold=1",
    "Italic=0",
    "Size=12",
    "",
    "[Window]",
    "Position=3",
    "Line=2",
    "Transparent=8",
    "TopPanel=10",
    "BottomPanel=12",
    "HideGirl=1",
    "Width=300",
    "LineSpace=2",
    "ChangeIcon=1",
    "EnableIcon=有効.ico",
    "DisableIcon=無効.ico",
    "",
    "[Setting]",
    "Skin=Skin\\さくら.ini",
    "SkinDir=スキン\\",
    "WindowWidth=520",
    "WindowHeight=480",
    "",
    "[Color]",
    "Back=clWhite",
    "Text=$00FF0000",
    "Select=clHighlight",
});

// What a run without a settings file writes, with the control's font "ＭＳ Ｐゴシック".
const std::string DefaultFile = Crlf({
    "[Clipboard]",
    "Startup=0",
    "LoadFile=",
    "SaveHistory=0",
    "DeleteKey=4",
    "ProtectKey=5",
    "",
    "[Menu]",
    "CallLauncherMenu=1",
    "CallClipboardMenu=2",
    "TotalClipboardPage=3",
    "PageMemory=0",
    "Hold=0",
    "HoldTime=2",
    "PageChangeKey=0",
    "SettingKey=1",
    "SelectCancelKey=2",
    "QuitKey=3",
    "",
    "[MoveWindow]",
    "MoveEnabled=1",
    "MoveKey=3",
    "Value=32",
    "ToLeft=52",
    "ToUp=56",
    "ToRight=54",
    "ToDown=50",
    "",
    "[ResizeWindow]",
    "ResizeEnabled=1",
    "SizeKey=4",
    "Value=32",
    "ToLeft=52",
    "ToUp=56",
    "ToRight=54",
    "ToDown=50",
    "",
    "[ExpansionKey]",
    "Maximization=1",
    "MaximizationKey1=41",
    "MaximizationKey2=4",
    "Minimization=1",
    "MinimizationKey1=42",
    "MinimizationKey2=4",
    "Standardization=1",
    "StandardizationKey1=43",
    "StandardizationKey2=4",
    "Pause=1",
    "PauseKey1=44",
    "PauseKey2=4",
    "ScreenSaver=1",
    "ScreenSaverKey1=45",
    "ScreenSaverKey2=5",
    "ImeOpen=0",
    "ImeClose=0",
    "",
    "[Font]",
    "Name=ＭＳ Ｐゴシック",
    "Bold=0",
    "Italic=1",
    "Size=9",
    "",
    "[Window]",
    "Position=0",
    "Line=1",
    "Transparent=-1",
    "",
    "[Setting]",
    "Skin=",
    "WindowWidth=0",
    "WindowHeight=0",
});

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlatform(&Fs);
        Menu.FontName = "ＭＳ Ｐゴシック";
    }
    void TearDown() override { SetPlatform(nullptr); }

    // Resolves the path and loads, as the start-up does.
    void Start(std::string_view settingsOption = "0", std::string_view textSetOption = "0") {
        File.ResolveSettingsPath(settingsOption);
        File.LoadSettings(Data, Items, Menu, Startup, textSetOption);
    }
    // A fresh program loading the file the previous run wrote.
    void Restart() {
        Data = TSettingData();
        Items = TLaunchItemTable();
        Menu = TMenuSettings();
        Startup = TStartupSettings();
        Start();
    }
    void StartWith(const std::string& text) {
        Fs.Files[MirtoIni] = text;
        Restart();
    }
    void Save() { File.SaveSettings(Data, Items, Menu); }

    TSettingsTestPlatform Fs;
    TSettingsFile File{"C:\\Mirto"};
    TSettingData Data;
    TLaunchItemTable Items;
    TMenuSettings Menu;
    TStartupSettings Startup;
};

} // namespace

TEST_F(SettingsFile, WithoutAnyFileUsesTheDefaultsAndKeypadDirections) {
    Start();
    EXPECT_EQ(File.Path(), MirtoIni);
    EXPECT_EQ(Data.MoveKey, 3);
    EXPECT_EQ(Data.SizeKey, 4);
    EXPECT_EQ(Data.MoveDirection, (std::array<int, 4>{52, 56, 54, 50}));
    EXPECT_EQ(Data.SizeDirection, (std::array<int, 4>{52, 56, 54, 50}));
    EXPECT_EQ(Data.WindowKeys[wkMoveLeft].Enabled, WindowKeyEnabled);
    EXPECT_EQ(Data.WindowKeys[wkSizeDown].Key1, 50);
    EXPECT_EQ(Data.WindowKeys[wkTrayMenu].Enabled, WindowKeyDisabled);
    EXPECT_EQ(Data.WindowKeys[wkScreenSaver].Key2, 5);
    EXPECT_EQ(Data.ListDir, "Cliplist\\");
    EXPECT_EQ(Data.Transparent, -1);
    EXPECT_EQ(Data.DialogWidth, 460);
    EXPECT_EQ(Data.DialogHeight, 452);
    EXPECT_EQ(Menu.FontName, "ＭＳ Ｐゴシック");
    EXPECT_TRUE(Menu.FontItalic);
    EXPECT_EQ(Startup.Timer1Interval, 1000);
    EXPECT_EQ(Startup.Timer2Interval, 0);
    EXPECT_EQ(Startup.TextSetMode, 0);
    EXPECT_EQ(Startup.TextSetPath, Folder + "Cliplist\\");
    EXPECT_EQ(Startup.PagesInUse, 1);
    EXPECT_FALSE(Startup.TookOver);
    EXPECT_TRUE(Fs.Files.empty());
    // A fresh record already holds what loading without a file gives.
    const TSettingData fresh;
    EXPECT_EQ(fresh.MoveDirection, Data.MoveDirection);
    for (int id = 0; id < WindowKeyCount; ++id) {
        EXPECT_EQ(fresh.WindowKeys[id].Enabled, Data.WindowKeys[id].Enabled) << id;
        EXPECT_EQ(fresh.WindowKeys[id].Key1, Data.WindowKeys[id].Key1) << id;
        EXPECT_EQ(fresh.WindowKeys[id].Key2, Data.WindowKeys[id].Key2) << id;
    }

    Save();
    EXPECT_EQ(Fs.Files[MirtoIni], DefaultFile);
}

TEST_F(SettingsFile, LoadsEverySectionOfAFullFile) {
    StartWith(FullFile);
    EXPECT_EQ(Items.GetName(0), "メモ帳\nソフト表示\\");
    EXPECT_EQ(Items.GetOption(0), "\"C:\\My Documents\\ソ.txt\" /p");
    EXPECT_EQ(Items.GetSize(0), 2);
    EXPECT_EQ(Items.GetWorkDir(0), "C:\\Windows\\");
    EXPECT_EQ(Items.GetPath(2), "http://example.com/");
    EXPECT_EQ(Items.GetName(36), "表計算\tタブ");
    EXPECT_EQ(Items.GetWorkDir(36), "D:\\作業\\");
    EXPECT_EQ(Items.GetPath(77), "C:\\z.lnk");
    EXPECT_EQ(Startup.PagesInUse, 3);

    EXPECT_EQ(Data.Startup, 1);
    EXPECT_EQ(Data.CurrentFile, "定型文.ini");
    EXPECT_TRUE(Data.SaveHistory);
    EXPECT_EQ(Data.DeleteKey, -1);
    EXPECT_EQ(Startup.TextSetMode, 1);
    EXPECT_EQ(Startup.TextSetPath, Folder + "定型\\定型文.ini");

    EXPECT_EQ(Data.CallClipboardMenu, -1);
    EXPECT_EQ(Data.TotalClipboardPage, 2);
    EXPECT_TRUE(Data.Hold);
    EXPECT_EQ(Startup.Timer1Interval, 0);
    EXPECT_EQ(Startup.Timer2Interval, 5000);
    EXPECT_EQ(Data.QuitKey, -1);

    EXPECT_EQ(Data.MoveKey, -4);
    EXPECT_EQ(Data.MoveValue, 16);
    EXPECT_EQ(Data.MoveDirection, (std::array<int, 4>{0, 1, 2, 3}));
    EXPECT_EQ(Data.SizeKey, 5);
    EXPECT_EQ(Data.SizeDirection, (std::array<int, 4>{41, 42, 43, 47}));
    for (int id = wkMoveLeft; id <= wkMoveDown; ++id)
        EXPECT_EQ(Data.WindowKeys[id].Enabled, WindowKeyDisabled);
    for (int id = wkSizeLeft; id <= wkSizeDown; ++id)
        EXPECT_EQ(Data.WindowKeys[id].Enabled, WindowKeyEnabled);
    EXPECT_EQ(Data.WindowKeys[wkMinimize].Enabled, WindowKeyDisabled);
    EXPECT_EQ(Data.WindowKeys[wkPause].Enabled, WindowKeyDisabled);
    EXPECT_EQ(Data.WindowKeys[wkRestore].Key1, 6);
    EXPECT_EQ(Data.WindowKeys[wkScreenSaver].Key1, 60);
    EXPECT_TRUE(Data.ImeOpen);
    EXPECT_FALSE(Data.ImeClose);

    EXPECT_EQ(Data.Skin, "Skin\\さくら.ini");
    EXPECT_EQ(Data.SkinDir, "スキン\\");
    EXPECT_EQ(Menu.FontName, "ＭＳ ゴシック");
    EXPECT_TRUE(Menu.FontBold);
    EXPECT_FALSE(Menu.FontItalic);
    EXPECT_EQ(Menu.FontSize, 12);
    EXPECT_EQ(Data.Transparent, 8);
    EXPECT_EQ(Data.Position, 3);
    EXPECT_EQ(Menu.Line, 2);
    EXPECT_EQ(Data.DialogWidth, 520);
    EXPECT_EQ(Data.DialogHeight, 480);
}

TEST_F(SettingsFile, SavesAFullFileBackByteForByte) {
    StartWith(FullFile);
    Save();
    const std::string withZeroSize =
        Replaced(Replaced(FullFile, "WindowWidth=520", "WindowWidth=0"), "WindowHeight=480",
                 "WindowHeight=0");
    EXPECT_EQ(Fs.Files[MirtoIni], withZeroSize);
    File.SaveDialogSize(Data.DialogWidth, Data.DialogHeight);
    EXPECT_EQ(Fs.Files[MirtoIni], FullFile);

    // The skin library's lines and [Color] survive any number of saves.
    Restart();
    Save();
    Save();
    File.SaveDialogSize(Data.DialogWidth, Data.DialogHeight);
    EXPECT_EQ(Fs.Files[MirtoIni], FullFile);
}

TEST_F(SettingsFile, ResolvesTheFileFromTheOptionAndTheFilesBesideTheProgram) {
    File.ResolveSettingsPath("0");
    EXPECT_EQ(File.Path(), MirtoIni);
    Fs.Files[VornaIni] = "";
    File.ResolveSettingsPath("");
    EXPECT_EQ(File.Path(), VornaIni);
    File.ResolveSettingsPath("other.ini");
    EXPECT_EQ(File.Path(), VornaIni);
    Fs.Files[Folder + "other.ini"] = "";
    File.ResolveSettingsPath("other.ini");
    EXPECT_EQ(File.Path(), Folder + "other.ini");
    File.ResolveSettingsPath("D:\\elsewhere.ini");
    EXPECT_EQ(File.Path(), VornaIni);
    Fs.Files["D:\\elsewhere.ini"] = "";
    File.ResolveSettingsPath("D:\\elsewhere.ini");
    EXPECT_EQ(File.Path(), "D:\\elsewhere.ini");
}

TEST(SettingsFolder, EndsWithOneBackslashEvenAfterATrailByteThatLooksLikeOne) {
    EXPECT_EQ(TSettingsFile("C:\\Mirto\\").ProgramFolder(), "C:\\Mirto\\");
    EXPECT_EQ(TSettingsFile("C:\\Mirto").ProgramFolder(), "C:\\Mirto\\");
    EXPECT_EQ(TSettingsFile("C:\\ソ").ProgramFolder(), "C:\\ソ\\");
    EXPECT_EQ(TSettingsFile("C:\\Mirto").Path(), "C:\\Mirto\\Mirto.ini");
}

TEST_F(SettingsFile, TakesOverTheOldFileOntoPageOne) {
    Fs.Files[VornaIni] =
        Crlf({"[A]", "Name=a\\nb", "Path=C:\\a.exe", "Size=1", "Opt.=\\\"x y\\\"",
              "WDir=C:\\ignored\\", "[z]", "Name=ゼット", "Path=C:\\z.exe", "[Page.2-A]",
              "Path=C:\\no.exe", "[Setting]", "WindowWidth=600", "WindowHeight=300"});
    Start();
    EXPECT_TRUE(Startup.TookOver);
    EXPECT_EQ(File.Path(), MirtoIni);
    EXPECT_EQ(Items.GetName(0), "a\\nb");
    EXPECT_EQ(Items.GetOption(0), "\"x y\"");
    EXPECT_EQ(Items.GetSize(0), 1);
    EXPECT_EQ(Items.GetWorkDir(0), "");
    EXPECT_EQ(Items.GetPath(25), "C:\\z.exe");
    EXPECT_EQ(Items.GetPath(26), "");
    EXPECT_EQ(Startup.PagesInUse, 1);

    EXPECT_EQ(Fs.Files.count(VornaIni), 0u);
    const std::string written = Fs.Files[MirtoIni];
    EXPECT_NE(written.find(Crlf({"[Page.1-A]", "Name=a\\\\nb", "Path=C:\\a.exe", "Size=1",
                                 "Opt.=\\\"x y\\\"", "WDir=", "", "[Page.1-Z]"})),
              std::string::npos);
    EXPECT_NE(written.find("WindowWidth=600\r\nWindowHeight=452\r\n"), std::string::npos);

    // The next start reads the new file, with the name now as it was shown.
    Restart();
    EXPECT_FALSE(Startup.TookOver);
    EXPECT_EQ(Items.GetName(0), "a\\nb");
    EXPECT_EQ(Data.DialogWidth, 600);
}

TEST_F(SettingsFile, KeepsTheOldFileWhenTheTakeOverCannotBeWritten) {
    Fs.Files[VornaIni] = Crlf({"[A]", "Path=C:\\a.exe"});
    Fs.DiskFull = true;
    EXPECT_THROW(Start(), EFileError);
    EXPECT_EQ(Fs.Files.count(VornaIni), 1u);
    EXPECT_EQ(Fs.Files.count(MirtoIni), 0u);
}

TEST_F(SettingsFile, ShiftsDirectionKeysOfFilesWithTheOlderKeyNumbering) {
    StartWith(
        Crlf({"[MoveWindow]", "ToLeft=47", "ToUp=40", "[ExpansionKey]", "MaximizationKey1=41"}));
    EXPECT_EQ(Data.MoveDirection[0], 47);
    EXPECT_EQ(Data.MoveDirection[1], 40);
    EXPECT_EQ(Data.SizeDirection[0], 47);

    StartWith(Crlf({"[MoveWindow]", "ToLeft=47", "ToUp=40", "ToRight=41", "ToDown=2147483647",
                    "[ResizeWindow]", "ToLeft=-50"}));
    EXPECT_EQ(Data.MoveDirection, (std::array<int, 4>{52, 40, 46, 2147483647}));
    EXPECT_EQ(Data.SizeDirection, (std::array<int, 4>{-50, 56, 54, 50}));
    EXPECT_EQ(Data.WindowKeys[wkMoveLeft].Key1, 52);
}

TEST_F(SettingsFile, StoresADisabledStepKeyAsItsComplement) {
    StartWith(Crlf({"[MoveWindow]", "MoveEnabled=0", "MoveKey=3", "[ResizeWindow]", "SizeKey=-4"}));
    EXPECT_EQ(Data.MoveKey, -4);
    EXPECT_EQ(Data.SizeKey, -4);
    EXPECT_EQ(Data.WindowKeys[wkMoveUp].Enabled, WindowKeyDisabled);
    EXPECT_EQ(Data.WindowKeys[wkSizeUp].Enabled, WindowKeyDisabled);
    Save();
    const std::string written = Fs.Files[MirtoIni];
    EXPECT_NE(written.find("[MoveWindow]\r\nMoveEnabled=0\r\nMoveKey=3\r\n"), std::string::npos);
    EXPECT_NE(written.find("[ResizeWindow]\r\nResizeEnabled=0\r\nSizeKey=3\r\n"),
              std::string::npos);

    // "MoveEnabled=0" never turns a key that is already disabled into an enabled one.
    StartWith(Crlf({"[MoveWindow]", "MoveEnabled=0", "MoveKey=-2", "[ResizeWindow]",
                    "ResizeEnabled=1", "SizeKey=2"}));
    EXPECT_EQ(Data.MoveKey, -2);
    EXPECT_EQ(Data.SizeKey, 2);

    // Shift + Control (0) disabled stays disabled through a save and a load.
    StartWith(Crlf({"[MoveWindow]", "MoveEnabled=0", "MoveKey=0"}));
    Save();
    Restart();
    EXPECT_EQ(Data.MoveKey, -1);
    EXPECT_EQ(Data.WindowKeys[wkMoveLeft].Enabled, WindowKeyDisabled);
}

TEST_F(SettingsFile, RaisesASmallDialogSizeToTheMinimum) {
    StartWith(Crlf({"[Setting]", "WindowWidth=300", "WindowHeight=453"}));
    EXPECT_EQ(Data.DialogWidth, 460);
    EXPECT_EQ(Data.DialogHeight, 453);
}

TEST_F(SettingsFile, WritesDialogSizeIntoTheFileWithoutTouchingOtherLines) {
    StartWith(FullFile);
    Save();
    File.SaveDialogSize(700, 10);
    EXPECT_EQ(Fs.Files[MirtoIni], Replaced(Replaced(FullFile, "WindowWidth=520", "WindowWidth=700"),
                                           "WindowHeight=480", "WindowHeight=10"));
    Fs.Files.clear();
    File.SaveDialogSize(500, 460);
    EXPECT_EQ(Fs.Files[MirtoIni], "[Setting]\r\nWindowWidth=500\r\nWindowHeight=460\r\n");
}

TEST_F(SettingsFile, RoundTripsItemTextsThatTheReadingRulesWouldChange) {
    Start();
    Items.SetPath(0, "C:\\a.exe");
    Items.SetName(0, "二行\r\n目\t\\");
    Items.SetOption(0, "\"two words\"");
    Items.SetPath(1, "C:\\b.exe");
    Items.SetName(1, "\"quoted\"");
    Items.SetOption(1, "'single' 'quotes'");
    Items.SetWorkDir(1, " C:\\space\\ ");
    Items.SetPath(2, "C:\\c.exe\r\n[Menu]\r\nQuitKey=9");
    Items.SetName(2, "  padded  ");
    Save();
    const std::string written = Fs.Files[MirtoIni];
    EXPECT_NE(written.find("Name=二行\\r\\n目\\t\\\\\r\n"), std::string::npos);
    EXPECT_NE(written.find("Opt.=\\\"two words\\\"\r\n"), std::string::npos);
    Restart();
    EXPECT_EQ(Items.GetName(0), "二行\r\n目\t\\");
    EXPECT_EQ(Items.GetOption(0), "\"two words\"");
    EXPECT_EQ(Items.GetName(1), "\"quoted\"");
    EXPECT_EQ(Items.GetOption(1), "'single' 'quotes'");
    EXPECT_EQ(Items.GetWorkDir(1), " C:\\space\\ ");
    EXPECT_EQ(Items.GetName(2), "  padded  ");
    // A line break cannot live in a path: it is dropped rather than starting a new section.
    EXPECT_EQ(Items.GetPath(2), "C:\\c.exe[Menu]QuitKey=9");
    EXPECT_EQ(Data.QuitKey, 3);
}

TEST_F(SettingsFile, DropsALoneFinalBackslashOfAHandWrittenName) {
    StartWith(Crlf({"[Page.1-B]", "Name=end\\", "Path=x", "Opt.=a\\", "[Page.1-C]", "Name=ソ\\\\ソ",
                    "Path=y"}));
    EXPECT_EQ(Items.GetName(1), "end");
    EXPECT_EQ(Items.GetOption(1), "a\\");
    EXPECT_EQ(Items.GetName(2), "ソ\\ソ");
}

TEST_F(SettingsFile, LeavesOutDefaultsThatTheReadingRestoresAndKeepsTheFaintestLevel) {
    Start();
    // Level 0 is transparency on at its faintest end, not the default (-1, off).
    Data.Transparent = 0;
    Data.ListDir = "CLIPLIST\\";
    Data.SkinDir = "skin\\";
    Save();
    const std::string written = Fs.Files[MirtoIni];
    EXPECT_NE(written.find("\r\nTransparent=0\r\n"), std::string::npos);
    EXPECT_EQ(written.find("ListDir="), std::string::npos);
    EXPECT_EQ(written.find("SkinDir="), std::string::npos);
    Restart();
    EXPECT_EQ(Data.Transparent, 0);
    EXPECT_EQ(Data.ListDir, "Cliplist\\");
}

TEST_F(SettingsFile, DropsTheTrayMenuKeyOnTheNextSave) {
    StartWith(Crlf({"[ExpansionKey]", "TaskTrayMenu=1", "MaximizationKey1=41"}));
    EXPECT_EQ(Data.WindowKeys[wkTrayMenu].Enabled, WindowKeyEnabled);
    Save();
    EXPECT_EQ(Fs.Files[MirtoIni].find("TaskTrayMenu"), std::string::npos);
    Restart();
    EXPECT_EQ(Data.WindowKeys[wkTrayMenu].Enabled, WindowKeyDisabled);
}

TEST_F(SettingsFile, CarriesOverTheSkinLibrarysLinesFromAnywhereInTheOldFile) {
    StartWith(Crlf({"[Other]", "hidegirl=1", "Width =9", "[Window]", "DisableIcon=d.ico",
                    "TopPanel=5", "TopPanel=6", "Width=4", "[Colour]", "x=1"}));
    Save();
    EXPECT_NE(Fs.Files[MirtoIni].find(Crlf({"Transparent=-1", "TopPanel=5", "hidegirl=1", "Width=4",
                                            "DisableIcon=d.ico", "", "[Setting]"})),
              std::string::npos);
    EXPECT_EQ(Fs.Files[MirtoIni].find("[Colo"), std::string::npos);
}

TEST_F(SettingsFile, CopiesTheColorSectionUpToAShortLineOrAHeader) {
    StartWith(Crlf({"[COLOR]", "Back=1", "Text=2", "x", "Lost=3"}));
    Save();
    EXPECT_NE(Fs.Files[MirtoIni].find("WindowHeight=0\r\n\r\n[Color]\r\nBack=1\r\nText=2\r\n"),
              std::string::npos);
    EXPECT_EQ(Fs.Files[MirtoIni].find("Lost"), std::string::npos);

    StartWith(Crlf({"[color]", "Back=1", "[Next]", "Lost=3"}));
    Save();
    EXPECT_TRUE(Fs.Files[MirtoIni].ends_with("\r\n[Color]\r\nBack=1\r\n"));
}

TEST_F(SettingsFile, EndsTheColorSectionAtAHeaderWithBlanksBeforeIt) {
    // The reader takes these lines for headers. The first [Page.1-A] hides them at the first
    // start; carried over behind [Color], they would give the next start an entry that the saved
    // settings did not have.
    for (const char* header : {" [Page.1-A]", "\t[page.1-a]"}) {
        SCOPED_TRACE(header);
        StartWith(Crlf({"[Page.1-A]", "Path=", "[Color]", "Back=1", header, "Path=C:\\x.exe"}));
        ASSERT_EQ(Items.GetPath(0), "");
        Save();
        EXPECT_TRUE(Fs.Files[MirtoIni].ends_with("\r\n[Color]\r\nBack=1\r\n"));
        Restart();
        EXPECT_EQ(Items.GetPath(0), "");
    }
}

TEST_F(SettingsFile, PrefersAnExistingTextSetNamedOnTheCommandLine) {
    Fs.Files[MirtoIni] = Crlf({"[Clipboard]", "Startup=0", "LoadFile=a.ini"});
    Fs.Files[Folder + "Cliplist\\given.ini"] = "";
    Start("0", "given.ini");
    EXPECT_EQ(Startup.TextSetMode, 1);
    EXPECT_EQ(Startup.TextSetPath, Folder + "Cliplist\\given.ini");
    EXPECT_EQ(Data.Startup, 0);
    Start("0", "missing.ini");
    EXPECT_EQ(Startup.TextSetMode, 0);
    EXPECT_EQ(Startup.TextSetPath, Folder + "Cliplist\\a.ini");
}

TEST_F(SettingsFile, KeepsTheHoldTimerWithinItsRange) {
    StartWith(Crlf({"[Menu]", "Hold=1", "HoldTime=99999999"}));
    EXPECT_EQ(Startup.Timer1Interval, 0);
    EXPECT_EQ(Startup.Timer2Interval, INT_MAX);
    StartWith(Crlf({"[Menu]", "Hold=1", "HoldTime=-3"}));
    EXPECT_EQ(Startup.Timer2Interval, 0);
    EXPECT_EQ(Data.HoldTime, -3);
}

TEST_F(SettingsFile, LeavesTheOldFileWholeWhenItCannotBeWritten) {
    Fs.Files[MirtoIni] = FullFile;
    Start();
    Fs.DiskFull = true;
    EXPECT_THROW(Save(), EFileError);
    EXPECT_THROW(File.SaveDialogSize(600, 600), EFileError);
    EXPECT_EQ(Fs.Files[MirtoIni], FullFile);
}

TEST_F(SettingsFile, RefusesToRewriteAFileItCannotRead) {
    Fs.Files[MirtoIni] = FullFile;
    Start();
    Fs.Unreadable = true;
    EXPECT_THROW(Save(), EFileError);
    EXPECT_THROW(File.SaveDialogSize(600, 600), EFileError);
    EXPECT_EQ(Fs.Files[MirtoIni], FullFile);
}

TEST_F(SettingsFile, TakesTheOldFileOverOnceWithTheSkinLibrarysLines) {
    const std::string old = Crlf({"[A]", "Path=C:\\a.exe", "[Window]", "TopPanel=5", "Width=3",
                                  "Position=2", "[Color]", "Back=1", "Text=2"});
    Fs.Files[VornaIni] = old;
    Fs.Undeletable = true;
    Start();
    EXPECT_TRUE(Startup.TookOver);
    EXPECT_NE(Fs.Files[MirtoIni].find(Crlf({"Transparent=-1", "TopPanel=5", "Width=3", ""})),
              std::string::npos);
    EXPECT_TRUE(Fs.Files[MirtoIni].ends_with(Crlf({"", "[Color]", "Back=1", "Text=2"})));

    // The old file could not be deleted: from now on it is left alone.
    Items.SetPath(1, "C:\\b.exe");
    Save();
    Restart();
    EXPECT_FALSE(Startup.TookOver);
    EXPECT_EQ(File.Path(), MirtoIni);
    EXPECT_EQ(Items.GetPath(1), "C:\\b.exe");
    EXPECT_EQ(Fs.Files[VornaIni], old);
}

TEST_F(SettingsFile, NeverWritesOverAFileItCouldNotRead) {
    for (const std::string& path : {MirtoIni, VornaIni}) {
        Fs.Files = {{path, FullFile}};
        Fs.Unreadable = true;
        Restart();
        Fs.Unreadable = false;
        EXPECT_TRUE(Startup.Unreadable) << path;
        EXPECT_FALSE(Startup.TookOver) << path;
        EXPECT_EQ(Data.QuitKey, 3) << path; // the defaults
        Save();
        File.SaveDialogSize(600, 600);
        EXPECT_EQ(Fs.Files, (std::map<std::string, std::string>{{path, FullFile}}));
    }
}

TEST_F(SettingsFile, WritesEveryTextSoThatItReadsBackWhole) {
    Start();
    const std::string q(1100, '"'), t(1100, '\t'), b(1100, '\\'), p(3000, 'p');
    std::string so;
    for (int i = 0; i < 1100; ++i)
        so += "ソ";
    // Name, option and path as set, then as read back. Escapes and double-byte characters are
    // never split by the reading cut of 2047; one trailing blank stays; a lone lead byte (81)
    // before a line break or a tab in a name comes back, in an option before a double quote it
    // goes, and the bytes around it stay.
    const std::string cases[][6] = {
        {"ab" + t, q, p, "ab" + t.substr(0, 1022), q.substr(0, 1023), p.substr(0, 2047)},
        {b, "a" + q, "x" + so, b.substr(0, 1023), "a" + q.substr(0, 1023),
         "x" + so.substr(0, 2046)},
        {"x ", "ソ\"", "y ", "x ", "ソ\"", "y "},
        {"a\x81\nb\x81\tc\x81", "o\x81\"p\x81", "p", "a\x81\nb\x81\tc\x81", "o\"p\x81", "p"},
    };
    for (int i = 0; i < 4; ++i) {
        Items.SetName(i, cases[i][0]);
        Items.SetOption(i, cases[i][1]);
        Items.SetPath(i, cases[i][2]);
    }
    Save();
    const std::string written = Fs.Files[MirtoIni];
    Restart();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Items.GetName(i), cases[i][3]) << i;
        EXPECT_EQ(Items.GetOption(i), cases[i][4]) << i;
        EXPECT_EQ(Items.GetPath(i), cases[i][5]) << i;
    }
    Save();
    EXPECT_EQ(Fs.Files[MirtoIni], written);
}

TEST_F(SettingsFile, TakesDefaultsForBadValuesInHugeOrBinaryFiles) {
    // 20 MB of junk with settings lines scattered through it.
    std::string junk;
    junk.reserve(20u << 20);
    std::uint32_t seed = 12345;
    while (junk.size() < (20u << 20)) {
        seed = seed * 1103515245u + 12345u;
        const unsigned r = seed >> 16;
        if (r % 4096 == 0)
            junk += std::string("\r\n[Menu]\r\nHoldTime=99999999999999\r\nQuitKey=\x81") + '\0' +
                    "\xFF\r\n";
        else if (r % 4096 == 1)
            junk += "\n[Setting]\nWindowWidth=" + std::string(100000, '9') + "\n";
        else
            junk += static_cast<char>(r & 0xFF);
    }
    Fs.Files[MirtoIni] = junk;
    Start();
    EXPECT_EQ(Data.HoldTime, 2);
    EXPECT_EQ(Data.QuitKey, 3);
    EXPECT_EQ(Data.DialogWidth, 460);
    EXPECT_EQ(Data.MoveKey, 3);
    Save();
    Restart();
    EXPECT_EQ(Data.HoldTime, 2);

    // A NUL after a header ends nothing: the rest of that line is no key.
    StartWith(std::string("[Menu]") + '\0' +
              "HoldTime=7\n[Window]\nPosition=\xFF\xFF\nLine=99999999999999\n"
              "Transparent=0x7FFFFFFF\n");
    EXPECT_EQ(Data.HoldTime, 2);
    EXPECT_EQ(Data.Position, 0);
    EXPECT_EQ(Menu.Line, 1);
    EXPECT_EQ(Data.Transparent, INT_MAX);
}

namespace {

// A folder of its own in the system's temporary folder, removed with its files afterwards.
class PlatformFiles : public ::testing::Test {
protected:
    void SetUp() override {
        const char* temp = std::getenv("TMPDIR");
        if (!temp) temp = std::getenv("TEMP");
#ifdef _WIN32
        Dir = std::string(temp ? temp : ".") + "\\mirto_settings_" + std::to_string(_getpid());
        ASSERT_EQ(_mkdir(Dir.c_str()), 0);
        Dir += "\\";
#else
        Dir = std::string(temp ? temp : "/tmp") + "/mirto_settings_" + std::to_string(getpid());
        ASSERT_EQ(mkdir(Dir.c_str(), 0700), 0);
        Dir += "/";
#endif
    }
    void TearDown() override {
        for (const auto& name : Names()) {
            const std::string path = Dir + name;
            if (std::remove(path.c_str()) != 0) RemoveDir(path);
        }
        RemoveDir(Dir);
    }
    static void RemoveDir(const std::string& path) {
#ifdef _WIN32
        _rmdir(path.c_str());
#else
        rmdir(path.c_str());
#endif
    }
    static void MakeDir(const std::string& path) {
#ifdef _WIN32
        _mkdir(path.c_str());
#else
        mkdir(path.c_str(), 0700);
#endif
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        if (DIR* dir = opendir(Dir.c_str())) {
            while (dirent* entry = readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") names.push_back(name);
            }
            closedir(dir);
        }
        return names;
    }
    std::string Read(const std::string& name) const {
        std::string bytes;
        EXPECT_TRUE(Platform().ReadWholeFile(Dir + name, bytes));
        return bytes;
    }
    std::string Dir;
};

} // namespace

TEST_F(PlatformFiles, ReplacesAFileWholeAndLeavesNoOtherFile) {
    TPlatform platform;
    platform.WriteWholeFile(Dir + "Mirto.ini", "old\r\n");
    platform.WriteWholeFile(Dir + "Mirto.ini", std::string("new\0bytes\r\n", 11));
    EXPECT_EQ(Read("Mirto.ini"), std::string("new\0bytes\r\n", 11));
    EXPECT_EQ(Names(), std::vector<std::string>{"Mirto.ini"});
}

TEST_F(PlatformFiles, KeepsTheOldFileWhenTheNewOneCannotBeWritten) {
    TPlatform platform;
    platform.WriteWholeFile(Dir + "Mirto.ini", "old\r\n");
    // The file cannot be created beside the old one when a folder is in the way.
    MakeDir(Dir + "Mirto.ini.new");
    EXPECT_THROW(platform.WriteWholeFile(Dir + "Mirto.ini", "new\r\n"), EFileError);
    EXPECT_EQ(Read("Mirto.ini"), "old\r\n");
}

TEST_F(PlatformFiles, RefusesToReplaceAFolderAndLeavesNoPartialFile) {
    TPlatform platform;
    MakeDir(Dir + "Mirto.ini");
    EXPECT_THROW(platform.WriteWholeFile(Dir + "Mirto.ini", "new\r\n"), EFileError);
    EXPECT_EQ(Names(), std::vector<std::string>{"Mirto.ini"});
}

TEST_F(PlatformFiles, SavesSettingsThroughThePortablePlatform) {
    TSettingsFile file(Dir);
    file.UseSettingsPath(Dir + "Mirto.ini");
    TSettingData data;
    TLaunchItemTable items;
    TMenuSettings menu;
    file.SaveSettings(data, items, menu);
    file.SaveDialogSize(500, 470);
    TStartupSettings startup;
    data.DialogWidth = 0;
    file.LoadSettings(data, items, menu, startup);
    EXPECT_EQ(data.DialogWidth, 500);
    EXPECT_EQ(data.DialogHeight, 470);
    EXPECT_EQ(Names(), std::vector<std::string>{"Mirto.ini"});
}

TEST_F(PlatformFiles, ListsTheMatchingFilesOfAFolderButNoFolders) {
    TPlatform platform;
    for (const char* name : {"a.ini", "B.INI", "c.txt", "ini"})
        platform.WriteWholeFile(Dir + name, "x");
    MakeDir(Dir + "d.ini");
    std::vector<std::string> names = platform.ListFiles(Dir, "*.ini");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"B.INI", "a.ini"}));
    EXPECT_TRUE(platform.ListFiles(Dir + "none/", "*.ini").empty());
}
