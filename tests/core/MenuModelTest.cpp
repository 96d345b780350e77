#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu/MenuModel.h"

namespace {

constexpr std::uint16_t Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Comma = 0xBC,
                        FullStop = 0xBE;

// A text followed by a number, built by appending: GCC 12 falsely warns about a literal + a
// temporary string in optimised builds.
std::string Numbered(std::string text, int number) {
    text += std::to_string(number);
    return text;
}

// count lines named "L0", "L1", ...; the listed indexes are vacant.
TStringList Lines(int count, std::vector<int> vacant = {}) {
    TStringList lines;
    for (int i = 0; i < count; ++i)
        lines.Add(Numbered("L", i));
    for (int i : vacant)
        lines.Put(static_cast<std::size_t>(i), "");
    return lines;
}

// Presses a key and tells whether the menu consumed it.
bool Press(TMenuImage& menu, std::uint16_t key) {
    menu.KeyDown(key);
    return key == 0;
}

} // namespace

TEST(MenuImage, PageCountFollowsTheLinesUnlessFixed) {
    TMenuImage menu;
    EXPECT_EQ(menu.GetPageCount(), 1);
    menu.SetItems(Lines(26));
    EXPECT_EQ(menu.GetPageCount(), 1);
    menu.SetItems(Lines(27));
    EXPECT_EQ(menu.GetPageCount(), 2);
    menu.SetPageCount(3);
    EXPECT_EQ(menu.GetPageCount(), 3);
    menu.SetPageCount(-1);
    EXPECT_EQ(menu.GetPageCount(), 3);
    menu.SetPageCount(0);
    EXPECT_EQ(menu.GetPageCount(), 2);
    EXPECT_EQ(menu.GetPageIndex(), 1);
    menu.SetPageIndex(2);
    EXPECT_EQ(menu.GetFirstIndex(), 26);
}

TEST(MenuImage, ChoiceIgnoresRepeatsAndIndexesOutsideTheLines) {
    TMenuImage menu;
    menu.SetItems(Lines(5, {3}));
    std::vector<std::string> told;
    menu.OnIndexChanging = [&](TMenuImage& m) { told.push_back(Numbered("from ", m.ItemIndex())); };
    menu.OnIndexChanged = [&](TMenuImage& m) { told.push_back(Numbered("to ", m.ItemIndex())); };
    menu.SetItemIndex(3);
    menu.SetItemIndex(3);
    menu.SetItemIndex(5);
    menu.SetItemIndex(-2);
    menu.SetItemIndex(-1);
    EXPECT_EQ(told, (std::vector<std::string>{"from -1", "to 3", "from 3", "to -1"}));
}

TEST(MenuImage, PageChangeComparesTheStoredPageAndClearsTheChoice) {
    TMenuImage menu;
    menu.SetItems(Lines(60));
    std::vector<std::string> told;
    menu.OnIndexChanged = [&](TMenuImage& m) { told.push_back(Numbered("index ", m.ItemIndex())); };
    menu.OnPageChanged = [&](TMenuImage&, int from, int to) {
        told.push_back(Numbered(Numbered("page ", from) + ">", to));
    };
    menu.SetItemIndex(4);
    menu.SetPageIndex(1); // stored 0: page 1 is a change
    menu.SetPageIndex(1);
    menu.SetPageIndex(0);
    menu.SetPageIndex(4);
    menu.SetPageIndex(3);
    EXPECT_EQ(told, (std::vector<std::string>{"index 4", "index -1", "page 0>1", "page 1>3"}));
}

TEST(MenuImage, NewLinesShowPageOneAgainButKeepTheChoice) {
    TMenuImage menu;
    menu.SetItems(Lines(60));
    menu.SetPageIndex(3);
    menu.SetItemIndex(55);
    int itemsChanged = 0, pageCountTold = -1;
    menu.OnItemsChanged = [&](TMenuImage&) { ++itemsChanged; };
    menu.OnChangePage = [&](TMenuImage& m, int count) {
        EXPECT_EQ(m.PageIndex(), 0);
        pageCountTold = count;
    };
    menu.SetItems(Lines(10));
    EXPECT_EQ(itemsChanged, 1);
    EXPECT_EQ(pageCountTold, 1);
    EXPECT_EQ(menu.GetPageIndex(), 1);
    EXPECT_EQ(menu.ItemIndex(), 55);
}

TEST(MenuImage, LookSettersNotifyOnlyWhenSomethingVisibleChanges) {
    TMenuImage menu;
    int itemsChanged = 0;
    menu.OnItemsChanged = [&](TMenuImage&) { ++itemsChanged; };
    menu.SetMaxLines(0); // no line count below one
    EXPECT_EQ(menu.MaxLines(), 1);
    menu.SetNormalColor(MenuAqua);
    menu.SetRelationColor(0x80); // shadow off: stored silently
    menu.SetRelation(true);
    menu.SetRelationColor(0x81);
    EXPECT_EQ(itemsChanged, 2);
    EXPECT_EQ(menu.RelationColor(), 0x81u);
    menu.SetWidth(400);
    menu.UpdateColumnWidth();
    EXPECT_EQ(menu.ColumnWidth(), (400 - 4 * 26) / 2);
    EXPECT_EQ(itemsChanged, 3);
}

TEST(PageImage, FramesStayWithinTheFrameCount) {
    TPageImage mark;
    int told = 0;
    mark.OnChange = [&](TPageImage&) { ++told; };
    mark.SetImageIndex(0); // no frames yet
    EXPECT_EQ(mark.ImageIndex(), -1);
    mark.SetImageCount(33); // above the height
    mark.SetImageCount(-1);
    EXPECT_EQ(mark.ImageCount(), 0);
    mark.SetImageCount(2);
    mark.SetImageIndex(2);
    mark.SetImageIndex(1);
    mark.SetImageIndex(1);
    mark.SetImageIndex(-2);
    mark.SetImageIndex(-1);
    EXPECT_EQ(told, 2);
}

TEST(PageImage, MarksFollowNewLinesAndPageChanges) {
    TPageMarks marks;
    for (auto& mark : marks)
        mark.SetImageCount(2);
    marks[ProtectMark].SetImageIndex(1);
    ShowPageMarks(marks, 2);
    EXPECT_EQ(marks[1].ImageIndex(), MarkExistingPage);
    EXPECT_EQ(marks[2].ImageIndex(), MarkExistingPage);
    EXPECT_EQ(marks[3].ImageIndex(), -1);
    FollowPageChange(marks, 0, 1);
    EXPECT_EQ(marks[1].ImageIndex(), MarkCurrentPage);
    FollowPageChange(marks, 1, 2);
    FollowPageChange(marks, 2, 3); // page 3 does not exist: its mark stays hidden
    FollowPageChange(marks, 3, 5);
    EXPECT_EQ(marks[1].ImageIndex(), MarkExistingPage);
    EXPECT_EQ(marks[2].ImageIndex(), MarkExistingPage);
    EXPECT_EQ(marks[3].ImageIndex(), -1);
    EXPECT_EQ(marks[ProtectMark].ImageIndex(), 1);
}

TEST(MenuKeys, WithoutLinesOnlyLettersLeftRightAndUpAreConsumed) {
    TMenuImage menu;
    EXPECT_TRUE(Press(menu, 'A'));
    EXPECT_TRUE(Press(menu, Left));
    EXPECT_TRUE(Press(menu, Right));
    EXPECT_TRUE(Press(menu, Up));
    EXPECT_FALSE(Press(menu, Down));
    EXPECT_FALSE(Press(menu, Comma));
    EXPECT_FALSE(Press(menu, FullStop));
    EXPECT_FALSE(Press(menu, 0x0D));
    EXPECT_EQ(menu.ItemIndex(), -1);
    EXPECT_EQ(menu.PageIndex(), 0);
}

TEST(MenuKeys, LettersChooseUsableLinesOfTheShownPage) {
    TMenuImage menu;
    menu.SetItems(Lines(30, {3}));
    EXPECT_TRUE(Press(menu, 'C'));
    EXPECT_EQ(menu.ItemIndex(), 2);
    EXPECT_TRUE(Press(menu, 'D')); // vacant
    EXPECT_EQ(menu.ItemIndex(), 2);
    menu.SetPageIndex(2);
    EXPECT_TRUE(Press(menu, 'D'));
    EXPECT_EQ(menu.ItemIndex(), 29);
    EXPECT_TRUE(Press(menu, 'E')); // beyond the last line
    EXPECT_EQ(menu.ItemIndex(), 29);
}

TEST(MenuKeys, LeftAndRightJumpToTheSameRowOfTheOtherColumn) {
    TMenuImage menu;
    menu.SetItems(Lines(20));
    menu.SetItemIndex(5);
    EXPECT_TRUE(Press(menu, Left));
    EXPECT_EQ(menu.ItemIndex(), 18);
    EXPECT_TRUE(Press(menu, Right));
    EXPECT_EQ(menu.ItemIndex(), 5);
    EXPECT_TRUE(Press(menu, Right));
    EXPECT_EQ(menu.ItemIndex(), 18);
    EXPECT_TRUE(Press(menu, Left));
    EXPECT_EQ(menu.ItemIndex(), 5);

    // A vacant target gives the next usable line after it.
    menu.SetItems(Lines(20, {18}));
    EXPECT_TRUE(Press(menu, Left));
    EXPECT_EQ(menu.ItemIndex(), 19);

    // No line in the second column's row: Right stays, Left finds the page's first line.
    menu.SetItems(Lines(15));
    menu.SetItemIndex(5);
    EXPECT_TRUE(Press(menu, Right));
    EXPECT_EQ(menu.ItemIndex(), 5);
    EXPECT_TRUE(Press(menu, Left));
    EXPECT_EQ(menu.ItemIndex(), 0);
}

TEST(MenuKeys, UpAndDownWrapAtThePageEndsSkippingVacantLines) {
    TMenuImage menu;
    menu.SetItems(Lines(30, {0, 25}));
    EXPECT_TRUE(Press(menu, Down));
    EXPECT_EQ(menu.ItemIndex(), 1);
    EXPECT_TRUE(Press(menu, Up)); // from the first usable line to the page's last usable line
    EXPECT_EQ(menu.ItemIndex(), 24);
    EXPECT_TRUE(Press(menu, Down));
    EXPECT_EQ(menu.ItemIndex(), 1);
    menu.SetItemIndex(-1);
    EXPECT_TRUE(Press(menu, Up));
    EXPECT_EQ(menu.ItemIndex(), 24);

    menu.SetPageIndex(2);
    EXPECT_TRUE(Press(menu, Down));
    EXPECT_EQ(menu.ItemIndex(), 26);
    EXPECT_TRUE(Press(menu, Up));
    EXPECT_EQ(menu.ItemIndex(), 29);

    // The only usable line stays chosen.
    menu.SetItems(Lines(3, {0, 2}));
    menu.SetItemIndex(1);
    EXPECT_TRUE(Press(menu, Up));
    EXPECT_TRUE(Press(menu, Down));
    EXPECT_EQ(menu.ItemIndex(), 1);
}

TEST(MenuKeys, PagesOfVacantLinesEndEverySearch) {
    TMenuImage menu;
    menu.SetItems(Lines(4, {0, 1, 2, 3}));
    for (std::uint16_t key : {Up, Down, Left, Right}) {
        EXPECT_TRUE(Press(menu, key));
        EXPECT_EQ(menu.ItemIndex(), -1);
    }
    menu.SetItemIndex(2); // a vacant line may be chosen
    for (std::uint16_t key : {Up, Down, Left, Right}) {
        EXPECT_TRUE(Press(menu, key));
        EXPECT_EQ(menu.ItemIndex(), 2);
    }
    // With nothing chosen, Left and Right aim at the first column's last row: from there to the
    // page's end every line is vacant.
    for (std::uint16_t key : {Left, Right}) {
        menu.SetItems(Lines(14, {12, 13}));
        menu.SetItemIndex(-1);
        EXPECT_TRUE(Press(menu, key));
        EXPECT_EQ(menu.ItemIndex(), -1) << key;
    }
}

TEST(MenuKeys, ArrowsNeverChooseALineOffTheShownPage) {
    TMenuImage menu;
    menu.SetItems(Lines(40));
    menu.SetPageIndex(2); // nothing chosen
    EXPECT_TRUE(Press(menu, Right));
    EXPECT_GE(menu.ItemIndex(), 26);
    menu.SetItemIndex(-1);
    EXPECT_TRUE(Press(menu, Left));
    EXPECT_GE(menu.ItemIndex(), 26);

    // A fixed third page without lines is reachable and offers nothing to choose.
    menu.SetPageCount(3);
    EXPECT_FALSE(Press(menu, FullStop));
    EXPECT_EQ(menu.GetPageIndex(), 3);
    EXPECT_EQ(menu.ItemIndex(), -1);
    for (std::uint16_t key : {std::uint16_t('A'), Up, Down, Left, Right})
        Press(menu, key);
    EXPECT_EQ(menu.ItemIndex(), -1);
}

TEST(MenuKeys, ChoiceLeftBeyondNewLinesStillMovesWithinThePage) {
    TMenuImage menu;
    menu.SetItems(Lines(50));
    menu.SetItemIndex(40);
    menu.SetItems(Lines(10));
    EXPECT_TRUE(Press(menu, Up));
    EXPECT_EQ(menu.ItemIndex(), 9);
    menu.SetItems(Lines(50));
    menu.SetItemIndex(40);
    menu.SetItems(Lines(10));
    EXPECT_TRUE(Press(menu, Down));
    EXPECT_EQ(menu.ItemIndex(), 0);
}

TEST(MenuKeys, CommaAndFullStopTurnPagesAndPassTheKeyOn) {
    TMenuImage menu;
    menu.SetItems(Lines(20));
    EXPECT_FALSE(Press(menu, FullStop));
    EXPECT_FALSE(Press(menu, Comma));
    EXPECT_EQ(menu.GetPageIndex(), 1);

    menu.SetItems(Lines(60));
    menu.SetItemIndex(3);
    EXPECT_FALSE(Press(menu, FullStop));
    EXPECT_EQ(menu.GetPageIndex(), 2);
    EXPECT_EQ(menu.ItemIndex(), -1);
    Press(menu, FullStop);
    Press(menu, FullStop);
    EXPECT_EQ(menu.GetPageIndex(), 3);
    Press(menu, Comma);
    Press(menu, Comma);
    Press(menu, Comma);
    EXPECT_EQ(menu.GetPageIndex(), 1);
}
