#include <array>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "dialogs/LauncherEdit.h"

namespace {
// A table whose pages hold "one", "two" and "three" on key A; page 3 also has
// key Z in use.
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

std::array<std::string, 3> NamesOfKeyA(const TLaunchItemTable& table) {
    return {table.GetName(0), table.GetName(26), table.GetName(52)};
}
} // namespace

TEST(LauncherEditPages, PageIsEmptyLooksAtNamesAndPathsOnly) {
    TLaunchItemTable table;
    table.SetOption(26, "-x");
    table.SetSize(27, 2);
    EXPECT_TRUE(PageIsEmpty(table, 1));
    EXPECT_FALSE(LaterPagesInUse(table, 0));
    table.SetName(51, "name only");
    EXPECT_FALSE(PageIsEmpty(table, 1));
    EXPECT_TRUE(LaterPagesInUse(table, 0));
    EXPECT_FALSE(LaterPagesInUse(table, 1));
    table.SetPath(52, "path only");
    EXPECT_FALSE(PageIsEmpty(table, 2));
    EXPECT_TRUE(LaterPagesInUse(table, 1));
    EXPECT_FALSE(LaterPagesInUse(table, 2));
}

TEST(LauncherEditPages, DeleteClearsThePageOrMovesTheLaterPagesForward) {
    struct Case {
        int page;
        bool compact;
        std::array<std::string, 3> keyA;
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
    // Moving a page takes all five values of each slot with it.
    TLaunchItemTable table = ThreeFilledPages();
    DeletePage(table, 0, true);
    EXPECT_EQ(table.GetPath(51), "C:\\z.exe");
    EXPECT_EQ(table.GetSize(51), 2);
    EXPECT_EQ(table.GetPath(77), "");
    EXPECT_EQ(table.GetSize(77), 0);
    EXPECT_TRUE(PageIsEmpty(table, 2));
}

TEST(LauncherEditPages, CopyOrExchangeThePageShownSlotBySlot) {
    TLaunchItemTable table = ThreeFilledPages();
    ApplyPageOperation(table, TLauncherEditMode::Exchange, 2, 0);
    EXPECT_EQ(NamesOfKeyA(table), (std::array<std::string, 3>{"three", "two", "one"}));
    EXPECT_EQ(table.GetPath(25), "C:\\z.exe");
    EXPECT_EQ(table.GetPath(77), "");
    ApplyPageOperation(table, TLauncherEditMode::Copy, 0, 1);
    EXPECT_EQ(NamesOfKeyA(table), (std::array<std::string, 3>{"three", "three", "one"}));
    EXPECT_EQ(table.GetPath(51), "C:\\z.exe");
    EXPECT_EQ(table.GetPath(25), "C:\\z.exe");
}

TEST(LauncherEditKeys, CopyOrExchangeSlotsAndAskOnlyOverAPath) {
    TLaunchItemTable table;
    table.SetName(0, "エディタ");
    table.SetPath(0, "C:\\edit.exe");
    table.SetName(30, "named");
    EXPECT_FALSE(KeyCopyOverwrites(table, 30));
    EXPECT_TRUE(KeyCopyOverwrites(table, 0));
    ApplyKeyOperation(table, TLauncherEditMode::Copy, 0, 30);
    EXPECT_EQ(table.GetName(30), "エディタ");
    EXPECT_EQ(table.GetName(0), "エディタ");
    table.SetName(60, "other");
    ApplyKeyOperation(table, TLauncherEditMode::Exchange, 0, 60);
    EXPECT_EQ(table.GetName(0), "other");
    EXPECT_EQ(table.GetPath(60), "C:\\edit.exe");
}

TEST(LauncherEditKeys, MenuCaptionsAndTheSelectedSlotsEntryDisabled) {
    TLaunchItemTable table;
    table.SetName(26, "エディタ");
    EXPECT_EQ(KeyMenuCaption(table, 26), "A: エディタ");
    EXPECT_EQ(KeyMenuCaption(table, 77), "Z: ");
    EXPECT_EQ(KeyLetter(55), 'D');
    EXPECT_EQ(SlotOfRow(2, 4), 55);
    EXPECT_FALSE(KeyMenuEntryEnabled(55, 2, 4));
    EXPECT_TRUE(KeyMenuEntryEnabled(3, 2, 4));
    EXPECT_TRUE(KeyMenuEntryEnabled(54, 2, 4));
}

TEST(LauncherEditQuestions, TextsAsTheMessageBoxShowsThem) {
    EXPECT_EQ(UnassignQuestion('A'), "キー \"A\" への割り当てを解除してもよろしいでしょうか？");
    EXPECT_EQ(OverwriteQuestion('C', "エディタ", "C:\\表\\edit.exe"),
              "キー 'C'には以下のアプリケーションが登録されています。\n\n"
              "　名称：エディタ\n"
              "　パス：C:\\表\\edit.exe\n\n"
              "このデータに上書きしてもよろしいでしょうか？");
    EXPECT_EQ(PageOverwriteQuestion(1),
              "Page 2 は設定されています。\n上書きしてもよろしいでしょうか？");
    EXPECT_STREQ(CompactPagesQuestion, "以後のページを前に詰めますか？");
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
    EXPECT_TRUE(NameIsBlank("\n \r\n"));
    EXPECT_FALSE(NameIsBlank("\nx"));
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
        // w = 59, u = 4: every column at 24, WorkDir too although nothing is
        // left.
        {100, 1, {24, 24, 24, 24, 24}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LauncherColumnWidths(c.grid, c.line, 16), c.widths);
}
