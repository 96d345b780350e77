#include <gtest/gtest.h>

#include "frame/Platform.h"
#include "settings/KeyCode.h"

namespace {
// Records message boxes instead of showing them; the layout is the portable Japanese one.
class TRecordingPlatform : public TPlatform {
public:
    int ShowMessage(const std::string& text, unsigned flags) override {
        Messages.push_back(text);
        Flags = flags;
        return 1;
    }
    std::vector<std::string> Messages;
    unsigned Flags = 0;
};

// The United States layout for the characters of the key-name list.
class TUsLayoutPlatform : public TRecordingPlatform {
public:
    int ScanKey(char character) const override {
        switch (character) {
        case ':':
            return 0x100 | 0xBA;
        case ';':
            return 0xBA;
        case '^':
            return 0x100 | '6';
        case '<':
            return 0x100 | 0xBC;
        case '-':
            return 0xBD;
        case '>':
            return 0x100 | 0xBE;
        case '?':
            return 0x100 | 0xBF;
        case '_':
            return 0x100 | 0xBD;
        case '@':
            return 0x100 | '2';
        case '[':
            return 0xDB;
        case ']':
            return 0xDD;
        default:
            return TRecordingPlatform::ScanKey(character);
        }
    }
};

template <class TLayout> class KeyCodeOn : public ::testing::Test {
protected:
    void SetUp() override { SetPlatform(&Layout); }
    void TearDown() override { SetPlatform(nullptr); }
    TLayout Layout;
};
using KeyCodeJapanese = KeyCodeOn<TRecordingPlatform>;
using KeyCodeUs = KeyCodeOn<TUsLayoutPlatform>;
} // namespace

TEST(KeyNameList, HoldsTheFullOrShortListAndReplacesOldLines) {
    TStringList names{"old"};
    BuildKeyNameList(names, true);
    ASSERT_EQ(names.Count(), 61u);
    const std::pair<std::size_t, const char*> expected[] = {
        {0, "←"},         {3, "↓"},      {4, "A"},      {29, "Z"},     {30, ":"},
        {32, "^"},        {33, "<"},     {37, "_"},     {40, "]"},     {41, "PageUp"},
        {42, "PageDown"}, {43, "Home"},  {44, "End"},   {45, "Pause"}, {46, "' / '"},
        {47, "' * '"},    {48, "' 0 '"}, {57, "' 9 '"}, {58, "' . '"}, {59, "' - '"},
        {60, "' + '"}};
    for (const auto& [index, text] : expected)
        EXPECT_EQ(names[index], text) << index;

    BuildKeyNameList(names, false);
    ASSERT_EQ(names.Count(), 48u);
    EXPECT_EQ(names[47], "' * '");
}

TEST_F(KeyCodeJapanese, TurnsKeyIndicesIntoVirtualKeysWithoutShiftState) {
    const std::pair<int, int> expected[] = {
        {0, 37},    {3, 40},  {4, 65},   {29, 90},  {30, 0xBA}, {33, 0xBC}, {35, 0xBE},
        {37, 0xE2}, {41, 33}, {42, 34},  {43, 36},  {44, 35},   {45, 19},   {46, 111},
        {47, 106},  {48, 96}, {53, 101}, {57, 105}, {58, 110},  {59, 109},  {60, 107}};
    for (const auto& [index, key] : expected)
        EXPECT_EQ(KeyIndexToVirtualKey(index), key) << index;
    EXPECT_TRUE(Layout.Messages.empty());
}

TEST_F(KeyCodeJapanese, ReportsAnIndexOutsideTheListEachTimeAndUsesKeypadAdd) {
    EXPECT_EQ(KeyIndexToVirtualKey(61), 107);
    EXPECT_EQ(KeyIndexToVirtualKey(-1), 107);
    ASSERT_EQ(Layout.Messages.size(), 2u);
    EXPECT_EQ(Layout.Messages[0],
              "キー設定の読み出しが異常終了しました。設定画面で確認してください。");
    EXPECT_EQ(Layout.Flags, mbIconStop);
}

TEST_F(KeyCodeUs, TakesCharacterKeysFromTheLayout) {
    EXPECT_EQ(KeyIndexToVirtualKey(30), 0xBA); // ":" is Shift + the ";" key
    EXPECT_EQ(KeyIndexToVirtualKey(31), 0xBA);
    EXPECT_EQ(KeyIndexToVirtualKey(32), '6');
    EXPECT_EQ(KeyIndexToVirtualKey(37), 0xBD);
    EXPECT_EQ(KeyIndexToVirtualKey(38), '2');
}

TEST_F(KeyCodeJapanese, SelectsShiftedCharactersAndFixedKeysFromAKeyPress) {
    EXPECT_EQ(VirtualKeyToKeyIndex(0xE2), 37);
    EXPECT_EQ(VirtualKeyToKeyIndex(0xBF), 36);
    EXPECT_EQ(VirtualKeyToKeyIndex(0xBE), 35);
    EXPECT_EQ(VirtualKeyToKeyIndex(0xBC), 33);
    EXPECT_EQ(VirtualKeyToKeyIndex(0xBD), 0);
    EXPECT_EQ(VirtualKeyToKeyIndex('A'), 0);
    EXPECT_EQ(VirtualKeyToKeyIndex(37), 0);
    EXPECT_EQ(VirtualKeyToKeyIndex(19), 45);
    EXPECT_EQ(VirtualKeyToKeyIndex(33), 41);
    EXPECT_EQ(VirtualKeyToKeyIndex(34), 42);
    EXPECT_EQ(VirtualKeyToKeyIndex(35), 44);
    EXPECT_EQ(VirtualKeyToKeyIndex(36), 43);
    EXPECT_EQ(VirtualKeyToKeyIndex(96), 48);
    EXPECT_EQ(VirtualKeyToKeyIndex(105), 57);
    EXPECT_EQ(VirtualKeyToKeyIndex(106), 47);
    EXPECT_EQ(VirtualKeyToKeyIndex(107), 60);
    EXPECT_EQ(VirtualKeyToKeyIndex(109), 59);
    EXPECT_EQ(VirtualKeyToKeyIndex(110), 58);
    EXPECT_EQ(VirtualKeyToKeyIndex(111), 46);
    EXPECT_EQ(VirtualKeyToKeyIndex(255), 0);
}

TEST_F(KeyCodeUs, SelectsTheUnderscoreFromTheMinusKey) {
    EXPECT_EQ(VirtualKeyToKeyIndex(0xBD), 37);
    EXPECT_EQ(VirtualKeyToKeyIndex(0xE2), 0);
    EXPECT_EQ(VirtualKeyToKeyIndex(0xBF), 36);
}

TEST_F(KeyCodeJapanese, IgnoresKeypadKeysInAFieldWithTheShortList) {
    EXPECT_EQ(KeyFieldSelection(101, 48), -1);
    EXPECT_EQ(KeyFieldSelection(101, 61), 53);
    EXPECT_EQ(KeyFieldSelection(107, 60), -1);
    EXPECT_EQ(KeyFieldSelection(107, 61), 60);
    EXPECT_EQ(KeyFieldSelection(106, 48), 47);
    EXPECT_EQ(KeyFieldSelection(33, 48), 41);
    EXPECT_EQ(KeyFieldSelection(0xBF, 48), 36);
    EXPECT_EQ(KeyFieldSelection('A', 61), -1);
}

TEST(ModifierToHotKeyFlags, GivesTheFlagsOfEachCodeAndNoneOutsideTheList) {
    const unsigned expected[] = {6, 3, 5, 2, 1, 4};
    for (int code = 0; code < 6; ++code)
        EXPECT_EQ(ModifierToHotKeyFlags(code), expected[code]);
    EXPECT_EQ(ModifierToHotKeyFlags(6), 0u);
    EXPECT_EQ(ModifierToHotKeyFlags(-1), 0u);
}

TEST(KeyChoiceLists, ListNoneFirstWhereTheStoredValueIsThePositionMinusOne) {
    TStringList list{"old"};
    BuildCallKeyList(list);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"（なし）", "Shift + Control",
                                                      "Control + Alt", "Shift + Alt"}));
    BuildModifierList(list);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"Shift + Control", "Control + Alt",
                                                      "Shift + Alt", "Control", "Alt", "Shift"}));
    BuildCommandKeyList(list);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"（なし）", "Tab", "Enter", "Space", "End",
                                                      "BackSpace", "Pause"}));
}

TEST(CommandKeyMatches, MatchesEachCommandKeyAndControlBreakForPause) {
    const std::pair<int, int> matches[] = {{0, 9}, {1, 13}, {2, 32}, {3, 35},
                                           {4, 8}, {5, 19}, {5, 3}};
    for (const auto& [code, key] : matches)
        EXPECT_TRUE(CommandKeyMatches(code, key)) << code;
    EXPECT_FALSE(CommandKeyMatches(0, 13));
    EXPECT_FALSE(CommandKeyMatches(4, 3));
    EXPECT_FALSE(CommandKeyMatches(-1, 9));
    EXPECT_FALSE(CommandKeyMatches(-1, 0));
    EXPECT_FALSE(CommandKeyMatches(6, 19));
}
