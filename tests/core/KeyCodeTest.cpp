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
    EXPECT_EQ(names[0], "←");
    EXPECT_EQ(names[4], "A");
    EXPECT_EQ(names[40], "]");
    EXPECT_EQ(names[41], "PageUp");
    EXPECT_EQ(names[48], "' 0 '");
    EXPECT_EQ(names[60], "' + '");
    BuildKeyNameList(names, false);
    ASSERT_EQ(names.Count(), 48u);
    EXPECT_EQ(names[47], "' * '");
}

TEST_F(KeyCodeJapanese, TurnsKeyIndicesIntoVirtualKeysWithoutShiftState) {
    EXPECT_EQ(KeyIndexToVirtualKey(3), 40);
    EXPECT_EQ(KeyIndexToVirtualKey(4), 65);
    EXPECT_EQ(KeyIndexToVirtualKey(33), 0xBC); // "<" is Shift + the "," key
    EXPECT_EQ(KeyIndexToVirtualKey(37), 0xE2);
    EXPECT_EQ(KeyIndexToVirtualKey(41), 33);
    EXPECT_EQ(KeyIndexToVirtualKey(53), 101);
    EXPECT_EQ(KeyIndexToVirtualKey(60), 107);
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
    EXPECT_EQ(KeyIndexToVirtualKey(32), '6');
    EXPECT_EQ(KeyIndexToVirtualKey(37), 0xBD);
}

TEST_F(KeyCodeJapanese, SelectsShiftedCharactersAndFixedKeysFromAKeyPress) {
    EXPECT_EQ(VirtualKeyToKeyIndex(0xE2), 37);
    EXPECT_EQ(VirtualKeyToKeyIndex(0xBF), 36);
    EXPECT_EQ(VirtualKeyToKeyIndex(0xBC), 33);
    EXPECT_EQ(VirtualKeyToKeyIndex(0xBD), 0);
    EXPECT_EQ(VirtualKeyToKeyIndex('A'), 0);
    EXPECT_EQ(VirtualKeyToKeyIndex(37), 0);
    EXPECT_EQ(VirtualKeyToKeyIndex(19), 45);
    EXPECT_EQ(VirtualKeyToKeyIndex(35), 44);
    EXPECT_EQ(VirtualKeyToKeyIndex(36), 43);
    EXPECT_EQ(VirtualKeyToKeyIndex(105), 57);
    EXPECT_EQ(VirtualKeyToKeyIndex(111), 46);
    EXPECT_EQ(VirtualKeyToKeyIndex(255), 0);
}

TEST_F(KeyCodeUs, SelectsTheUnderscoreFromTheMinusKey) {
    EXPECT_EQ(VirtualKeyToKeyIndex(0xBD), 37);
    EXPECT_EQ(VirtualKeyToKeyIndex(0xE2), 0);
}

TEST_F(KeyCodeJapanese, IgnoresKeypadKeysInAFieldWithTheShortList) {
    EXPECT_EQ(KeyFieldSelection(101, 48), -1);
    EXPECT_EQ(KeyFieldSelection(101, 61), 53);
    EXPECT_EQ(KeyFieldSelection(106, 48), 47);
    EXPECT_EQ(KeyFieldSelection(0xBF, 48), 36);
    EXPECT_EQ(KeyFieldSelection('A', 61), -1);
}

TEST(ModifierToHotKeyFlags, GivesTheFlagsOfEachCodeAndNoneOutsideTheList) {
    EXPECT_EQ(ModifierToHotKeyFlags(0), 6u);
    EXPECT_EQ(ModifierToHotKeyFlags(2), 5u);
    EXPECT_EQ(ModifierToHotKeyFlags(5), 4u);
    EXPECT_EQ(ModifierToHotKeyFlags(6), 0u);
    EXPECT_EQ(ModifierToHotKeyFlags(-1), 0u);
}

TEST(KeyChoiceLists, ListNoneFirstWhereTheStoredValueIsThePositionMinusOne) {
    TStringList list{"old"};
    BuildCallKeyList(list);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"（なし）", "Shift + Control",
                                                      "Control + Alt", "Shift + Alt"}));
    BuildCommandKeyList(list);
    ASSERT_EQ(list.Count(), 7u);
    EXPECT_EQ(list[0], "（なし）");
    EXPECT_EQ(list[6], "Pause");
}

TEST(CommandKeyMatches, MatchesEachCommandKeyAndControlBreakForPause) {
    EXPECT_TRUE(CommandKeyMatches(5, 19));
    EXPECT_TRUE(CommandKeyMatches(5, 3));
    EXPECT_TRUE(CommandKeyMatches(4, 8));
    EXPECT_FALSE(CommandKeyMatches(4, 3));
    EXPECT_FALSE(CommandKeyMatches(-1, 9));
    EXPECT_FALSE(CommandKeyMatches(6, 19));
}
