#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "clipboard/CHistory.h"
#include "frame/Errors.h"

namespace {

using TLines = std::vector<std::string>;

TLines Lines(const TStringList& list) {
    return list.Items();
}

TStringList List(const TLines& lines) {
    TStringList list;
    for (const auto& line : lines)
        list.Add(line);
    return list;
}

// 78 fixed texts "F0" ... "F77", one per menu position.
TStringList FullFixList() {
    TStringList list;
    for (int i = 0; i < 78; ++i)
        list.Add(std::string(1, 'F').append(std::to_string(i)));
    return list;
}

// The full fixed list with the given positions replaced.
TLines FixedWith(std::initializer_list<std::pair<int, const char*>> changes) {
    TLines lines = FullFixList().Items();
    for (const auto& [position, text] : changes)
        lines[position] = text;
    return lines;
}

// The menu of the blank start: 78 entries, the whole menu history.
void BlankStart(THistoryStringList& history) {
    history.SetMaxRecord(78);
    history.SetHistoryTop(0);
    history.SetHistoryBottom(-1);
}

// Page 2 holds the history, pages 1 and 3 the fixed texts F0 ... F77.
void PageTwoWindow(THistoryStringList& history) {
    history.SetMaxRecord(78);
    history.AssignToFixList(FullFixList());
    history.SetHistoryTop(26);
    history.SetHistoryBottom(51);
}

} // namespace

TEST(History, CopiedTextsEnterAtTheTopAndReturnToItWithoutRegardToLetterCase) {
    THistoryStringList history;
    BlankStart(history);
    history.BringTo(0, "alpha");
    EXPECT_EQ(Lines(history.History()), (TLines{"alpha", ""}));
    EXPECT_EQ(Lines(history.Items()), (TLines{"alpha", ""}));

    history.SetModified(false);
    history.BringTo(0, "ALPHA");
    EXPECT_EQ(Lines(history.History()), (TLines{"alpha", ""}));
    EXPECT_FALSE(history.Modified());

    history.BringTo(0, "beta");
    history.BringTo(0, "gamma");
    EXPECT_EQ(Lines(history.Items()), (TLines{"gamma", "beta", "alpha", ""}));
    // The third entry moves to the top, in the letter case it was copied in.
    history.BringTo(0, "Alpha");
    EXPECT_EQ(Lines(history.History()), (TLines{"Alpha", "gamma", "beta", ""}));
    EXPECT_EQ(Lines(history.Items()), (TLines{"Alpha", "gamma", "beta", ""}));
    EXPECT_TRUE(history.Modified());

    // "ア" (83 41) and "ッ" (83 61) differ only in a trail byte that looks like a letter.
    history.BringTo(0, "\x83\x41");
    history.BringTo(0, "\x83\x61");
    EXPECT_EQ(Lines(history.History()),
              (TLines{"\x83\x61", "\x83\x41", "Alpha", "gamma", "beta", ""}));
}

TEST(History, ABoundedWindowRecordsOnlyInsideItAndKeepsTheFixedTextsAroundIt) {
    THistoryStringList history;
    PageTwoWindow(history);
    EXPECT_EQ(Lines(history.Items()), FullFixList().Items());
    history.BringTo(10, "outside");
    history.BringTo(52, "outside");
    EXPECT_TRUE(history.History().Empty());

    history.BringTo(26, "x");
    history.BringTo(26, "y");
    EXPECT_EQ(Lines(history.History()), (TLines{"y", "x", "", ""}));
    TLines expected = FixedWith({{26, "y"}, {27, "x"}});
    for (int i = 28; i <= 51; ++i)
        expected[i] = "";
    EXPECT_EQ(Lines(history.Items()), expected);

    // Back to the top; the window is refreshed from the old position up.
    history.BringTo(26, "X");
    expected[26] = "X";
    expected[27] = "y";
    EXPECT_EQ(Lines(history.Items()), expected);

    // Clear shows the set's own texts again.
    history.Clear();
    EXPECT_TRUE(history.History().Empty());
    EXPECT_EQ(Lines(history.Items()), FullFixList().Items());
}

TEST(History, ProtectFreezesTheHistoryWithoutRangeErrors) {
    THistoryStringList history;
    BlankStart(history);
    history.BringTo(0, "kept");
    history.SetProtect(true);
    history.BringTo(0, "new");
    EXPECT_NO_THROW(history.Insert(500, "new"));
    EXPECT_NO_THROW(history.Insert(-1, "new"));
    EXPECT_EQ(Lines(history.History()), (TLines{"kept", ""}));
    EXPECT_EQ(Lines(history.Items()), (TLines{"kept", ""}));
}

TEST(History, OutOfRangeRequestsRaiseTheRangeErrorAndChangeNothing) {
    const std::vector<std::pair<const char*, std::function<void(THistoryStringList&)>>> cases = {
        {"bottom above the maximum", [](THistoryStringList& h) { h.SetHistoryBottom(79); }},
        {"bottom below -1", [](THistoryStringList& h) { h.SetHistoryBottom(-2); }},
        {"top below -1", [](THistoryStringList& h) { h.SetHistoryTop(-2); }},
        {"negative maximum", [](THistoryStringList& h) { h.SetMaxRecord(-1); }},
        {"insert before the start", [](THistoryStringList& h) { h.Insert(-1, "z"); }},
        {"insert at the maximum", [](THistoryStringList& h) { h.Insert(78, "z"); }},
    };
    for (const auto& [name, request] : cases) {
        THistoryStringList history;
        PageTwoWindow(history);
        history.BringTo(26, "a");
        history.SetModified(false);
        try {
            request(history);
            ADD_FAILURE() << name << ": no range error";
        } catch (const ERangeError& error) {
            EXPECT_STREQ(error.what(), "Range Error!") << name;
        }
        EXPECT_EQ(history.MaxRecord(), 78) << name;
        EXPECT_EQ(history.HistoryTop(), 26) << name;
        EXPECT_EQ(history.HistoryBottom(), 51) << name;
        EXPECT_EQ(Lines(history.History()), (TLines{"a", "", ""})) << name;
        EXPECT_EQ(history.Items()[26], "a") << name;
        EXPECT_EQ(history.Items()[25], "F25") << name;
        EXPECT_FALSE(history.Modified()) << name;
    }
}

TEST(History, AWindowThatReachesTheLastPositionRunsToTheEnd) {
    const std::vector<std::pair<int, int>> cases = {{76, 76}, {77, -1}, {78, -1}, {-1, -1}};
    for (const auto& [bottom, stored] : cases) {
        THistoryStringList history;
        history.SetMaxRecord(78);
        history.SetHistoryBottom(bottom == -1 ? 10 : -1);
        history.SetHistoryBottom(bottom);
        EXPECT_EQ(history.HistoryBottom(), stored) << bottom;
    }
}

TEST(History, ALowerMaximumCutsBothListsAndOpensAWindowItNoLongerHolds) {
    THistoryStringList history;
    history.SetMaxRecord(78);
    history.SetHistoryBottom(40);
    TLines thirty;
    for (int i = 0; i < 30; ++i)
        thirty.push_back(std::string(1, 'h').append(std::to_string(i)));
    history.AssignToHistory(List(thirty));
    ASSERT_EQ(history.Items().Count(), 30u);

    history.SetMaxRecord(26);
    const TLines first26(thirty.begin(), thirty.begin() + 26);
    EXPECT_EQ(Lines(history.History()), first26);
    EXPECT_EQ(Lines(history.Items()), first26);
    EXPECT_EQ(history.HistoryBottom(), -1);
}

TEST(History, ClearOfTheBlankStartLeavesOnlyBlanks) {
    THistoryStringList history;
    BlankStart(history);
    history.BringTo(0, "a");
    history.BringTo(0, "b");
    history.Clear();
    EXPECT_TRUE(history.History().Empty());
    EXPECT_EQ(Lines(history.Items()), (TLines{""}));
}
