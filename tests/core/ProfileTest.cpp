#include <gtest/gtest.h>

#include <string>

#include "settings/Profile.h"

TEST(Profile, MatchesNamesWithoutLetterCaseAndTheFirstSectionAndKeyWin) {
    const TProfile ini("[menu]\r\nHOLD=1\r\nhold=2\r\n[Other]\r\nHold=3\r\n[MENU]\r\nHold=4\r\n"
                       "Extra=5\r\n");
    EXPECT_EQ(ini.ReadString("Menu", "Hold", "-"), "1");
    EXPECT_EQ(ini.ReadString("Other", "hOLD", "-"), "3");
    // Keys of a second section of the same name are never seen.
    EXPECT_EQ(ini.ReadString("Menu", "Extra", "-"), "-");
    EXPECT_FALSE(ini.ValueExists("menu", "Extra"));
    EXPECT_TRUE(ini.ValueExists("MENU", "hold"));
    EXPECT_TRUE(ini.SectionExists("OTHER"));
    EXPECT_FALSE(ini.SectionExists("Missing"));
}

TEST(Profile, IgnoresBlanksAroundNamesAndValuesAndRemovesOnePairOfQuotes) {
    const TProfile ini(" \t[ Sec ]  trailing\n  Key \t=  value with  inner  \t\n"
                       "Dq=\"  kept  \"\nSq='x'\nMixed=\"x'\nInner=a \"b\" c\nOne=\"\n"
                       "Twice=\"\"x\"\"\nEmpty=\nEmptyQuotes=\"\"\n");
    EXPECT_EQ(ini.ReadString("Sec", "Key", "-"), "value with  inner");
    EXPECT_EQ(ini.ReadString("Sec", "Dq", "-"), "  kept  ");
    EXPECT_EQ(ini.ReadString("Sec", "Sq", "-"), "x");
    EXPECT_EQ(ini.ReadString("Sec", "Mixed", "-"), "\"x'");
    EXPECT_EQ(ini.ReadString("Sec", "Inner", "-"), "a \"b\" c");
    EXPECT_EQ(ini.ReadString("Sec", "One", "-"), "\"");
    EXPECT_EQ(ini.ReadString("Sec", "Twice", "-"), "\"x\"");
    // A key that is present with an empty value reads empty, not as the default.
    EXPECT_EQ(ini.ReadString("Sec", "Empty", "-"), "");
    EXPECT_EQ(ini.ReadString("Sec", "EmptyQuotes", "-"), "");
    EXPECT_TRUE(ini.ValueExists("Sec", "Empty"));
}

TEST(Profile, SplitsLinesAtEveryKindOfLineEndAndKeepsKeysInTheirSection) {
    const TProfile ini("Loose=0\r[A]\rk=1\n[B]\r\nk=2\r\n\r\nno equal sign\n[C]\n=nameless\nk=3");
    EXPECT_EQ(ini.ReadInteger("A", "k", -1), 1);
    EXPECT_EQ(ini.ReadInteger("B", "k", -1), 2);
    EXPECT_EQ(ini.ReadInteger("C", "k", -1), 3);
    EXPECT_FALSE(ini.ValueExists("B", "no equal sign"));
    EXPECT_EQ(ini.ReadString("A", "Loose", "-"), "-");
}

TEST(Profile, FindsTheEndOfADoubleByteSectionNameAfterTrailBytesThatLookLikeBrackets) {
    // "ゾ" is 83 5D: its trail byte is "]".
    const TProfile ini("[ゾーン]\nk=v\n[[x]\nk=w\n");
    EXPECT_EQ(ini.ReadString("ゾーン", "k", "-"), "v");
    EXPECT_EQ(ini.ReadString("[x", "k", "-"), "w");
}

TEST(Profile, CutsValuesToTheLimitWithoutSplittingADoubleByteCharacter) {
    const std::string longValue(3000, 'x');
    const TProfile ini("[S]\nLong=" + longValue + "\nQuoted=\"" + longValue +
                       "\"\nJapanese=" + std::string(2046, 'y') + "ソソ\n");
    EXPECT_EQ(ini.ReadString("S", "Long", ""), std::string(2047, 'x'));
    EXPECT_EQ(ini.ReadString("S", "Quoted", ""), std::string(2047, 'x'));
    EXPECT_EQ(ini.ReadString("S", "Japanese", ""), std::string(2046, 'y'));
    EXPECT_EQ(ini.ReadUncutString("S", "Quoted", ""), longValue);
}

TEST(Profile, ReadsDecimalAndHexadecimalIntegersAndFallsBackOnAnythingElse) {
    const TProfile ini(
        "[N]\nPlus=+12\nMinus=-7\nSpaced=  42  \nQuoted=\"9\"\nHex=0x1F\nHexUp=0X1f\n"
        "Dollar=$ff\nAllBits=$FFFFFFFF\nMin=-2147483648\nMax=2147483647\n"
        "TooBig=2147483648\nTooSmall=-2147483649\nHuge=99999999999999\n"
        "HexTooBig=0x100000000\nTrailing=12a\nEmpty=\nBareHex=0x\nBareDollar=$\n"
        "SignedHex=-0x10\nSignOnly=-\nInnerBlank=1 2\nLeadingZeros=000000000000031\n");
    auto read = [&](const char* key) { return ini.ReadInteger("N", key, -99); };
    EXPECT_EQ(read("Plus"), 12);
    EXPECT_EQ(read("Minus"), -7);
    EXPECT_EQ(read("Spaced"), 42);
    EXPECT_EQ(read("Quoted"), 9);
    EXPECT_EQ(read("Hex"), 31);
    EXPECT_EQ(read("HexUp"), 31);
    EXPECT_EQ(read("Dollar"), 255);
    EXPECT_EQ(read("AllBits"), -1);
    EXPECT_EQ(read("Min"), -2147483647 - 1);
    EXPECT_EQ(read("Max"), 2147483647);
    EXPECT_EQ(read("LeadingZeros"), 31);
    for (const char* bad :
         {"TooBig", "TooSmall", "Huge", "HexTooBig", "Trailing", "Empty", "BareHex", "BareDollar",
          "SignedHex", "SignOnly", "InnerBlank", "Missing"})
        EXPECT_EQ(read(bad), -99) << bad;
}

TEST(Profile, ReadsBooleansAsIntegers) {
    const TProfile ini("[B]\nTwo=2\nZero=0\nNegative=-1\nWord=true\n");
    EXPECT_TRUE(ini.ReadBool("B", "Two", false));
    EXPECT_FALSE(ini.ReadBool("B", "Zero", true));
    EXPECT_TRUE(ini.ReadBool("B", "Negative", false));
    EXPECT_TRUE(ini.ReadBool("B", "Word", true));
    EXPECT_FALSE(ini.ReadBool("B", "Word", false));
    EXPECT_TRUE(ini.ReadBool("B", "Missing", true));
}

TEST(ProfileWriter, ReplacesTheFirstMatchingKeyAndLeavesEveryOtherLineAlone) {
    TProfile ini("; note\r\n[Setting]\r\n  windowwidth = 0 \r\nWindowWidth=7\r\nOther= x \r\n"
                 "\r\n[Color]\r\nBack=1\r\n");
    ini.WriteInteger("SETTING", "WindowWidth", 520);
    EXPECT_EQ(ini.GetText(), "; note\r\n[Setting]\r\nWindowWidth=520\r\nWindowWidth=7\r\n"
                             "Other= x \r\n\r\n[Color]\r\nBack=1\r\n");
    EXPECT_EQ(ini.ReadInteger("Setting", "WindowWidth", 0), 520);
}

TEST(ProfileWriter, AddsAMissingKeyAtTheEndOfItsSectionBeforeTheBlankLines) {
    TProfile ini("[Setting]\nSkin=\n\n\n[Color]\nBack=1");
    ini.WriteString("Setting", "WindowHeight", "480");
    ini.WriteString("Color", "Text", "2");
    EXPECT_EQ(ini.GetText(),
              "[Setting]\r\nSkin=\r\nWindowHeight=480\r\n\r\n\r\n[Color]\r\nBack=1\r\nText=2\r\n");
    EXPECT_EQ(ini.ReadString("Color", "Text", ""), "2");
}

TEST(ProfileWriter, AddsAMissingSectionAtTheEnd) {
    TProfile ini;
    ini.WriteInteger("Setting", "WindowWidth", 460);
    ini.WriteInteger("Setting", "WindowHeight", 452);
    EXPECT_EQ(ini.GetText(), "[Setting]\r\nWindowWidth=460\r\nWindowHeight=452\r\n");
    TProfile other("[A]\nk=1");
    other.WriteString("B", "k", "2");
    EXPECT_EQ(other.GetText(), "[A]\r\nk=1\r\n[B]\r\nk=2\r\n");
    EXPECT_EQ(other.ReadInteger("B", "k", 0), 2);
}

TEST(ProfileRobustness, SurvivesBinaryBytesAndHugeLines) {
    std::string bytes = "[S]\nNul=a";
    bytes += '\0';
    bytes += "b\n";
    bytes += std::string(100000, '\xFF') + "\n";
    bytes += std::string(100000, '[') + "\n";
    // Lead bytes that swallow the closing bracket: no header, the keys stay in [S].
    bytes += "[" + std::string(99999, '\x81') + "]\n";
    bytes += "Wide=" + std::string(100000, 'z') + "\n";
    bytes += "Lead=\x81\n";
    bytes += std::string(100000, '=') + "\n";
    bytes += "Last=\xFF\xFF\xFF";
    const TProfile ini(bytes);
    EXPECT_EQ(ini.ReadString("S", "Nul", ""), std::string("a\0b", 3));
    EXPECT_EQ(ini.ReadString("S", "Wide", "").size(), ProfileValueMax);
    EXPECT_EQ(ini.ReadString("S", "Lead", "-"), "\x81");
    EXPECT_EQ(ini.ReadString("S", "Last", "-"), "\xFF\xFF\xFF");
    EXPECT_EQ(ini.ReadInteger("S", "Wide", 5), 5);
}
