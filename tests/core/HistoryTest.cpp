#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "clipboard/CHistory.h"
#include "frame/Errors.h"

namespace {

using TLines = std::vector<std::string>;

// 78 fixed texts "F0" ... "F77", one per menu position.
TLines FullFixList() {
    TLines lines;
    for (int i = 0; i < 78; ++i)
        lines.push_back(std::string(1, 'F').append(std::to_string(i)));
    return lines;
}

TStringList List(const TLines& lines) {
    TStringList list;
    for (const auto& line : lines)
        list.Add(line);
    return list;
}

// Page 2 holds the history, pages 1 and 3 the fixed texts F0 ... F77.
void PageTwoWindow(THistoryStringList& history) {
    history.SetMaxRecord(78);
    history.AssignToFixList(List(FullFixList()));
    history.SetHistoryTop(26);
    history.SetHistoryBottom(51);
}

} // namespace

TEST(History, CopiedTextsEnterAtTheTopAndReturnToItWithoutRegardToLetterCase) {
    THistoryStringList history; // the blank start: the whole menu is history
    history.SetMaxRecord(78);
    history.BringTo(0, "alpha");
    EXPECT_EQ(history.History().Items(), (TLines{"alpha", ""}));
    EXPECT_EQ(history.Items().Items(), (TLines{"alpha", ""}));

    history.SetModified(false);
    history.BringTo(0, "ALPHA");
    EXPECT_EQ(history.History().Items(), (TLines{"alpha", ""}));
    EXPECT_FALSE(history.Modified());

    history.BringTo(0, "beta");
    history.BringTo(0, "gamma");
    // The third entry moves to the top, in the letter case it was copied in.
    history.BringTo(0, "Alpha");
    EXPECT_EQ(history.History().Items(), (TLines{"Alpha", "gamma", "beta", ""}));
    EXPECT_EQ(history.Items().Items(), (TLines{"Alpha", "gamma", "beta", ""}));
    EXPECT_TRUE(history.Modified());

    // "ア" (83 41) and "ッ" (83 61) differ only in a trail byte that looks like a letter.
    history.BringTo(0, "\x83\x41");
    history.BringTo(0, "\x83\x61");
    EXPECT_EQ(history.History()[1], "\x83\x41");

    history.Clear();
    EXPECT_TRUE(history.History().Empty());
    EXPECT_EQ(history.Items().Items(), (TLines{""}));
}

TEST(History, ABoundedWindowRecordsOnlyInsideItAndKeepsTheFixedTextsAroundIt) {
    THistoryStringList history;
    PageTwoWindow(history);
    history.BringTo(10, "outside");
    history.BringTo(52, "outside");
    EXPECT_TRUE(history.History().Empty());

    history.BringTo(26, "x");
    history.BringTo(26, "y");
    history.BringTo(26, "X");
    EXPECT_EQ(history.History().Items(), (TLines{"X", "y", "", ""}));
    TLines expected = FullFixList();
    for (int i = 26; i <= 51; ++i)
        expected[i] = "";
    expected[26] = "X";
    expected[27] = "y";
    EXPECT_EQ(history.Items().Items(), expected);

    // Clear shows the set's own texts again.
    history.Clear();
    EXPECT_EQ(history.Items().Items(), FullFixList());
}

TEST(History, ProtectFreezesTheHistoryWithoutRangeErrors) {
    THistoryStringList history;
    history.SetMaxRecord(78);
    history.BringTo(0, "kept");
    history.SetProtect(true);
    history.BringTo(0, "new");
    EXPECT_NO_THROW(history.Insert(500, "new"));
    EXPECT_EQ(history.History().Items(), (TLines{"kept", ""}));
    EXPECT_EQ(history.Items().Items(), (TLines{"kept", ""}));
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
        EXPECT_EQ(history.History().Items(), (TLines{"a", "", ""})) << name;
        EXPECT_EQ(history.Items()[26], "a") << name;
        EXPECT_FALSE(history.Modified()) << name;
    }
    // A window that reaches the last position runs to the end.
    THistoryStringList history;
    history.SetMaxRecord(78);
    history.SetHistoryBottom(76);
    EXPECT_EQ(history.HistoryBottom(), 76);
    history.SetHistoryBottom(77);
    EXPECT_EQ(history.HistoryBottom(), -1);
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
    EXPECT_EQ(history.History().Items(), first26);
    EXPECT_EQ(history.Items().Items(), first26);
    EXPECT_EQ(history.HistoryBottom(), -1);
}
