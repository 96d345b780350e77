#include <gtest/gtest.h>

#include "MemoryFiles.h"

#include <map>

#include "frame/Errors.h"
#include "frame/Platform.h"
#include "settings/IniStr.h"

namespace {
TStringList Lines(std::initializer_list<std::string> lines) {
    return TStringList(lines);
}

std::vector<std::string> Document(const TIniStringList& ini) {
    return ini.Items().Items();
}

// Files held in memory, so that loading and saving show exactly the bytes that move.
using TMemoryFilePlatform = TMemoryFiles;

class IniStringListFile : public ::testing::Test {
protected:
    void SetUp() override { SetPlatform(&Files); }
    void TearDown() override { SetPlatform(nullptr); }
    TMemoryFilePlatform Files;
};
} // namespace

TEST(IniStringList, FindsHeaderOnlyWhenTheWholeLineMatchesIgnoringLetterCase) {
    TIniStringList ini;
    ini.SetItems(Lines({"[color]", "Back=1", " [Space]", "Gap=2", "[Tail] ", "End=3"}));
    EXPECT_EQ(ini.GetString("COLOR", "Back", "-"), "1");
    EXPECT_TRUE(ini.IsExistsSection("Color"));
    EXPECT_EQ(ini.GetString("Space", "Gap", "-"), "-");
    EXPECT_FALSE(ini.IsExistsSection("Space"));
    EXPECT_FALSE(ini.IsExistsSection("Tail"));
    EXPECT_EQ(ini.GetString("Tail", "End", "-"), "-");
}

TEST(IniStringList, ComparesDoubleByteSectionNamesByteForByte) {
    // "ア" (83 41) and "ッ" (83 61) differ only in a trail byte that looks like a letter.
    TIniStringList ini;
    ini.SetItems(Lines({"[\x83\x61]", "k=v"}));
    EXPECT_FALSE(ini.IsExistsSection("\x83\x41"));
    EXPECT_EQ(ini.GetString("\x83\x41", "k", "-"), "-");
    EXPECT_EQ(ini.GetString("\x83\x61", "k", "-"), "v");
}

TEST(IniStringList, MatchesKeysWithTheirLetterCaseAndNoBlankBeforeTheEqualsSign) {
    TIniStringList ini;
    ini.SetItems(Lines({"[A]", "Name=x y ", "Spaced =1", "; Name=comment"}));
    EXPECT_EQ(ini.GetString("A", "Name", "-"), "x y ");
    EXPECT_EQ(ini.GetString("A", "name", "-"), "-");
    EXPECT_EQ(ini.GetString("A", "Spaced", "-"), "-");
    EXPECT_EQ(ini.GetString("A", "Nam", "-"), "-");
}

TEST(IniStringList, ReadsOnlyTheFirstOfDuplicatedSectionsAndKeys) {
    TIniStringList ini;
    ini.SetItems(Lines({"[A]", "k=1", "k=2", "[a]", "k=3", "only=4"}));
    EXPECT_EQ(ini.GetString("A", "k", "-"), "1");
    EXPECT_EQ(ini.GetString("a", "only", "-"), "-");
    ini.SetString("A", "k", "9");
    EXPECT_EQ(Document(ini),
              (std::vector<std::string>{"[A]", "k=9", "k=2", "[a]", "k=3", "only=4"}));
}

TEST(IniStringList, TreatsAnEmptyValueAsAbsentButReplacesThatLine) {
    TIniStringList ini;
    ini.SetItems(Lines({"[A]", "k=", "", "other=1"}));
    EXPECT_EQ(ini.GetString("A", "k", "def"), "def");
    EXPECT_EQ(ini.GetInteger("A", "k", 7), 7);
    ini.SetString("A", "k", "set");
    EXPECT_EQ(Document(ini), (std::vector<std::string>{"[A]", "k=set", "", "other=1"}));
}

TEST(IniStringList, StopsTheBlockAtAnyLineBeginningWithABracket) {
    TIniStringList ini;
    ini.SetItems(Lines({"[A]", "x=1", "[broken", "y=2"}));
    EXPECT_EQ(ini.GetString("A", "y", "-"), "-");
    ini.SetString("A", "y", "3");
    EXPECT_EQ(Document(ini), (std::vector<std::string>{"[A]", "y=3", "x=1", "[broken", "y=2"}));
}

TEST(IniStringList, ReadsBooleansOnlyFromZeroAndOne) {
    TIniStringList ini;
    ini.SetItems(Lines({"[B]", "zero=0", "one=1", "two=2", "word=true", "yes=yes", "pad= 1"}));
    EXPECT_FALSE(ini.GetBool("B", "zero", true));
    EXPECT_TRUE(ini.GetBool("B", "one", false));
    for (const char* key : {"two", "word", "yes", "pad", "missing"}) {
        EXPECT_TRUE(ini.GetBool("B", key, true)) << key;
        EXPECT_FALSE(ini.GetBool("B", key, false)) << key;
    }
}

TEST(IniStringList, ReadsIntegersOnlyWhenTheWholeTextConverts) {
    TIniStringList ini;
    ini.SetItems(Lines({"[N]", "mixed=12ab", "tail=7 ", "min=-2147483648", "over=2147483648",
                        "hex=$1F", "allbits=0xFFFFFFFF", "sign=-"}));
    EXPECT_EQ(ini.GetInteger("N", "mixed", 5), 5);
    EXPECT_EQ(ini.GetInteger("N", "tail", 5), 5);
    EXPECT_EQ(ini.GetInteger("N", "min", 5), INT32_MIN);
    EXPECT_EQ(ini.GetInteger("N", "over", 5), 5);
    EXPECT_EQ(ini.GetInteger("N", "hex", 5), 31);
    EXPECT_EQ(ini.GetInteger("N", "allbits", 5), -1);
    EXPECT_EQ(ini.GetInteger("N", "sign", 5), 5);
}

TEST(IniStringList, AppendsANewSectionAndInsertsLaterKeysBeforeItsLastLine) {
    TIniStringList ini;
    ini.SetItems(Lines({"[A]", "a=1", ""}));
    ini.SetString("New", "first", "1");
    EXPECT_EQ(Document(ini), (std::vector<std::string>{"[A]", "a=1", "", "[New]", "first=1"}));
    ini.SetInteger("new", "second", -2);
    ini.SetBool("New", "third", true);
    EXPECT_EQ(Document(ini), (std::vector<std::string>{"[A]", "a=1", "", "[New]", "second=-2",
                                                       "third=1", "first=1"}));
}

TEST(IniStringList, InsertsANewKeyBeforeTheBlankLineThatClosesItsSection) {
    TIniStringList ini;
    ini.SetItems(Lines({"[A]", "a=1", "", "[B]"}));
    ini.SetString("A", "b", "2");
    EXPECT_EQ(Document(ini), (std::vector<std::string>{"[A]", "a=1", "b=2", "", "[B]"}));
    EXPECT_EQ(ini.GetString("A", "b", "-"), "2");
}

TEST(IniStringList, InsertsRightAfterTheHeaderOfAnEmptySection) {
    TIniStringList ini;
    ini.SetItems(Lines({"[A]", "[B]"}));
    ini.SetString("A", "k", "v");
    EXPECT_EQ(Document(ini), (std::vector<std::string>{"[A]", "k=v", "[B]"}));

    TIniStringList last;
    last.SetItems(Lines({"[Only]"}));
    last.SetBool("Only", "k", false);
    EXPECT_EQ(Document(last), (std::vector<std::string>{"[Only]", "k=0"}));
}

TEST(IniStringList, KeepsItsOwnCopyOfTheLinesItWasGiven) {
    TStringList source{"[A]", "k=1"};
    TIniStringList ini;
    ini.SetItems(source);
    source.Put(1, "k=2");
    source.Add("x=3");
    EXPECT_EQ(ini.GetString("A", "k", "-"), "1");
    EXPECT_EQ(ini.Items().Count(), 2u);

    ini.SetItems(ini.Items());
    EXPECT_EQ(Document(ini), (std::vector<std::string>{"[A]", "k=1"}));
}

TEST(IniStringList, NotifiesOncePerLineChangeWithItselfAsSender) {
    TIniStringList ini;
    int changes = 0;
    const TIniStringList* sender = nullptr;
    ini.OnChange = [&](TIniStringList& s) {
        ++changes;
        sender = &s;
    };
    ini.SetItems(Lines({"[A]", "k=1"}));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(sender, &ini);
    changes = 0;
    ini.SetItems(Lines({"[A]", "k=1", "x=2"}));
    EXPECT_EQ(changes, 4);
    changes = 0;
    ini.SetString("A", "k", "2");
    EXPECT_EQ(changes, 1);
    ini.SetString("A", "new", "1");
    EXPECT_EQ(changes, 2);
    ini.SetString("Other", "k", "1");
    EXPECT_EQ(changes, 4);
    ini.GetString("A", "k", "");
    EXPECT_EQ(changes, 4);
}

TEST_F(IniStringListFile, LoadsLinesAtEveryBreakWithOneNotification) {
    Files.Files["skin.ini"] = "[Skin]\r\nName=表示\nTop=3\r\r\n[End]";
    TIniStringList ini;
    int changes = 0;
    ini.OnChange = [&](TIniStringList&) { ++changes; };
    ini.LoadFromFile("skin.ini");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Document(ini),
              (std::vector<std::string>{"[Skin]", "Name=表示", "Top=3", "", "[End]"}));
    EXPECT_EQ(ini.GetInteger("skin", "Top", 0), 3);

    Files.Files["empty.ini"] = "";
    ini.LoadFromFile("empty.ini");
    EXPECT_TRUE(ini.Items().Empty());
}

TEST_F(IniStringListFile, ReportsAnUnreadableFileAndKeepsTheDocument) {
    TIniStringList ini;
    ini.SetItems(Lines({"[A]", "k=1"}));
    int changes = 0;
    ini.OnChange = [&](TIniStringList&) { ++changes; };
    EXPECT_THROW(ini.LoadFromFile("missing.ini"), EFileError);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(ini.GetString("A", "k", "-"), "1");
}

TEST_F(IniStringListFile, SavesEveryLineWithCarriageReturnAndLineFeed) {
    TIniStringList ini;
    ini.SetItems(Lines({"[A]", "k=表", ""}));
    ini.SaveToFile("out.ini");
    EXPECT_EQ(Files.Files["out.ini"], "[A]\r\nk=表\r\n\r\n");
}
