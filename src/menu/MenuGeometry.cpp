#include "menu/MenuGeometry.h"

#include <algorithm>
#include <cmath>

#include "frame/Platform.h"

bool TMenuTextMetrics::IsAlphaNumeric(unsigned char byte) const {
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= 'a' && byte <= 'z');
}

int GetAlphaWidth(const TMenuTextMetrics& metrics) {
    return metrics.Extent("W. ", AnsiCharset).Cx + 2;
}

int GetLineCount(std::string_view text, int maxLines) {
    int lines = 1;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (Platform().IsLeadByte(byte)) {
            i += 2;
            continue;
        }
        if (byte == '\n') ++lines;
        ++i;
    }
    return std::min(lines, maxLines);
}

static int UnitHeight(const TMenuTextMetrics& metrics) {
    return metrics.Extent("Wg", AnsiCharset).Cy + 3;
}

int GetLineHeight(const TMenuTextMetrics& metrics, std::string_view text, int maxLines) {
    return UnitHeight(metrics) * GetLineCount(text, maxLines);
}

int GetWindowHeight(const TMenuTextMetrics& metrics, const TMenuImage& menu, int lineSpace) {
    return (GetLineHeight(metrics, "\n\n", menu.MaxLines()) + lineSpace) * menu.Rows();
}

int RowTop(const TMenuImage& menu, int row) {
    const double pitch = static_cast<double>(menu.Height() - 6) / menu.Rows();
    return menu.Top() + 4 + static_cast<int>(std::floor(pitch * row));
}

// Walks the text glyph by glyph from the text start, wrapping at glyphs that do not fit while
// text lines remain, until the text ends or the right edge is reached.
static void LayoutText(std::string_view text, const TMenuTextMetrics& metrics, int maxLines,
                       TItemLayout& layout) {
    const int right = layout.Rect.Right;
    int x = layout.TextStart;
    int line = 1;
    const auto nextLine = [&] {
        if (line < maxLines) {
            ++line;
            x = layout.TextStart;
        }
    };
    for (std::size_t p = 0; p < text.size() && x < right;) {
        const auto byte = static_cast<unsigned char>(text[p]);
        TMenuGlyph glyph;
        std::size_t length = 1;
        if (Platform().IsLeadByte(byte)) {
            length = 2;
            glyph.DoubleByte = true;
            glyph.Charset = ShiftJisCharset;
        } else {
            glyph.Charset = metrics.IsAlphaNumeric(byte) ? AnsiCharset : ShiftJisCharset;
        }
        if (!glyph.DoubleByte && (byte == '\n' || byte == '\r')) {
            if (byte == '\r' && p + 1 < text.size() && text[p + 1] == '\n') length = 2;
            if (p > 0) nextLine();
            p += length;
            continue;
        }
        glyph.Text = byte == '\t' && !glyph.DoubleByte ? std::string("    ")
                                                       : std::string(text.substr(p, length));
        glyph.Extent = metrics.Extent(glyph.Text, glyph.Charset);
        if (x + glyph.Extent.Cx > right) nextLine();
        glyph.X = x;
        glyph.Line = line;
        x += glyph.Extent.Cx;
        layout.Glyphs.push_back(std::move(glyph));
        p += length;
    }
    layout.LinesUsed = line;
}

bool LayoutItem(const TMenuImage& menu, const TMenuTextMetrics& metrics, int index,
                TItemLayout& layout) {
    const int first = menu.GetFirstIndex();
    if (index < 0 || index < first || index >= menu.GetPageIndex() * menu.GetPerPage())
        return false;
    layout = TItemLayout{};
    const bool exists = index < menu.Count();
    const std::string_view text = exists ? std::string_view(menu.Items()[index]) : "";
    const int maxLines = menu.MaxLines();
    // A position beyond the last line is as high as a line of three text lines would be.
    const int height =
        exists ? GetLineHeight(metrics, text, maxLines) : GetLineHeight(metrics, "\n\n", maxLines);
    const int lines = exists ? GetLineCount(text, maxLines) : maxLines;
    layout.Unit = height / lines;

    const int row = (index - first) % menu.Rows();
    const int column = (index - first) / menu.Rows();
    TMenuRect& rect = layout.Rect;
    rect.Top = RowTop(menu, row);
    rect.Bottom = rect.Top + height - 1;
    rect.Left = menu.Left() + (column + 1) * menu.ColumnGap() + column * menu.ColumnWidth() - 2;
    rect.Right = rect.Left + menu.ColumnWidth();

    const int x = rect.Left + 2;
    layout.Label = std::string(1, static_cast<char>((65 + index - first) % 256)) + ".";
    const int alphaWidth = GetAlphaWidth(metrics);
    layout.LabelX = x + (alphaWidth - metrics.Extent(layout.Label, AnsiCharset).Cx) / 2;
    layout.TextStart = x + alphaWidth;

    layout.HasText = exists && !text.empty();
    if (layout.HasText) LayoutText(text, metrics, maxLines, layout);
    return true;
}

int GlyphOffset(const TMenuGlyph& glyph, int unit, int dy) {
    if (glyph.DoubleByte) return std::max(0, glyph.Line * unit - 5 - glyph.Extent.Cy + dy);
    return (glyph.Line - 1) * unit + dy;
}

std::vector<TMenuRect> Underlines(const TItemLayout& layout, bool relation) {
    std::vector<TMenuRect> result;
    if (!layout.HasText) return result;
    const TMenuRect& rect = layout.Rect;
    for (int k = 1; k <= layout.LinesUsed; ++k) {
        const int indent = k == 1 ? 0 : layout.TextStart - rect.Left;
        const int y = rect.Top + k * layout.Unit;
        if (relation)
            result.push_back({rect.Left + indent, y - 4, rect.Right - 1, y - 1});
        else
            result.push_back({rect.Left + indent, y - 3, rect.Right - 1, y - 3});
    }
    return result;
}

TMenuRect MarkRect(const TPageImage& mark) {
    return {mark.Left(), mark.Top(), mark.Left() + mark.Width(), mark.Top() + mark.Height()};
}

TMenuRect MarkFrameRect(const TPageImage& mark) {
    const int frame = mark.ImageIndex();
    return {mark.Width(), mark.Height() * frame, 2 * mark.Width(), mark.Height() * (frame + 1)};
}
