#include <gtest/gtest.h>

#include <string>

#include "menu/MenuGeometry.h"

namespace {

// Fixed sizes that tell the character sets apart: ANSI bytes are 6 pixels wide ("W" 10) and 12
// high, Shift_JIS bytes 7 wide and 14 high. The unit height is 12 + 3 = 15.
class TFixedMetrics : public TMenuTextMetrics {
public:
    TTextExtent Extent(std::string_view text, int charset) const override {
        TTextExtent extent;
        for (char c : text)
            extent.Cx += charset == AnsiCharset ? (c == 'W' ? 10 : 6) : 7;
        extent.Cy = charset == AnsiCharset ? 12 : 14;
        return extent;
    }
};

// A default menu (area at 16, 16; columns 200 wide after a gap of 26) with the given lines.
struct MenuWith {
    explicit MenuWith(std::initializer_list<std::string> lines, int maxLines = 1) {
        menu.SetItems(TStringList(lines));
        menu.SetMaxLines(maxLines);
    }
    TItemLayout Layout(int index) {
        TItemLayout layout;
        EXPECT_TRUE(LayoutItem(menu, metrics, index, layout));
        return layout;
    }
    TMenuImage menu;
    TFixedMetrics metrics;
};

} // namespace

TEST(MenuGeometry, RowTopsShareTheAreaHeightInFloatingPoint) {
    TMenuImage menu;
    menu.SetHeight(220);
    menu.SetTop(10);
    EXPECT_EQ(RowTop(menu, 0), 14);
    EXPECT_EQ(RowTop(menu, 1), 30);
    EXPECT_EQ(RowTop(menu, 2), 46);
    EXPECT_EQ(RowTop(menu, 3), 63);
    EXPECT_EQ(RowTop(menu, 12), 10 + 4 + 197);
}

TEST(MenuGeometry, MetricsCountLineFeedsOfSingleByteCharactersOnly) {
    TFixedMetrics metrics;
    EXPECT_EQ(GetAlphaWidth(metrics), 10 + 6 + 6 + 2);
    EXPECT_EQ(GetLineCount("a\nb\nc", 5), 3);
    EXPECT_EQ(GetLineCount("a\nb\nc", 2), 2);
    EXPECT_EQ(GetLineCount("a\rb", 5), 1);
    EXPECT_EQ(GetLineCount("\x81\n\n", 5), 2); // the first line feed trails a lead byte
    EXPECT_EQ(GetLineHeight(metrics, "a\nb", 3), 30);

    TMenuImage menu;
    EXPECT_EQ(GetWindowHeight(metrics, menu, 4), (15 + 4) * 13);
    menu.SetMaxLines(5); // a menu row never grows beyond three text lines
    EXPECT_EQ(GetWindowHeight(metrics, menu, 0), 45 * 13);
}

TEST(MenuGeometry, LinesSitInTwoColumnsWithCentredLetters) {
    MenuWith m({"a"});
    const TItemLayout first = m.Layout(0);
    EXPECT_EQ(first.Rect, (TMenuRect{40, 20, 240, 34}));
    EXPECT_EQ(first.Label, "A.");
    EXPECT_EQ(first.LabelX, 42 + (24 - 12) / 2);
    EXPECT_EQ(first.TextStart, 42 + 24);

    // Beyond the last line: the letter only, as high as three text lines allow.
    m.menu.SetMaxLines(2);
    const TItemLayout second = m.Layout(14);
    EXPECT_EQ(second.Label, "O.");
    EXPECT_EQ(second.Rect.Left, 16 + 2 * 26 + 200 - 2);
    EXPECT_EQ(second.Rect.Bottom - second.Rect.Top + 1, 30);
    EXPECT_FALSE(second.HasText);
    EXPECT_TRUE(second.Glyphs.empty());
    EXPECT_TRUE(Underlines(second, false).empty());

    TItemLayout unused;
    EXPECT_FALSE(LayoutItem(m.menu, m.metrics, 26, unused));
    m.menu.SetPageCount(2);
    m.menu.SetPageIndex(2);
    EXPECT_FALSE(LayoutItem(m.menu, m.metrics, 25, unused));
    EXPECT_EQ(m.Layout(27).Label, "B.");
}

TEST(MenuGeometry, GlyphsSwitchCharacterSetPerCharacter) {
    MenuWith m({"A1 アx\t!"});
    const TItemLayout layout = m.Layout(0);
    ASSERT_EQ(layout.Glyphs.size(), 7u);
    const std::string texts[] = {"A", "1", " ", "ア", "x", "    ", "!"};
    const int charsets[] = {AnsiCharset, AnsiCharset,     ShiftJisCharset, ShiftJisCharset,
                            AnsiCharset, ShiftJisCharset, ShiftJisCharset};
    const int xs[] = {66, 72, 78, 85, 99, 105, 133};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(layout.Glyphs[i].Text, texts[i]) << i;
        EXPECT_EQ(layout.Glyphs[i].Charset, charsets[i]) << i;
        EXPECT_EQ(layout.Glyphs[i].X, xs[i]) << i;
    }
    EXPECT_TRUE(layout.Glyphs[3].DoubleByte); // its trail byte is the letter A
    EXPECT_FALSE(layout.Glyphs[5].DoubleByte);
}

TEST(MenuGeometry, LineBreaksNeedASpareTextLine) {
    MenuWith one({"a\nb"}, 1);
    TItemLayout layout = one.Layout(0);
    ASSERT_EQ(layout.Glyphs.size(), 2u);
    EXPECT_EQ(layout.Glyphs[1].Line, 1);
    EXPECT_EQ(layout.Glyphs[1].X, 72);

    MenuWith pair({"a\r\nb", "\nab", "a\rb"}, 2);
    layout = pair.Layout(0);
    ASSERT_EQ(layout.Glyphs.size(), 2u);
    EXPECT_EQ(layout.Glyphs[1].Line, 2);
    EXPECT_EQ(layout.Glyphs[1].X, 66);
    EXPECT_EQ(layout.LinesUsed, 2);

    layout = pair.Layout(1); // a leading break is ignored
    ASSERT_EQ(layout.Glyphs.size(), 2u);
    EXPECT_EQ(layout.Glyphs[1].Line, 1);

    // A lone carriage return breaks the text but does not make the line higher.
    layout = pair.Layout(2);
    ASSERT_EQ(layout.Glyphs.size(), 2u);
    EXPECT_EQ(layout.Glyphs[1].Line, 2);
    EXPECT_EQ(layout.Rect.Bottom - layout.Rect.Top + 1, 15);
    EXPECT_EQ(Underlines(layout, false).size(), 2u);
}

TEST(MenuGeometry, LongTextsWrapWhileTextLinesRemainThenStopAtTheEdge) {
    MenuWith m({"abcdefghij"}, 2);
    m.menu.SetColumnWidth(60); // the line ends at 100, the text starts at 66
    TItemLayout layout = m.Layout(0);
    ASSERT_EQ(layout.Glyphs.size(), 10u);
    EXPECT_EQ(layout.Glyphs[4].X, 90);
    EXPECT_EQ(layout.Glyphs[5].Line, 2);
    EXPECT_EQ(layout.Glyphs[5].X, 66);

    m.menu.SetMaxLines(1);
    layout = m.Layout(0);
    ASSERT_EQ(layout.Glyphs.size(), 6u); // the sixth crosses the edge and ends the walk
    EXPECT_EQ(layout.Glyphs[5].X, 96);
    EXPECT_EQ(layout.Glyphs[5].Line, 1);
}

TEST(MenuGeometry, GlyphsHangOrSitOnTheirTextLineAndUnderlinesFollowThem) {
    MenuWith m({"a\nア"}, 2);
    const TItemLayout layout = m.Layout(0);
    ASSERT_EQ(layout.Glyphs.size(), 2u);
    EXPECT_EQ(layout.Unit, 15);
    EXPECT_EQ(GlyphOffset(layout.Glyphs[0], layout.Unit), 0);
    EXPECT_EQ(GlyphOffset(layout.Glyphs[0], layout.Unit, -1), -1);
    EXPECT_EQ(GlyphOffset(layout.Glyphs[1], layout.Unit), 30 - 5 - 14);
    EXPECT_EQ(GlyphOffset(layout.Glyphs[1], layout.Unit, -1), 30 - 5 - 14 - 1);
    TMenuGlyph high = layout.Glyphs[1];
    high.Line = 1;
    EXPECT_EQ(GlyphOffset(high, layout.Unit), 0);

    const int top = layout.Rect.Top;
    EXPECT_EQ(Underlines(layout, false), (std::vector<TMenuRect>{{40, top + 12, 239, top + 12},
                                                                 {66, top + 27, 239, top + 27}}));
    EXPECT_EQ(Underlines(layout, true)[0], (TMenuRect{40, top + 11, 239, top + 14}));
}
