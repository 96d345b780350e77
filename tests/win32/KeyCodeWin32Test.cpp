#include <gtest/gtest.h>

#include <windows.h>

#include "settings/KeyCode.h"
#include "system/Win32Platform.h"

namespace {
class KeyCodeOnWin32 : public ::testing::Test {
protected:
    void SetUp() override { SetPlatform(&Win32); }
    void TearDown() override { SetPlatform(nullptr); }
    TWin32Platform Win32;
};
} // namespace

TEST_F(KeyCodeOnWin32, TakesCharacterKeysFromTheSystemLayout) {
    EXPECT_EQ(KeyIndexToVirtualKey(4), 65);
    EXPECT_EQ(KeyIndexToVirtualKey(29), 90);
    for (int index = 0; index < 4; ++index)
        EXPECT_EQ(KeyIndexToVirtualKey(index), 37 + index);
    const SHORT less = VkKeyScanA('<');
    ASSERT_NE(less, -1);
    EXPECT_EQ(KeyIndexToVirtualKey(33), less & 0xFF);
}

TEST_F(KeyCodeOnWin32, SelectsTheQuestionMarkFromItsKeyWithoutShift) {
    const SHORT question = VkKeyScanA('?');
    ASSERT_NE(question, -1);
    const int key = question & 0xFF;
    // On layouts where "?" shares its key with "_", the underscore wins.
    const SHORT underscore = VkKeyScanA('_');
    const int expected = underscore != -1 && (underscore & 0xFF) == key ? 37 : 36;
    EXPECT_EQ(VirtualKeyToKeyIndex(key), expected);
    EXPECT_EQ(KeyFieldSelection(VK_NUMPAD5, ShortKeyNameCount), -1);
    EXPECT_EQ(KeyFieldSelection(VK_NUMPAD5, KeyNameCount), 53);
}
