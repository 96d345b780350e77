#include <gtest/gtest.h>

#include "system/SysInfo.h"

namespace {
struct TLookupLog {
    int SubVersionAsked = 0;
    int OleaccAsked = 0;
};

// Lookups that answer fixed values and count how often they are asked.
TVersionLookups Answering(TLookupLog& log, std::string subVersion, bool oleaccReadable = false,
                          long a = 0, long b = 0, long c = 0, long d = 0) {
    TVersionLookups lookups;
    lookups.SubVersionNumber = [&log, subVersion] {
        ++log.SubVersionAsked;
        return subVersion;
    };
    lookups.OleaccVersion = [&log, oleaccReadable, a, b, c, d](long& w, long& x, long& y, long& z) {
        ++log.OleaccAsked;
        w = a, x = b, y = c, z = d;
        return oleaccReadable;
    };
    return lookups;
}

TWindowsVersion Classify(int platform, unsigned long major, unsigned long minor,
                         unsigned long build, std::string_view servicePack,
                         const TVersionLookups& lookups) {
    TWindowsVersion version;
    ClassifyWindowsVersion(version, platform, major, minor, build, servicePack, lookups);
    return version;
}

// Marks the runs that would be widened.
std::string Mark(std::string_view run) {
    std::string marked = "<";
    marked.append(run).append(">");
    return marked;
}
} // namespace

TEST(WindowsVersion, NamesWindows95ReleasesByTheirSubVersionLetter) {
    // Windows 9x keeps the version in the build number's high word.
    const unsigned long build950 = 0x040003B6;
    const std::pair<std::string, const char*> releases[] = {{" C", "Windows 95 OSR2.5"},
                                                            {"", "Windows 95"},
                                                            {"a", "Windows 95 S.R.1"},
                                                            {" B", "Windows 95 OSR2.0"},
                                                            {"x", "Windows 95"}};
    for (const auto& [letter, name] : releases) {
        TLookupLog log;
        const auto version = Classify(1, 4, 0, build950, letter, Answering(log, letter));
        EXPECT_EQ(version.Family, 0);
        EXPECT_EQ(version.Build, 950);
        EXPECT_EQ(GetWindowsName(version, 0), name) << letter;
        EXPECT_EQ(log.SubVersionAsked, 1);
    }
    TLookupLog log;
    const auto later = Classify(1, 4, 0, 1212, " B", Answering(log, "B"));
    EXPECT_EQ(GetWindowsName(later, 0), "Windows 95 OSR2.1");
    EXPECT_EQ(GetWindowsName(later, 1), "4.00.1212 B");
}

TEST(WindowsVersion, TellsWindows98ReleasesByBuildAndAccessibilityLibrary) {
    TLookupLog second;
    auto version = Classify(1, 4, 10, 2222, " A ", Answering(second, ""));
    EXPECT_EQ(GetWindowsName(version, 0), "Windows 98 Second Edition");
    EXPECT_EQ(GetWindowsName(version, 1), "4.10.2222. A ");
    EXPECT_EQ(second.OleaccAsked, 0);

    TLookupLog sp1;
    version = Classify(1, 4, 10, 1998, "", Answering(sp1, "", true, 4, 2, 2209, 0));
    EXPECT_EQ(GetWindowsName(version, 0), "Windows 98 with SP1");
    EXPECT_EQ(GetWindowsName(version, 1), "4.10.1998");

    TLookupLog unreadable;
    version = Classify(1, 4, 10, 1998, "", Answering(unreadable, "", false, 4, 2, 2209, 0));
    EXPECT_EQ(GetWindowsName(version, 0), "Windows 98");

    version = Classify(1, 4, 50, 1, "", Answering(unreadable, ""));
    EXPECT_EQ(GetWindowsName(version, 0), "Windows 9x");
    EXPECT_EQ(GetWindowsName(version, 1), "");
}

TEST(WindowsVersion, NamesTheNtLineAndFallsBackToWindowsNt) {
    TLookupLog log;
    auto version = Classify(2, 5, 1, 2600, "Service Pack 1", Answering(log, "C"));
    EXPECT_EQ(version.Edition, 12);
    EXPECT_EQ(GetWindowsName(version, 0), "Windows XP");
    EXPECT_EQ(GetWindowsName(version, 1), "5.1.2600 Service Pack 1");

    version = Classify(2, 5, 0, 2195, "", Answering(log, "C"));
    EXPECT_EQ(GetWindowsName(version, 0), "Windows 2000");
    EXPECT_EQ(GetWindowsName(version, 1), "5.0.2195");

    version = Classify(2, 4, 0, 1381, "  ", Answering(log, "C"));
    EXPECT_EQ(GetWindowsName(version, 1), "4.0.1381");

    version = Classify(2, 6, 0, 6002, "Service Pack 2", Answering(log, "C"));
    EXPECT_EQ(version.Edition, -1);
    EXPECT_EQ(GetWindowsName(version, 0), "Windows NT");
    EXPECT_EQ(GetWindowsName(version, 1), "6.0.6002 Service Pack 2");
    EXPECT_EQ(log.SubVersionAsked + log.OleaccAsked, 0);
}

TEST(WindowsVersion, LeavesUnknownPlatformsUndeterminedWithEmptyTexts) {
    TLookupLog log;
    auto version = Classify(0, 1, 30, 123, "", Answering(log, ""));
    EXPECT_EQ(GetWindowsName(version, 0), "Windows 3.1 + Win32s");
    EXPECT_EQ(GetWindowsName(version, 1), "1.30.123");

    version = Classify(3, 10, 0, 19045, "x", Answering(log, ""));
    EXPECT_EQ(version.Family, -1);
    EXPECT_EQ(version.Edition, -1);
    EXPECT_EQ(version.Major, 10);
    EXPECT_EQ(GetWindowsName(version, 0), "");
    EXPECT_EQ(GetWindowsName(version, 1), "");
    EXPECT_EQ(GetWindowsName(TWindowsVersion{}, 0), "");
    EXPECT_EQ(GetWindowsName(TWindowsVersion{}, 1), "");

    version = Classify(2, 5, 1, 2600, "", Answering(log, ""));
    EXPECT_EQ(GetWindowsName(version, 2), "");
}

TEST(WindowsVersion, AttachesToTheForegroundThreadFromWindows98AndNt5On) {
    TLookupLog log;
    const auto lookups = Answering(log, "");
    EXPECT_FALSE(ComputeUseThreadAttach(Classify(1, 4, 0, 950, "", lookups)));
    EXPECT_FALSE(ComputeUseThreadAttach(Classify(0, 1, 30, 1, "", lookups)));
    EXPECT_FALSE(ComputeUseThreadAttach(Classify(2, 4, 0, 1381, "", lookups)));
    EXPECT_TRUE(ComputeUseThreadAttach(Classify(2, 5, 0, 2195, "", lookups)));
    EXPECT_TRUE(ComputeUseThreadAttach(Classify(1, 4, 10, 2222, "", lookups)));
}

TEST(WidenSymbolRuns, ConvertsOnlyRunsOfSingleByteSymbols) {
    EXPECT_EQ(WidenSymbolRuns("Access is denied.", Mark), "Access< >is< >denied<.>");
    EXPECT_EQ(WidenSymbolRuns("(0x5): ok", Mark), "<(>0x5<): >ok");
    // Single-byte katakana count as word characters.
    EXPECT_EQ(WidenSymbolRuns("\xB1\xB2-1", Mark), "\xB1\xB2<->1");
    EXPECT_EQ(WidenSymbolRuns("", Mark), "");
}

TEST(WidenSymbolRuns, CopiesDoubleByteCharactersWholeAndSplitsRunsAtThem) {
    // "ソ" (83 5C) ends in the byte of a backslash and "表" (95 5C) too.
    EXPECT_EQ(WidenSymbolRuns("ソ. 表\\x", Mark), "ソ<. >表<\\>x");
    EXPECT_EQ(WidenSymbolRuns("..エラー..", Mark), "<..>エラー<..>");
    // A lead byte with nothing after it is a single-byte symbol.
    EXPECT_EQ(WidenSymbolRuns("a\x82", Mark), "a<\x82>");
}
