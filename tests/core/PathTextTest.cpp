#include <gtest/gtest.h>

#include <map>
#include <set>

#include "system/PathText.h"

// "表" is 95 5C in code page 932: its trail byte is the byte of a backslash.

TEST(PathText, FileTitleCutsTheLastExtensionOfTheNameOnly) {
    EXPECT_EQ(FileTitle("C:\\x\\memo.old.ini"), "memo.old");
    EXPECT_EQ(FileTitle("C:\\x\\.ini"), "");
    EXPECT_EQ(FileTitle("C:\\x\\readme"), "readme");
    EXPECT_EQ(FileTitle("C:\\x.dir\\readme"), "readme");
    EXPECT_EQ(FileTitle("C:\\表\\一覧.txt"), "一覧");
    EXPECT_EQ(FileTitle("C:\\x\\表"), "表");
    EXPECT_EQ(FileTitle("C:memo.txt"), "memo");
}

TEST(PathText, ExtensionKeepsItsDotAndIgnoresDotsOfFolders) {
    EXPECT_EQ(FileExtension("C:\\x\\Tool.LNK"), ".LNK");
    EXPECT_EQ(FileExtension("C:\\x.lnk\\readme"), "");
    EXPECT_EQ(FileExtension("C:\\x\\.ini"), ".ini");
    EXPECT_EQ(FileNamePart("C:\\データ\\表"), "表");
}

TEST(PathText, TrailingBackslashIsACharacterNotATrailByte) {
    EXPECT_EQ(AddTrailingBackslash("C:\\a"), "C:\\a\\");
    EXPECT_EQ(AddTrailingBackslash("C:\\a\\"), "C:\\a\\");
    EXPECT_EQ(AddTrailingBackslash(""), "\\");
    EXPECT_EQ(AddTrailingBackslash("C:\\表"), "C:\\表\\");
    EXPECT_EQ(RemoveTrailingBackslash("C:\\表"), "C:\\表");
    EXPECT_EQ(RemoveTrailingBackslash("C:\\表\\"), "C:\\表");
    EXPECT_EQ(RemoveTrailingBackslash("C:\\a\\\\"), "C:\\a\\");
}

TEST(PathText, OnlyAllCapitalNamesGetCapitalizedFirstLetters) {
    EXPECT_EQ(CapitalizeUpperName("PROGRA~1"), "Progra~1");
    EXPECT_EQ(CapitalizeUpperName("README.TXT"), "Readme.txt");
    EXPECT_EQ(CapitalizeUpperName("Program Files"), "Program Files");
    EXPECT_EQ(CapitalizeUpperName("~1"), "~1");
    // A double-byte first character keeps the name as it is; a trail byte in 'A'..'Z' ("ア" is
    // 83 41) is not a letter.
    EXPECT_EQ(CapitalizeUpperName("表ABC"), "表ABC");
    EXPECT_EQ(CapitalizeUpperName("Aア"), "Aア");
    EXPECT_EQ(CapitalizeUpperName("ABアDEF"), "Abアdef");
}

TEST(PathText, PathsWithBlanksAreQuotedOnce) {
    EXPECT_EQ(QuotePath("C:\\PROGRA~1\\A.EXE"), "C:\\PROGRA~1\\A.EXE");
    EXPECT_EQ(QuotePath("Z:\\with blank\\a.exe"), "\"Z:\\with blank\\a.exe\"");
    EXPECT_EQ(QuotePath("\"Z:\\with blank\\a.exe\""), "\"Z:\\with blank\\a.exe\"");
    EXPECT_EQ(QuotePath(""), "");
}

TEST(PathText, NewNumberedFileNameTakesTheFirstFreeNumber) {
    std::set<std::string> present = {"C:\\c\\CName001.ini", "C:\\c\\CName002.ini"};
    auto exists = [&](const std::string& path) { return present.count(path) > 0; };
    EXPECT_EQ(NewNumberedFileName("C:\\c", "CName", ".ini", 3, exists), "C:\\c\\CName003.ini");
    EXPECT_EQ(NewNumberedFileName("C:\\c\\", "CName", ".ini", 3, exists), "C:\\c\\CName003.ini");
    present.insert("C:\\c\\CName003.ini");
    present.erase("C:\\c\\CName001.ini");
    EXPECT_EQ(NewNumberedFileName("C:\\c", "CName", ".ini", 3, exists), "C:\\c\\CName001.ini");
    EXPECT_EQ(NumberedFileName("C:\\c", "CName", ".ini", 3, 1000), "C:\\c\\CName1000.ini");
    EXPECT_EQ(NumberedFileName("C:\\表", "x", "", 2, 7), "C:\\表\\x07");
}

TEST(PathText, NewNumberedFileNameGivesUpInsteadOfCountingForever) {
    int asked = 0;
    auto everything = [&](const std::string&) { return ++asked > 0; };
    EXPECT_EQ(NewNumberedFileName("C:\\c", "CName", ".ini", 3, everything, 50), "");
    EXPECT_EQ(asked, 49);
}

TEST(PathText, VolumeRootOfDrivesAndNetworkPaths) {
    EXPECT_EQ(VolumeRoot("C:\\a\\b"), "C:\\");
    EXPECT_EQ(VolumeRoot("c:"), "c:\\");
    EXPECT_EQ(VolumeRoot("\\\\server\\share\\a\\b"), "\\\\server\\share\\");
    EXPECT_EQ(VolumeRoot("\\\\server\\share"), "\\\\server\\share\\");
    EXPECT_EQ(VolumeRoot("\\\\server"), "");
    EXPECT_EQ(VolumeRoot("relative\\a"), "");
}

namespace {
// A folder tree by its short names: the long name of every path that exists.
class TLongNames {
public:
    std::map<std::string, std::string> Names;
    std::vector<std::string> Asked;
    std::function<bool(const std::string&, std::string&)> Finder() {
        return [this](const std::string& path, std::string& name) {
            Asked.push_back(path);
            const auto found = Names.find(path);
            if (found == Names.end()) return false;
            name = found->second;
            return true;
        };
    }
};
} // namespace

TEST(PathText, LongPathExpansionRebuildsEveryComponent) {
    TLongNames tree;
    tree.Names = {{"C:\\PROGRA~1", "Program Files"},
                  {"C:\\PROGRA~1\\MIRTO~1", "Mirto Tools"},
                  {"C:\\PROGRA~1\\MIRTO~1\\README.TXT", "README.TXT"}};
    EXPECT_EQ(ExpandLongPathText("C:\\PROGRA~1\\MIRTO~1\\README.TXT", false, tree.Finder()),
              "C:\\Program Files\\Mirto Tools\\Readme.txt");
    EXPECT_EQ(ExpandLongPathText("C:\\PROGRA~1\\MIRTO~1\\README.TXT", true, tree.Finder()),
              "C:\\Program Files\\Mirto Tools\\README.TXT");
    EXPECT_EQ(ExpandLongPathText("C:\\PROGRA~1\\MIRTO~1\\", false, tree.Finder()),
              "C:\\Program Files\\Mirto Tools");
}

TEST(PathText, LongPathExpansionStopsAtAComponentThatCannotBeFound) {
    TLongNames tree;
    tree.Names = {{"C:\\PROGRA~1", "Program Files"}, {"C:\\PROGRA~1\\GONE~1\\表", "表"}};
    // GONE~1 cannot be found: it and everything before it stay as they were.
    EXPECT_EQ(ExpandLongPathText("C:\\PROGRA~1\\GONE~1\\表", false, tree.Finder()),
              "C:\\PROGRA~1\\GONE~1\\表");
    EXPECT_EQ(tree.Asked.back(), "C:\\PROGRA~1\\GONE~1");
    EXPECT_EQ(ExpandLongPathText("C:\\", false, tree.Finder()), "C:");
}
