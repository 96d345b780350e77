#include <gtest/gtest.h>

#include "MemoryFiles.h"

#include <string>
#include <vector>

#include "dialogs/AppearanceRules.h"
#include "frame/StringList.h"

namespace {

using TNames = std::vector<std::string>;

// The font list's line as the page chooses it, in a list of these names.
int FontLine(const TNames& names, std::string_view font) {
    return ChooseFontLine(static_cast<int>(names.size()), font, [&](std::string_view name) {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (SameText(names[i], name)) return static_cast<int>(i);
        return -1;
    });
}

TEST(FontList, NamesTrimmedAndVerticalVariantsLeftOut) {
    EXPECT_EQ(FontListName("  Arial\t"), "Arial");
    EXPECT_EQ(FontListName("ＭＳ Ｐゴシック"), "ＭＳ Ｐゴシック");
    EXPECT_EQ(FontListName("@ＭＳ 明朝"), "");
    EXPECT_EQ(FontListName(" @Arial"), "");
    EXPECT_EQ(FontListName("Arial @"), "Arial @");
}

TEST(FontList, OpeningChoiceFallsBackToGothicThenMinchoThenTheFirstLine) {
    const TNames all{"Arial", "Century", "ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝"};
    const TNames noGothic{"Arial", "Century", "ＭＳ Ｐ明朝"};
    const TNames neither{"Century", "Tahoma"};
    struct TCase {
        const TNames* Names;
        const char* Font;
        int Line;
    } cases[] = {
        {&all, "Century", 1},      {&all, "century", 1},
        {&all, "Missing", 2},      {&all, "", 2},
        {&noGothic, "Missing", 2}, {&noGothic, "Arial", 0},
        {&neither, "Missing", 0},  {&neither, "Tahoma", 1},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(FontLine(*c.Names, c.Font), c.Line) << c.Font;
    EXPECT_EQ(FontLine({}, "Arial"), -1);
}

TEST(FontList, SizeNotInTheListSelectsTheSecondLine) {
    const TNames sizes(FontSizeItems.begin(), FontSizeItems.end());
    struct TCase {
        int Size;
        int Line;
    } cases[] = {{9, 0}, {10, 1}, {12, 3}, {16, 5}, {13, 1}, {0, 1}, {-9, 1}};
    for (const TCase& c : cases)
        EXPECT_EQ(ChooseSizeLine(sizes, c.Size), c.Line) << c.Size;
    EXPECT_EQ(ChooseSizeLine({"12"}, 13), 0);
    EXPECT_EQ(ChooseSizeLine({}, 9), -1);
}

// Files in memory; a folder lists the ".ini" files right inside it, in name order.
class TSkinFiles : public TMemoryFiles {
public:
    std::vector<std::string> ListFiles(const std::string& folder,
                                       const std::string&) const override {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : Files) {
            if (path.compare(0, folder.size(), folder) != 0) continue;
            const std::string name = path.substr(folder.size());
            if (name.find('\\') == name.npos && name.size() > 4 &&
                name.substr(name.size() - 4) == ".ini")
                names.push_back(name);
        }
        return names;
    }
};

class SkinList : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlatform(&Files);
        const std::string skins = Folder + "Skin\\";
        Files.Files = {
            {skins + "Kiri.ini", "[Basic]\r\nName=桐\r\nDLL=kiri.dll\r\n"},
            {skins + "NoName.ini", "[Basic]\r\nDLL=x.dll\r\n[Other]\r\nName=Other\r\n"},
            {skins + "Plain.ini", "[basic]\r\nNAME = Plain \r\nDLL=\r\n"},
            {skins + "Away.ini", "[Basic]\r\nName=Away\r\nDLL=..\\..\\away.dll\r\n"},
            {skins + "Drive.ini", "[Basic]\r\nName=Drive\r\nDLL=C:\\away.dll\r\n"},
            // "ソ" ends in the byte 0x5C: a library name, not a folder.
            {skins + "So.ini", "[Basic]\r\nName=ソ\r\nDLL=sub\\ソ\r\n"},
            {skins + "Sub\\Deep.ini", "[Basic]\r\nName=Deep\r\n"},
            {skins + "Note.txt", "[Basic]\r\nName=Note\r\n"},
        };
    }
    void TearDown() override { SetPlatform(nullptr); }

    const std::string Folder = "C:\\Mirto\\";
    TSkinFiles Files;
};

TEST_F(SkinList, StandardBackgroundFirstThenNamedDefinitionsWithTheirLibraries) {
    const TSkinList list = BuildSkinList(Folder, "Skin\\", "SKIN\\plain.INI");
    const TNames names{"ミルト　-標準背景", "Away", "Drive", "桐", "Plain", "ソ"};
    EXPECT_EQ(list.Names, names);
    const std::vector<TSkinEntry> entries{
        {"(NULL)", "skin.dll"},        {"Skin\\Away.ini", "Skin\\"},
        {"Skin\\Drive.ini", "Skin\\"}, {"Skin\\Kiri.ini", "Skin\\kiri.dll"},
        {"Skin\\Plain.ini", "Skin\\"}, {"Skin\\So.ini", "Skin\\sub\\ソ"},
    };
    EXPECT_EQ(list.Entries, entries);
    EXPECT_EQ(list.Entries[0].Text(), "(NULL)=skin.dll");
    EXPECT_EQ(list.Entries[3].Text(), "Skin\\Kiri.ini=Skin\\kiri.dll");
    EXPECT_EQ(list.Selected, 4);

    const bool hasLibrary[] = {true, false, false, true, false, true};
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(SkinHasLibrary(list.Entries[i]), hasLibrary[i]) << list.Names[i];

    EXPECT_EQ(ChosenSkin(list, 0), "");
    EXPECT_EQ(ChosenSkin(list, -1), "");
    EXPECT_EQ(ChosenSkin(list, 3), "Skin\\Kiri.ini");
    EXPECT_EQ(ChosenSkin(list, 6), "");
}

TEST_F(SkinList, MissingCurrentSkinOrFolderSelectsTheStandardBackground) {
    EXPECT_EQ(BuildSkinList(Folder, "Skin\\", "Skin\\Gone.ini").Selected, 0);
    EXPECT_EQ(BuildSkinList(Folder, "Skin\\", "").Selected, 0);
    const TSkinList none = BuildSkinList(Folder, "Nowhere\\", "Nowhere\\Kiri.ini");
    EXPECT_EQ(none.Names, TNames{"ミルト　-標準背景"});
    EXPECT_EQ(none.Selected, 0);
    EXPECT_EQ(BuildSkinList("", "C:\\Mirto\\Skin\\", "").Names.size(), 1u)
        << "a relative program folder lists nothing";
}

} // namespace
