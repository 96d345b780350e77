#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/LabelName.h"

TEST(LabelName, DropsKeyMarksColonsAndSpaces) {
    const struct {
        const char* Label;
        const char* Name;
    } cases[] = {
        {"&Key Assign:", "Key Assign"},
        {"&Page:", "Page"},
        {"名称(&N)：", "名称(N)"},
        {"サイズ(&S)：", "サイズ(S)"},
        {"フォント名(&F)：", "フォント名(F)"},
        {" 詳細 ", "詳細"},
        {"　プレビュー　", "プレビュー"},
        {"ン　", "ン"}, // the second byte of "ン" is a first byte's value
        {"ウィンドウを透過する(&T)", "ウィンドウを透過する(T)"},
        {"R&&D", "R&D"},
        {"Save &as", "Save as"},
        {"(&&)", "(&)"},
        {"Version：", "Version"},
        {"OS:", "OS"},
        // "ソ" and "表" end in the byte of "\" and "|"; "ー" is 0x81 0x5B, and a colon byte
        // inside a character is not a colon.
        {"ソ表ー", "ソ表ー"},
        {"\x83\x5C\x3A", "\x83\x5C"},
        {"\x81\x46\x81\x46", "\x81\x46"},
        {"", ""},
        {"&", ""},
        {"游：", "游"}, // "游" is 0x9F 0xE0: 0x9F is the last first byte below 0xE0
        {"  名前：  ", "名前"},
        {"名前 ：", "名前"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NameOfLabel(c.Label), c.Name) << c.Label;
}

TEST(LabelName, TellsLabelsFromUnitsAndSigns) {
    for (const char* label : {"変更量(&P)：", "&Page:", "パス：", "Version：", "太字(&B)"})
        EXPECT_TRUE(IsControlLabel(label)) << label;
    for (const char* other :
         {"Pixels", "+", "～", ".ini", "薄 <----> 濃", "R&&D", "", "ソ", "Drag &"})
        EXPECT_FALSE(IsControlLabel(other)) << other;
}

TEST(LabelName, NamesAGridRowByItsCellsUnderTheirHeaders) {
    const struct {
        std::vector<std::string> Headers, Cells;
        const char* Name;
    } cases[] = {
        {{"", "Name", "Path"}, {"A", "メモ帳", "C:\\a.exe"}, "A, Name メモ帳, Path C:\\a.exe"},
        {{"", "Name", "Path"}, {"B", "", "C:\\b.exe"}, "B, Path C:\\b.exe"}, // empty cell
        {{"", "文字列"}, {"C", "こんにちは"}, "C, 文字列 こんにちは"},
        {{"名称(&N):"}, {"x"}, "名称(N) x"}, // a header reads as a label
        {{"Name"}, {"a", "b"}, "Name a, b"}, // more cells than headers
        {{"", "Name"}, {"", ""}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NameOfRow(c.Headers, c.Cells), c.Name) << c.Name;
}
