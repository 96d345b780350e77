#include <windows.h>

#include <gtest/gtest.h>

#include <string>

// The test environment must match a Japanese Windows: the program's texts are Shift_JIS bytes
// and every character walk asks the platform which bytes begin a double-byte character.

TEST(Win32Locale, AnsiCodePageIsJapanese) {
    EXPECT_EQ(GetACP(), 932u);
}

TEST(Win32Locale, RecognisesShiftJisLeadBytes) {
    EXPECT_TRUE(IsDBCSLeadByte(0x82));
    EXPECT_TRUE(IsDBCSLeadByte(0xE0));
    EXPECT_FALSE(IsDBCSLeadByte('A'));
    EXPECT_FALSE(IsDBCSLeadByte(0xA1)); // half-width katakana stand alone
}

TEST(Win32Locale, NarrowLiteralsReadBackAsTheirCharacters) {
    // The compiler writes "ミルト" in code page 932; the system must read the same characters.
    const std::string text = "ミルト";
    wchar_t wide[8] = {};
    const int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(),
                                      static_cast<int>(text.size()), wide, 8);
    ASSERT_EQ(n, 3);
    EXPECT_EQ(wide[0], L'\x30DF');
    EXPECT_EQ(wide[1], L'\x30EB');
    EXPECT_EQ(wide[2], L'\x30C8');
}
