#include <gtest/gtest.h>

#include "TestFolder.h"

#include <algorithm>
#include <vector>

#include <windows.h>

#include "frame/Errors.h"
#include "settings/IniStr.h"
#include "system/SysInfoWin.h"
#include "system/Win32Platform.h"

namespace {
bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A settings folder whose name and file name hold double-byte characters; "表" (95 5C) ends in
// the byte of a backslash, which a path walk that ignores lead bytes would take for a separator.
class Win32PlatformFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "the tests need code page 932 (LC_ALL=ja_JP.UTF-8)";
        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
        Folder = std::string(temp) + "設定テスト" + std::to_string(GetCurrentProcessId());
        TTestFolder::RemoveTree(Folder);
        ASSERT_TRUE(CreateDirectoryA(Folder.c_str(), nullptr));
        File = Folder + "\\表示.ini";
        SetPlatform(&Win32);
    }
    void TearDown() override {
        SetPlatform(nullptr);
        TTestFolder::RemoveTree(Folder);
    }
    std::string Read(const std::string& path) {
        std::string bytes;
        EXPECT_TRUE(Win32.ReadWholeFile(path, bytes)) << path;
        return bytes;
    }

    TWin32Platform Win32;
    std::string Folder;
    std::string File;
};
} // namespace

TEST(Win32Platform, TellsLeadBytesOfCodePage932) {
    ASSERT_EQ(GetACP(), 932u) << "the tests need code page 932 (LC_ALL=ja_JP.UTF-8)";
    TWin32Platform win32;
    EXPECT_TRUE(win32.IsLeadByte(0x82));
    EXPECT_TRUE(win32.IsLeadByte(0x95));
    EXPECT_TRUE(win32.IsLeadByte(0xE0));
    EXPECT_FALSE(win32.IsLeadByte(0x41));
    EXPECT_FALSE(win32.IsLeadByte(0xB1)); // single-byte katakana
    EXPECT_FALSE(win32.IsLeadByte(0x5C));
}

TEST_F(Win32PlatformFiles, WritesAndReadsBackThroughADoubleBytePath) {
    const std::string content = "[表示]\r\nName=ソフト\r\n";
    Win32.WriteWholeFile(File, content);
    EXPECT_TRUE(Win32.FileExists(File));
    EXPECT_EQ(Read(File), content);
    EXPECT_FALSE(Exists(File + ".new"));
    // The folder's name really holds the double-byte characters.
    EXPECT_TRUE(IsFolder(Folder));
    EXPECT_FALSE(Win32.FileExists(Folder));
}

TEST_F(Win32PlatformFiles, ReplacesTheWholeFileWithShorterContent) {
    Win32.WriteWholeFile(File, std::string(70000, 'x'));
    Win32.WriteWholeFile(File, "[A]\r\nk=1\r\n");
    EXPECT_EQ(Read(File), "[A]\r\nk=1\r\n");
    Win32.WriteWholeFile(File, "");
    EXPECT_EQ(Read(File), "");
    EXPECT_FALSE(Exists(File + ".new"));
}

TEST_F(Win32PlatformFiles, KeepsTheOldFileWhenTheNewOneCannotBeCreated) {
    Win32.WriteWholeFile(File, "old");
    // Something that is not ours stands where the new file would be written.
    ASSERT_TRUE(CreateDirectoryA((File + ".new").c_str(), nullptr));
    try {
        Win32.WriteWholeFile(File, "new");
        FAIL() << "the write was reported as done";
    } catch (const EFileError& error) {
        EXPECT_NE(std::string(error.what()).find(File), std::string::npos) << error.what();
    }
    EXPECT_EQ(Read(File), "old");
    EXPECT_TRUE(IsFolder(File + ".new"));
}

TEST_F(Win32PlatformFiles, RefusesToReplaceAFolderAndLeavesNoTemporaryFile) {
    ASSERT_TRUE(CreateDirectoryA(File.c_str(), nullptr));
    EXPECT_THROW(Win32.WriteWholeFile(File, "new"), EFileError);
    EXPECT_TRUE(IsFolder(File));
    EXPECT_FALSE(Exists(File + ".new"));
    std::string bytes;
    EXPECT_FALSE(Win32.ReadWholeFile(File, bytes));
    EXPECT_FALSE(Win32.FileExists(File));
}

TEST_F(Win32PlatformFiles, ReportsAMissingFolder) {
    const std::string file = Folder + "\\無い\\表示.ini";
    EXPECT_THROW(Win32.WriteWholeFile(file, "x"), EFileError);
    EXPECT_FALSE(Exists(Folder + "\\無い"));
    std::string bytes = "kept";
    EXPECT_FALSE(Win32.ReadWholeFile(file, bytes));
    EXPECT_EQ(bytes, "kept");
}

TEST_F(Win32PlatformFiles, KeepsAReadOnlyFileAsItWas) {
    Win32.WriteWholeFile(File, "old");
    ASSERT_TRUE(SetFileAttributesA(File.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_THROW(Win32.WriteWholeFile(File, "new"), EFileError);
    EXPECT_EQ(Read(File), "old");
    EXPECT_FALSE(Exists(File + ".new"));
}

TEST_F(Win32PlatformFiles, WaitsAMomentForAReaderAndGivesUpOnOneThatStays) {
    Win32.WriteWholeFile(File, "old");
    const auto openReader = [&] {
        return CreateFileA(File.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    // A reader that lets go after 60 ms: the file is replaced all the same.
    HANDLE reader = openReader();
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    HANDLE letGo = CreateThread(
        nullptr, 0,
        [](void* handle) -> DWORD {
            Sleep(60);
            CloseHandle(static_cast<HANDLE>(handle));
            return 0;
        },
        reader, 0, nullptr);
    ASSERT_NE(letGo, nullptr);
    EXPECT_NO_THROW(Win32.WriteWholeFile(File, "new"));
    WaitForSingleObject(letGo, INFINITE);
    CloseHandle(letGo);
    EXPECT_EQ(Read(File), "new");

    // One that holds on: the write fails, keeping the file as it was and leaving nothing behind.
    reader = openReader();
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_THROW(Win32.WriteWholeFile(File, "newer"), EFileError);
    CloseHandle(reader);
    EXPECT_EQ(Read(File), "new");
    EXPECT_FALSE(Exists(File + ".new"));
}

TEST_F(Win32PlatformFiles, ReadsAFileThatAnEditorHoldsOpenForWriting) {
    Win32.WriteWholeFile(File, "[A]\r\n");
    HANDLE editor =
        CreateFileA(File.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(editor, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Read(File), "[A]\r\n");
    CloseHandle(editor);
}
TEST_F(Win32PlatformFiles, ListsTheMatchingFilesOfAFolderButNoFolders) {
    Win32.WriteWholeFile(Folder + "\\表.ini", "x");
    Win32.WriteWholeFile(Folder + "\\B.INI", "x");
    Win32.WriteWholeFile(Folder + "\\c.txt", "x");
    ASSERT_TRUE(CreateDirectoryA((Folder + "\\d.ini").c_str(), nullptr));
    std::vector<std::string> names = Win32.ListFiles(Folder + "\\", "*.ini");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"B.INI", "表.ini"}));
    EXPECT_TRUE(Win32.ListFiles(Folder + "\\無い\\", "*.ini").empty());
}

TEST_F(Win32PlatformFiles, SavesAndLoadsAnIniDocument) {
    TIniStringList ini;
    ini.SetItems(TStringList{"[表示]", "Font=ＭＳ ゴシック", "", "[Key]"});
    ini.SetInteger("表示", "Size", 9);
    ini.SaveToFile(File);
    EXPECT_EQ(Read(File), "[表示]\r\nFont=ＭＳ ゴシック\r\nSize=9\r\n\r\n[Key]\r\n");

    TIniStringList loaded;
    loaded.LoadFromFile(File);
    EXPECT_EQ(loaded.GetString("表示", "Font", ""), "ＭＳ ゴシック");
    EXPECT_EQ(loaded.GetInteger("表示", "Size", 0), 9);
    EXPECT_THROW(loaded.LoadFromFile(Folder + "\\none.ini"), EFileError);
}

TEST(SystemErrorText, GivesTheSystemMessageWithoutTheLineBreak) {
    const std::string text = GetSystemErrorText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), '\r');
    EXPECT_NE(text.back(), ' ');
}

TEST(SystemErrorText, WidensBlanksAndPunctuationButKeepsWords) {
    ASSERT_EQ(GetACP(), 932u) << "the tests need code page 932 (LC_ALL=ja_JP.UTF-8)";
    EXPECT_EQ(WidenSymbols("Access is denied."), "Access　is　denied．");
    EXPECT_EQ(WidenSymbols("表示(1)"), "表示（1）");
}
