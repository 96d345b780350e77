#pragma once
// Where the menu's lines, letters, glyphs, underlines and page marks go, computed from the model
// and the sizes of texts in the menu font. The window control measures through
// TMenuTextMetrics with its canvas and draws what these functions lay out.
//
// Texts are drawn glyph by glyph, switching the font's character set per glyph, so that ANSI
// letters and digits use the font's Latin glyphs while Japanese text and symbols use its
// Shift_JIS glyphs.
#include <string>
#include <string_view>
#include <vector>

#include "menu/MenuModel.h"

inline constexpr int AnsiCharset = 0;
inline constexpr int ShiftJisCharset = 128;

struct TTextExtent {
    int Cx = 0;
    int Cy = 0;
};

class TMenuTextMetrics {
public:
    virtual ~TMenuTextMetrics() = default;
    // The size of the bytes drawn in the menu font with the given character set.
    virtual TTextExtent Extent(std::string_view text, int charset) const = 0;
    // Whether a single byte is a letter or digit in the code page's multibyte classification.
    // ASCII letters and digits always are; blanks, punctuation and control bytes never are.
    virtual bool IsAlphaNumeric(unsigned char byte) const;
};

// A rectangle, or for underlines the two end points (Left, Top) and (Right, Bottom).
struct TMenuRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool operator==(const TMenuRect&) const = default;
};

// The width kept for the letter label in front of every line.
int GetAlphaWidth(const TMenuTextMetrics& metrics);
// 1 plus the line feeds of the text (double-byte characters skipped), at most maxLines.
int GetLineCount(std::string_view text, int maxLines);
// The height of one text line ("Wg" + 3, the unit height) times the text's line count.
int GetLineHeight(const TMenuTextMetrics& metrics, std::string_view text, int maxLines);
// The height of the menu area that the skin derives from the font: 13 rows of up to three text
// lines plus the line space.
int GetWindowHeight(const TMenuTextMetrics& metrics, const TMenuImage& menu, int lineSpace);

// The top of a row: the area's height less 6 shared among the rows in floating point.
int RowTop(const TMenuImage& menu, int row);

// One glyph of a line's text: a double-byte character, or one byte (a tab drawn as four spaces).
struct TMenuGlyph {
    std::string Text;
    int Charset = AnsiCharset;
    bool DoubleByte = false;
    int X = 0;
    int Line = 1; // the text line, from 1
    TTextExtent Extent;
};

// How one line of the shown page is drawn.
struct TItemLayout {
    TMenuRect Rect;    // erase and clip rectangle
    int Unit = 0;      // height of one text line: the line's height / its line count
    std::string Label; // "A." to "Z."
    int LabelX = 0;    // the label centred in the letter width
    int TextStart = 0;
    // False for a position beyond the last line or a vacant line: the letter only, and no
    // underline even when chosen.
    bool HasText = false;
    std::vector<TMenuGlyph> Glyphs;
    int LinesUsed = 1; // text lines the walk reached, each underlined when chosen
};

// The layout of the line at index; false when the index is not on the shown page.
bool LayoutItem(const TMenuImage& menu, const TMenuTextMetrics& metrics, int index,
                TItemLayout& layout);
// The vertical offset of a glyph from the line's top, dy being the shadow's offset (-1 or 0):
// single-byte glyphs hang from the top of their text line, double-byte glyphs sit on its base.
int GlyphOffset(const TMenuGlyph& glyph, int unit, int dy = 0);
// The chosen line's underlines, one per text line used, the later ones indented to the text.
// With the shadow on they are bars (frame-and-fill rectangles), otherwise lines.
std::vector<TMenuRect> Underlines(const TItemLayout& layout, bool relation);

// Where a mark sits in the control, and its shown frame in the mark's composed pictures (the
// right half of its bitmap).
TMenuRect MarkRect(const TPageImage& mark);
TMenuRect MarkFrameRect(const TPageImage& mark);
