#include <gtest/gtest.h>

#include "launcher/LaunchItem.h"

TEST(LaunchItemTable, PagesInUseFollowsTheLastUsedEntryNotTheFilledPages) {
    TLaunchItemTable table;
    EXPECT_EQ(table.LastUsedIndex(), 0);
    EXPECT_EQ(PagesInUse(table), 1);
    table.SetName(40, "named but free");
    EXPECT_EQ(PagesInUse(table), 1);
    table.SetPath(26, "x");
    EXPECT_EQ(PagesInUse(table), 2);
    table.SetPath(0, "a");
    table.SetPath(60, "b");
    table.SetPath(26, "");
    EXPECT_EQ(table.LastUsedIndex(), 60);
    EXPECT_EQ(PagesInUse(table), 3);
    table.SetPath(77, "c");
    EXPECT_EQ(PagesInUse(table), 3);
}

TEST(LaunchItemTable, CopyExchangeAndClearMoveAllFiveFields) {
    TLaunchItemTable table;
    table.SetName(1, "n");
    table.SetPath(1, "p");
    table.SetOption(1, "o");
    table.SetWorkDir(1, "w");
    table.SetSize(1, 2);
    table.CopyItem(1, 5);
    table.ExchangeItems(5, 9);
    EXPECT_EQ(table.GetPath(5), "");
    EXPECT_EQ(table.GetName(9), "n");
    EXPECT_EQ(table.GetOption(9), "o");
    EXPECT_EQ(table.GetWorkDir(9), "w");
    EXPECT_EQ(table.GetSize(9), 2);
    table.ExchangeItems(1, 1);
    table.CopyItem(1, 1);
    EXPECT_EQ(table.GetPath(1), "p");
    table.ClearItem(9);
    EXPECT_EQ(table.GetName(9), "");
    EXPECT_EQ(table.GetSize(9), 0);
}

TEST(LaunchItemTable, AssignCopiesRatherThanShares) {
    TLaunchItemTable source, copy;
    source.SetPath(3, "a");
    source.SetSize(3, 1);
    copy.Assign(source);
    copy.SetPath(3, "b");
    copy.SetSize(3, 2);
    EXPECT_EQ(source.GetPath(3), "a");
    EXPECT_EQ(source.GetSize(3), 1);
}

TEST(LaunchItemTable, SizeCodeTextsConvertBothWays) {
    EXPECT_EQ(SizeToCodeText(3), "Mid");
    EXPECT_EQ(SizeToCodeText(7), "");
    EXPECT_EQ(CodeTextToSize("mAx"), 2);
    EXPECT_EQ(CodeTextToSize("Nor"), 0);
    EXPECT_EQ(CodeTextToSize("other"), 0);
}
