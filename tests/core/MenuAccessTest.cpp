#include <gtest/gtest.h>

#include <string>

#include "menu/MenuAccess.h"

namespace {

// A launcher page set of three: page 1 with A "メモ帳", B vacant, C on two lines; page 2 with A.
void Fill(TMenuImage& menu) {
    TStringList lines;
    for (int i = 0; i < 78; ++i)
        lines.Add("");
    lines.Put(0, "メモ帳");
    lines.Put(2, "ワード\nパッド");
    lines.Put(26, "二ページ目");
    menu.SetPageCount(3);
    menu.SetItems(lines);
}

} // namespace

TEST(MenuAccess, SpokenTextJoinsControlCharactersAndCutsWholeCharacters) {
    const struct {
        const char* text;
        int max;
        const char* spoken;
    } cases[] = {
        {"メモ帳", 80, "メモ帳"},
        {"ワード\r\nパッド", 80, "ワード パッド"},
        {"  a\t\tb  ", 80, "a b"},
        {"\r\n", 80, ""},
        {"abcdef", 3, "abc…"},
        {"あいうえお", 2, "あい…"},
        // The cut counts characters, never splitting a double-byte one.
        {"aあいう", 2, "aあ…"},
        {"ab  ", 2, "ab"},
        {"ab cd", 2, "ab…"},
        {"ab", 2, "ab"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SpokenText(c.text, c.max), c.spoken) << c.text << " at " << c.max;
}

TEST(MenuAccess, LinesAreNamedByLetterAndTextOfTheShownPage) {
    TMenuImage menu;
    Fill(menu);
    EXPECT_EQ(MenuListName("ランチャ", menu), "ランチャ 1/3");
    const struct {
        int page;
        int child;
        const char* name;
        int line;
    } cases[] = {
        {1, 1, "A. メモ帳", 0},
        {1, 2, "B.", 1},
        {1, 3, "C. ワード パッド", 2},
        {1, 26, "Z.", 25},
        {2, 1, "A. 二ページ目", 26},
        {3, 26, "Z.", 77},
        {1, 0, "", -1},
        {1, 27, "", -1},
    };
    for (const auto& c : cases) {
        menu.SetPageIndex(c.page);
        EXPECT_EQ(MenuLineName(menu, c.child), c.name) << c.page << "/" << c.child;
        EXPECT_EQ(MenuLineOfChild(menu, c.child), c.line) << c.page << "/" << c.child;
        if (c.line >= 0) EXPECT_EQ(MenuChildOfLine(menu, c.line), c.child);
    }
    menu.SetPageIndex(2);
    EXPECT_EQ(MenuListName("ランチャ", menu), "ランチャ 2/3");
    // Lines of other pages have no child id.
    EXPECT_EQ(MenuChildOfLine(menu, 0), 0);
    EXPECT_EQ(MenuChildOfLine(menu, 52), 0);
    EXPECT_EQ(MenuChildOfLine(menu, -1), 0);
}

TEST(MenuAccess, ALongClipboardTextIsCutInItsName) {
    TMenuImage menu;
    TStringList lines;
    std::string longText;
    for (int i = 0; i < 100; ++i)
        longText += "あ";
    lines.Add(longText);
    menu.SetItems(lines);
    EXPECT_EQ(MenuListName("クリップボード", menu), "クリップボード 1/1");
    std::string expected = "A. ";
    for (int i = 0; i < SpokenCharacters; ++i)
        expected += "あ";
    EXPECT_EQ(MenuLineName(menu, 1), expected + "…");
    // Positions past the last line read as vacant.
    EXPECT_EQ(MenuLineName(menu, 2), "B.");
}

TEST(MenuAccess, TheChosenLineIsSelectedAndFocusedWithTheKeyboard) {
    TMenuImage menu;
    Fill(menu);
    menu.SetItemIndex(2);
    const struct {
        int child;
        bool focused;
        TMenuLineState state;
    } cases[] = {
        {3, true, {true, true, false}},   {3, false, {true, false, false}},
        {1, true, {false, false, false}}, {2, true, {false, false, true}},
        {26, true, {false, false, true}}, {27, true, {false, false, false}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MenuLineState(menu, c.child, c.focused), c.state)
            << c.child << (c.focused ? " focused" : "");
    // The same position on another page is not the chosen line.
    menu.SetPageIndex(2);
    menu.SetItemIndex(-1);
    EXPECT_FALSE(MenuLineState(menu, 3, true).Selected);
}
