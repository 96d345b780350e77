#include <array>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "dialogs/LauncherEdit.h"

namespace {
// Pages holding "one", "two" and "three" on key A; page 3 also has key Z (slot 77) in use.
TLaunchItemTable ThreeFilledPages() {
    TLaunchItemTable table;
    const char* names[] = {"one", "two", "three"};
    for (int page = 0; page < 3; ++page) {
        table.SetName(page * 26, names[page]);
        table.SetPath(page * 26, "C:\\app.exe");
    }
    table.SetPath(77, "C:\\z.exe");
    table.SetSize(77, 2);
    return table;
}

using Names = std::array<std::string, 3>;
Names NamesOfKeyA(const TLaunchItemTable& table) {
    return {table.GetName(0), table.GetName(26), table.GetName(52)};
}
} // namespace

TEST(LauncherEditPages, EmptyMeansNoNameAndNoPath) {
    TLaunchItemTable table;
    table.SetOption(26, "-x");
    table.SetSize(27, 2);
    EXPECT_TRUE(PageIsEmpty(table, 1));
    EXPECT_FALSE(LaterPagesInUse(table, 0));
    table.SetName(51, "name only");
    table.SetPath(52, "path only");
    EXPECT_FALSE(PageIsEmpty(table, 1));
    EXPECT_FALSE(PageIsEmpty(table, 2));
    EXPECT_TRUE(LaterPagesInUse(table, 0));
    EXPECT_FALSE(LaterPagesInUse(table, 2));
}

TEST(LauncherEditPages, DeleteClearsThePageOrMovesTheLaterPagesForward) {
    struct Case {
        int page;
        bool compact;
        Names keyA;
    } cases[] = {
        {0, true, {"two", "three", ""}}, {0, false, {"", "two", "three"}},
        {1, true, {"one", "three", ""}}, {1, false, {"one", "", "three"}},
        {2, true, {"one", "two", ""}},
    };
    for (const Case& c : cases) {
        TLaunchItemTable table = ThreeFilledPages();
        DeletePage(table, c.page, c.compact);
        EXPECT_EQ(NamesOfKeyA(table), c.keyA) << c.page << " " << c.compact;
    }
    // The slots move whole: key Z of page 3 takes its show state to page 2 and leaves none.
    TLaunchItemTable table = ThreeFilledPages();
    DeletePage(table, 0, true);
    EXPECT_EQ(table.GetSize(51), 2);
    EXPECT_EQ(table.GetSize(77), 0);
}

TEST(LauncherEditPages, CopyOrExchangeThePageShownSlotBySlot) {
    TLaunchItemTable table = ThreeFilledPages();
    ApplyPageOperation(table, TLauncherEditMode::Exchange, 2, 0);
    EXPECT_EQ(NamesOfKeyA(table), (Names{"three", "two", "one"}));
    EXPECT_EQ(table.GetPath(25), "C:\\z.exe");
    ApplyPageOperation(table, TLauncherEditMode::Copy, 0, 1);
    EXPECT_EQ(NamesOfKeyA(table), (Names{"three", "three", "one"}));
    EXPECT_EQ(table.GetPath(51), "C:\\z.exe");
}

TEST(LauncherEditKeys, CopyAsksOnlyOverAPathAndCaptionsFollowTheNames) {
    TLaunchItemTable table = ThreeFilledPages();
    table.SetName(30, "named");
    EXPECT_FALSE(KeyCopyOverwrites(table, 30));
    EXPECT_TRUE(KeyCopyOverwrites(table, 26));
    ApplyKeyOperation(table, TLauncherEditMode::Copy, 0, 30);
    ApplyKeyOperation(table, TLauncherEditMode::Exchange, 30, 55);
    EXPECT_EQ(KeyMenuCaption(table, 30), "E: ");
    EXPECT_EQ(KeyMenuCaption(table, 55), "D: one");
    // Shown as in the grid, on one line, with "&" as itself.
    table.SetName(1, "R&D\ntools\r\nx");
    EXPECT_EQ(KeyMenuCaption(table, 1), "B: R&&D tools  x");
    // The entry of the selected slot (page 3, row 4) is the only one disabled.
    EXPECT_FALSE(KeyMenuEntryEnabled(55, 2, 4));
    EXPECT_TRUE(KeyMenuEntryEnabled(3, 2, 4));
    EXPECT_TRUE(KeyMenuEntryEnabled(54, 2, 4));
}

TEST(LauncherEditQuestions, TextsAsTheMessageBoxShowsThem) {
    EXPECT_EQ(OverwriteQuestion('C', "エディタ", "C:\\表\\edit.exe"),
              "キー 'C'には以下のアプリケーションが登録されています。\n\n"
              "　名称：エディタ\n"
              "　パス：C:\\表\\edit.exe\n\n"
              "このデータに上書きしてもよろしいでしょうか？");
    EXPECT_EQ(PageOverwriteQuestion(1),
              "Page 2 は設定されています。\n上書きしてもよろしいでしょうか？");
}

TEST(LauncherEditFiles, NameComesFromTheFileOnlyWhenTheFieldIsBlank) {
    struct Case {
        const char* name;
        const char* source;
        const char* expected;
    } cases[] = {
        {"", "C:\\tools\\my.tool.exe", "my"},       {"\r\n\r\n", "D:\\表\\メモ帳.exe", "メモ帳"},
        {" \r\n\t ", "C:\\data.d\\noext", "noext"}, {"", "C:\\.hidden", ""},
        {"Editor", "C:\\x.exe", "Editor"},          {"\r\nエディタ ", "C:\\x.exe", "\r\nエディタ "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NameAfterFile(c.name, c.source), c.expected) << c.source;
}

TEST(LauncherEditFiles, LinkImportRules) {
    const std::pair<int, int> sizes[] = {{1, 0}, {2, 1}, {7, 1}, {3, 2},
                                         {0, 3}, {5, 3}, {6, 3}, {10, 3}};
    for (const auto& [show, size] : sizes)
        EXPECT_EQ(SizeOfShowCommand(show), size) << show;

    EXPECT_EQ(LauncherFileKind("C:\\表.LNK"), TLauncherFileKind::ShellLink);
    EXPECT_EQ(LauncherFileKind("site.Url"), TLauncherFileKind::UrlShortcut);
    EXPECT_EQ(LauncherFileKind("C:\\x.lnk\\tool"), TLauncherFileKind::Plain);

    EXPECT_EQ(WorkDirOrPathFolder("D:\\work", "C:\\x\\a.exe"), "D:\\work");
    EXPECT_EQ(WorkDirOrPathFolder("", "C:\\Program Files\\表\\a.exe"), "C:\\Program Files\\表\\");
    EXPECT_EQ(WorkDirOrPathFolder("", "a.exe"), "");
}

TEST(LauncherEditGrid, DropRowKeepsTheSelectionOffTheCellsAndClampsOnThem) {
    const std::array<int, 3> cases[] = {{-1, 5, 5}, {0, 5, 1}, {27, 5, 26}, {13, 5, 13}};
    for (const auto& [row, selected, expected] : cases)
        EXPECT_EQ(DropRow(row, selected), expected) << row;
}

TEST(LauncherEditGrid, ColumnWidthsShareTheWidthInFourteenths) {
    struct Case {
        int grid, line;
        std::array<int, 5> widths;
    } cases[] = {
        // w = 428 - 7 - 16 - 18 = 387, u = 27; WorkDir 387 - 297.
        {428, 1, {81, 135, 27, 54, 90}},
        // w = 500 - 14 - 16 - 18 = 452, u = 32; WorkDir 452 - 352.
        {500, 2, {96, 160, 32, 64, 100}},
        // w = 259, u = 18: Size is held at 24 and WorkDir gets 259 - 204.
        {300, 1, {54, 90, 24, 36, 55}},
        // w = 59, u = 4: every column at 24, WorkDir too although nothing is left.
        {100, 1, {24, 24, 24, 24, 24}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LauncherColumnWidths(c.grid, c.line, 16), c.widths);

    // At 144 dots per inch the scroll bar's 18 is 27 and the narrowest column 36.
    const Case at144[] = {
        // w = 642 - 0 - 36 - 27 = 579, u = 41; WorkDir 579 - 451.
        {642, 0, {123, 205, 41, 82, 128}},
        // w = 450 - 36 - 27 = 387, u = 27: Size is held at 36 and WorkDir gets 387 - 306.
        {450, 0, {81, 135, 36, 54, 81}},
    };
    for (const Case& c : at144)
        EXPECT_EQ(LauncherColumnWidths(c.grid, c.line, 36, 144), c.widths) << c.grid;
}

TEST(LauncherEditGrid, LastColumnStretchesOrANeighbourGivesWhatIsMissing) {
    // Key column 16, then 100, 100 and the last; grid lines 1 pixel.
    const std::vector<int> wide{16, 100, 100, 50};
    EXPECT_EQ(StretchLastColumn(wide, 3, 1, 300).Column, 3);
    EXPECT_EQ(StretchLastColumn(wide, 3, 1, 300).Width, 80);
    EXPECT_EQ(StretchLastColumn({16, 100, 100, 80}, 3, 1, 300).Column, -1) << "already fills";
    // 10 pixels left: the column beside it gives the missing 14.
    EXPECT_EQ(StretchLastColumn(wide, 3, 1, 230).Column, 2);
    EXPECT_EQ(StretchLastColumn(wide, 3, 1, 230).Width, 86);
    // Columns of 30 and 26 can give 6 and 2: 6 missing takes column 1 down by the 4 that the
    // column of 26 cannot give; 10 missing is more than both can give.
    const std::vector<int> narrow{16, 30, 26, 50};
    EXPECT_EQ(StretchLastColumn(narrow, 3, 1, 94).Column, 1);
    EXPECT_EQ(StretchLastColumn(narrow, 3, 1, 94).Width, 26);
    EXPECT_EQ(StretchLastColumn(narrow, 3, 1, 90).Column, -1);
    // At 144 dots per inch no column is narrower than 36: 30 left is 6 short; the column of 40
    // can give 4, so the one of 50 gives the other 2 (at 96, 30 would do).
    const std::vector<int> scaled{36, 50, 40, 60};
    EXPECT_EQ(StretchLastColumn(scaled, 3, 0, 156, 36).Column, 1);
    EXPECT_EQ(StretchLastColumn(scaled, 3, 0, 156, 36).Width, 48);
    EXPECT_EQ(StretchLastColumn(scaled, 3, 0, 156).Width, 30);
}
