#include <gtest/gtest.h>

#include "frame/StringList.h"

TEST(StringList, SplitsTextAtEveryKindOfLineBreak) {
    TStringList list;
    list.SetText("a\r\nb\rc\nd");
    ASSERT_EQ(list.Count(), 4u);
    EXPECT_EQ(list[3], "d");
    EXPECT_EQ(list.GetText(), "a\r\nb\r\nc\r\nd\r\n");
    list.SetText("");
    EXPECT_TRUE(list.Empty());
    list.SetText("x\r\n\r\n");
    EXPECT_EQ(list.Count(), 2u);
}

TEST(StringList, NotifiesOncePerChangeAndNotForClearingAnEmptyList) {
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TStringList&) { ++changes; };
    list.Clear();
    list.Add("a");
    list.Insert(0, "b");
    list.Put(1, "c");
    list.SetText("1\r\n2\r\n3");
    EXPECT_EQ(changes, 4);
}

TEST(StringList, SameTextIgnoresAsciiCaseButNotDoubleByteTrailBytes) {
    EXPECT_TRUE(SameText("[Color]", "[COLOR]"));
    // "ア" (83 41) and "ッ" (83 61) differ only by a trail byte that looks like a letter.
    EXPECT_FALSE(SameText("\x83\x41", "\x83\x61"));
    EXPECT_EQ(LowerCaseAscii("AB\x83\x41"), "ab\x83\x41");
}
