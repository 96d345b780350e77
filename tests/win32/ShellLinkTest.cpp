#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include "TestAssociation.h"
#include "TestFolder.h"
#include "frame/StringList.h"
#include "system/Association.h"
#include "system/PathsWin.h"
#include "system/ShellLink.h"

namespace {
class ShellFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "the tests need code page 932 (LC_ALL=ja_JP.UTF-8)";
        ASSERT_TRUE(FolderExists(Folder.Path()));
    }
    // "表" ends in the byte of a backslash; the blank keeps the name from being a short one.
    TTestFolder Folder{"シェル表 files"};
};
} // namespace

TEST_F(ShellFiles, LinkKeepsJapanesePathArgumentsAndEveryField) {
    const std::string target = Folder / "対象 表.exe";
    ASSERT_TRUE(WriteTextFile(target, "MZ"));
    TLinkData written;
    written.Path = target;
    written.Arguments = "-x \"日本語 引数\" 表";
    written.WorkDir = Folder.Path();
    written.HotKey = 0x0641; // Control + Alt + A
    written.ShowCmd = SW_SHOWMAXIMIZED;
    written.Description = "説明文";
    written.IconPath = target;
    written.IconIndex = 2;
    const std::string linkFile = Folder / "起動 表.lnk";
    ASSERT_TRUE(WriteShellLink(linkFile, written));

    TLinkData read;
    ASSERT_TRUE(ReadShellLink(linkFile, read));
    ASSERT_TRUE(read.Path.has_value());
    // The target comes back in its short form.
    EXPECT_TRUE(SameText(*read.Path, GetShortFullPath(target))) << *read.Path;
    EXPECT_TRUE(SameText(ExpandLongPath(*read.Path), target)) << *read.Path;
    EXPECT_EQ(read.Arguments, written.Arguments);
    EXPECT_EQ(read.WorkDir, written.WorkDir);
    EXPECT_EQ(read.HotKey, 0x0641);
    EXPECT_EQ(read.ShowCmd, SW_SHOWMAXIMIZED);
    EXPECT_EQ(read.Description, written.Description);
    EXPECT_EQ(read.IconPath, target);
    EXPECT_EQ(read.IconIndex, 2);
}

TEST_F(ShellFiles, UnsetFieldsAreLeftAsTheNewLinkHasThem) {
    TLinkData written;
    written.Path = Folder / "a.exe";
    written.Arguments = "";
    ASSERT_TRUE(WriteShellLink(Folder / "plain.lnk", written));
    TLinkData read;
    read.Description = "before";
    ASSERT_TRUE(ReadShellLink(Folder / "plain.lnk", read));
    EXPECT_EQ(read.Arguments, "");
    EXPECT_EQ(read.WorkDir, "");
    EXPECT_EQ(read.Description, "");
    EXPECT_EQ(read.IconPath, "");
    EXPECT_EQ(read.ShowCmd, 0);
}

TEST_F(ShellFiles, FileThatIsNoLinkLeavesTheDataUntouched) {
    ASSERT_TRUE(WriteTextFile(Folder / "broken.lnk", "not a link at all"));
    TLinkData data;
    data.Path = "keep";
    data.ShowCmd = 7;
    EXPECT_FALSE(ReadShellLink(Folder / "broken.lnk", data));
    EXPECT_FALSE(ReadShellLink(Folder / "missing.lnk", data));
    EXPECT_EQ(data.Path, "keep");
    EXPECT_EQ(data.ShowCmd, 7);
    EXPECT_FALSE(data.Arguments.has_value());
    EXPECT_FALSE(WriteShellLink(Folder / "no folder\\x.lnk", TLinkData{}));
}

TEST_F(ShellFiles, InternetShortcutGivesAddressIconAndHotKey) {
    const std::string file = Folder / "サイト 表.url";
    ASSERT_TRUE(WriteTextFile(file, "[InternetShortcut]\r\n"
                                    "URL=http://example.com/page?q=1\r\n"
                                    "IconFile=C:\\icons\\アイコン.ico\r\n"
                                    "IconIndex=3\r\n"
                                    "HotKey=1601\r\n"));
    TUrlData url;
    ASSERT_TRUE(ReadUrlShortcut(file, url));
    EXPECT_EQ(url.Url, "http://example.com/page?q=1");
    EXPECT_EQ(url.IconPath, "C:\\icons\\アイコン.ico");
    EXPECT_EQ(url.IconIndex, 3);
    EXPECT_EQ(url.HotKey, 1601);

    TUrlData untouched;
    untouched.Url = "keep";
    EXPECT_FALSE(ReadUrlShortcut(Folder / "missing.url", untouched));
    EXPECT_EQ(untouched.Url, "keep");
}

TEST_F(ShellFiles, ShortAndLongFormsOfARealFolder) {
    const std::string file = Folder / "長い名前のファイル one.txt";
    ASSERT_TRUE(WriteTextFile(file, "x"));
    const std::string shortPath = GetShortFullPath(file);
    ASSERT_FALSE(shortPath.empty());
    EXPECT_NE(shortPath, file);
    EXPECT_NE(GetFileAttributesA(shortPath.c_str()), INVALID_FILE_ATTRIBUTES) << shortPath;
    EXPECT_EQ(ExpandLongPath(shortPath), file);
    EXPECT_EQ(ExpandLongPath(shortPath + "\\"), file);

    // Relative names are taken from the current folder.
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    ASSERT_TRUE(SetCurrentDirectoryA(Folder.Path().c_str()));
    EXPECT_EQ(ExpandLongPath("sub\\..\\長い名前のファイル one.txt"), file);
    EXPECT_TRUE(SameText(GetShortFullPath("長い名前のファイル one.txt"), shortPath));
    SetCurrentDirectoryA(current);

    // A missing name keeps its full path: the short form of what does not exist is not asked.
    EXPECT_EQ(GetShortFullPath(Folder / "gone file.txt"), Folder / "gone file.txt");
    // A component that cannot be found stops the expansion there.
    const std::string shortFolder = GetShortFullPath(Folder.Path());
    EXPECT_EQ(ExpandLongPath(shortFolder + "\\GONE~1\\x"), shortFolder + "\\GONE~1\\x");
}

TEST_F(ShellFiles, NumberedFileNameSkipsFilesAndFolders) {
    ASSERT_TRUE(WriteTextFile(Folder / "CName001.ini", ""));
    ASSERT_TRUE(CreateDirectoryA((Folder / "CName002.ini").c_str(), nullptr));
    EXPECT_EQ(NewNumberedFileName(Folder.Path(), "CName", ".ini", 3), Folder / "CName003.ini");
}

TEST(ShellFolders, StartupFolderIsTheUsersStartupFolder) {
    char expected[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, expected),
              S_OK);
    EXPECT_EQ(GetStartupFolderPath(), expected);
    EXPECT_FALSE(GetWindowsFolder().empty());
    EXPECT_TRUE(FolderExists(GetWindowsFolder()));
    EXPECT_TRUE(FolderExists(GetProgramFilesFolder())) << GetProgramFilesFolder();
}

TEST_F(ShellFiles, DocumentCommandFindsALongExtensionFromTheShortName) {
    // The short name keeps three letters of ".mzdoc"; no ".mzd" class exists to stand in.
    const std::string notepad = GetWindowsFolder() + "\\system32\\notepad.exe";
    TTestAssociation longer(".mzdoc", "Mirto.TestLongDocument",
                            "\"%SystemRoot%\\system32\\notepad.exe\" \"%1\"");
    ASSERT_TRUE(WriteTextFile(Folder / "報告 書.mzdoc", "x"));
    const std::string document = GetShortFullPath(Folder / "報告 書.mzdoc");
    EXPECT_EQ(FindDocumentCommand(document),
              (TDocumentCommand{false, "\"" + notepad + "\" \"" + document + "\""}));
}

TEST_F(ShellFiles, DocumentCommandFollowsTheAssociation) {
    const std::string notepad = GetWindowsFolder() + "\\system32\\notepad.exe";
    ASSERT_TRUE(FolderExists(GetWindowsFolder()));
    TTestAssociation plain(".mzd", "Mirto.TestDocument",
                           "\"%SystemRoot%\\system32\\notepad.exe\" \"%1\" %*");
    TTestAssociation dde(".mzx", "Mirto.TestDde", "\"" + notepad + "\" /dde");
    // The launcher asks with short paths; a short name keeps three letters of the extension.
    ASSERT_TRUE(WriteTextFile(Folder / "メモ 表.mzd", "x"));
    const std::string document = GetShortFullPath(Folder / "メモ 表.mzd");

    EXPECT_EQ(FindDocumentCommand(document),
              (TDocumentCommand{false, "\"" + notepad + "\" \"" + document + "\" "}));

    ASSERT_TRUE(WriteTextFile(Folder / "a.mzx", "x"));
    const std::string ddeDocument = GetShortFullPath(Folder / "a.mzx");
    EXPECT_TRUE(FindDocumentCommand(ddeDocument).ShellOpen);

    ASSERT_TRUE(WriteTextFile(Folder / "a.mzn", "x"));
    const std::string unknown = GetShortFullPath(Folder / "a.mzn");
    EXPECT_EQ(FindDocumentCommand(unknown),
              (TDocumentCommand{false, "rundll32.exe shell32.dll,OpenAs_RunDLL " + unknown}));

    const std::string program = GetShortFullPath(notepad);
    EXPECT_EQ(FindDocumentCommand(program), (TDocumentCommand{false, program}));
    // A file that does not exist: the shell cannot tell, and the launch starts the path itself.
    EXPECT_EQ(FindDocumentCommand(Folder / "gone.mzd"), TDocumentCommand{});
}
