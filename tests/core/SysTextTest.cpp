#include <gtest/gtest.h>

#include "system/SysText.h"

TEST(EscapeText, RoundTripsControlCharactersAndDoubleByteTrailBackslashes) {
    // "ソ" (83 5C) and "表" (95 5C) end in the byte of a backslash: it must stay untouched.
    const std::string text = "ソ表\\\t改行\r\nend\\";
    const std::string escaped = EscapeText(text);
    EXPECT_EQ(escaped, "ソ表\\\\\\t改行\\r\\nend\\\\");
    EXPECT_EQ(UnescapeText(escaped), text);
}

TEST(EscapeText, KeepsALoneLeadByteBeforeATabOrLineBreakApartFromTheEscape) {
    // 81 cannot be followed by a tab or a line break in Shift_JIS; written as it is, it would take
    // the escape's backslash (5C, a valid trail byte) for its second byte.
    const std::string text = "a\x81\nb\x9F\tc\xE0\r\x81";
    const std::string escaped = EscapeText(text);
    EXPECT_EQ(escaped, "a\\x81\\nb\\x9F\\tc\\xE0\\r\x81");
    EXPECT_EQ(UnescapeText(escaped), text);
}

TEST(EscapeText, UnescapeDropsUnknownPairsAndALoneFinalBackslash) {
    EXPECT_EQ(UnescapeText("\\x"), "");
    EXPECT_EQ(UnescapeText("\\x4"), "4");
    EXPECT_EQ(UnescapeText("\\x4g"), "4g");
    EXPECT_EQ(UnescapeText("a\\qb"), "ab");
    EXPECT_EQ(UnescapeText("ab\\"), "ab");
    EXPECT_EQ(UnescapeText("ソ\\n"), "ソ\n");
}

TEST(GetSwitchValue, FindsTheFirstArgumentWithThePrefix) {
    EXPECT_EQ(GetSwitchValue({"/a", "/pC:\\x"}, "/p"), "C:\\x");
    EXPECT_EQ(GetSwitchValue({"/p"}, "/p"), "");
    EXPECT_EQ(GetSwitchValue({"/a"}, "/p"), "0");
    EXPECT_EQ(GetSwitchValue({"-f;\"名前.ini\"", "-f;other"}, "-f;"), "名前.ini");
    EXPECT_EQ(GetSwitchValue({"-F;x"}, "-f;"), "0");
    EXPECT_EQ(GetSwitchValue({"-f;\""}, "-f;"), "\"");
    EXPECT_TRUE(SwitchIsAbsent(GetSwitchValue({"-w0"}, "-w")));
    EXPECT_FALSE(SwitchIsAbsent(GetSwitchValue({"-wx"}, "-w")));
}

TEST(FormatVersionText, RaisesTheThirdNumberForBetaBuildsBeforePadding) {
    EXPECT_EQ(FormatVersionText(1, 0, 0, 0), "1.00");
    EXPECT_EQ(FormatVersionText(1, 0, 12, 0), "1.12");
    EXPECT_EQ(FormatVersionText(1, 0, 5, 2), "1.06β2");
    EXPECT_EQ(FormatVersionText(2, 0, 9, 1), "2.10β1");
}

TEST(SwapRedBlue, ExchangesTheOuterBytesAndClearsTheTop) {
    EXPECT_EQ(SwapRedBlue(0x00123456u), 0x00563412u);
    EXPECT_EQ(SwapRedBlue(0x80123456u), 0x00563412u);
}

#include <set>

#include "system/Paths.h"

TEST(NearestExistingFolder, WalksUpToAnExistingFolderOrTheProgramDrive) {
    const std::set<std::string> folders{"C:\\", "D:\\data", "D:\\data\\表"};
    auto isFolder = [&](const std::string& p) { return folders.count(p) > 0; };
    EXPECT_EQ(NearestExistingFolder("D:\\data\\file.txt", isFolder, "C:"), "D:\\data");
    EXPECT_EQ(NearestExistingFolder("D:\\data\\", isFolder, "C:"), "D:\\data");
    // "表" ends in the byte of a backslash; the walk must not cut inside it.
    EXPECT_EQ(NearestExistingFolder("D:\\data\\表\\x\\y", isFolder, "C:"), "D:\\data\\表");
    EXPECT_EQ(NearestExistingFolder("E:\\none\\deeper", isFolder, "C:"), "C:\\");
    EXPECT_EQ(NearestExistingFolder("relative", isFolder, "C:"), "C:\\");
}
