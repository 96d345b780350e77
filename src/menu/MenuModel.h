#pragma once
// The menu's model: the lines of one menu (launcher entries or clipboard texts), the chosen
// line, the shown page, the layout of the menu area, and the four page marks. The window control
// (TListImage) owns one TMenuImage and four TPageImage, listens to their notifications to
// redraw, and hands them its keys; everything here runs on the user-interface thread.
//
// Setters store only when the value differs and is in range, then notify; out-of-range values
// are ignored silently.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "frame/StringList.h"

// Colours are 0x00BBGGRR; a top byte of 0x80 names a system colour by the index in the low byte.
inline constexpr std::uint32_t MenuAqua = 0x00FFFF00;
inline constexpr std::uint32_t MenuYellow = 0x0000FFFF;
inline constexpr std::uint32_t SystemBackgroundColor = 0x80000001;

// The face of the menu lines until the settings name another: "ＭＳ Ｐゴシック" (Shift_JIS bytes).
extern const char* const DefaultMenuFontName;

// The face, size (points) and style of the menu lines.
struct TMenuFont {
    std::string Name = DefaultMenuFontName;
    int Size = 9;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    bool operator==(const TMenuFont&) const = default;
};

class TMenuImage {
public:
    using TNotify = std::function<void(TMenuImage& sender)>;
    using TPageChanged = std::function<void(TMenuImage& sender, int oldPage, int newPage)>;
    using TChangePage = std::function<void(TMenuImage& sender, int pageCount)>;

    TMenuImage();
    TMenuImage(const TMenuImage&) = delete;
    TMenuImage& operator=(const TMenuImage&) = delete;

    // The menu area inside the control, pixels.
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    void SetWidth(int value);
    void SetHeight(int value);
    void SetLeft(int value);
    void SetTop(int value);

    // One text per menu line; an empty text is a vacant line.
    const TStringList& Items() const { return FItems; }
    // Copies the lines, shows page 1 again (the choice is kept) and tells OnChangePage the new
    // page count.
    void SetItems(const TStringList& source);
    int Count() const { return static_cast<int>(FItems.Count()); }
    // A line that exists and whose text is not empty.
    bool Usable(int index) const;

    int ItemIndex() const { return FItemIndex; }
    // -1 clears the choice; an index of a vacant line is accepted.
    void SetItemIndex(int index);

    int MaxLines() const { return FMaxLines; }
    // At least 1: a menu line shows one text line or more.
    void SetMaxLines(int value);

    std::uint32_t NormalColor() const { return FNormalColor; }
    std::uint32_t SelectColor() const { return FSelectColor; }
    void SetNormalColor(std::uint32_t value);
    void SetSelectColor(std::uint32_t value);
    // The colour of a line's text: the selected colour only for the chosen line while the
    // control has the keyboard focus.
    std::uint32_t GetFontColor(bool selected, bool focused) const;

    const TMenuFont& Font() const { return FFont; }
    void SetFont(const TMenuFont& value);

    // A one-pixel shadow under every glyph.
    bool Relation() const { return FRelation; }
    std::uint32_t RelationColor() const { return FRelationColor; }
    void SetRelation(bool value);
    void SetRelationColor(std::uint32_t value);

    // The stored page: 1-based, 0 until a page is chosen (reads as page 1).
    int PageIndex() const { return FPageIndex; }
    // The stored page count: 0 lets the lines decide.
    int PageCount() const { return FPageCount; }
    int GetPageIndex() const { return FPageIndex == 0 ? 1 : FPageIndex; }
    int GetPerPage() const { return FColumns * FRows; }
    int GetFirstIndex() const { return (GetPageIndex() - 1) * GetPerPage(); }
    int GetPageCount() const;
    // Shows the page and clears the choice; the raw stored value is compared, so page 1 is
    // accepted while nothing was chosen yet.
    void SetPageIndex(int page);
    void SetPageCount(int count);

    int Columns() const { return FColumns; }
    int Rows() const { return FRows; }
    int ColumnGap() const { return FColumnGap; }
    int ColumnWidth() const { return FColumnWidth; }
    void SetColumnWidth(int value);
    // Shares the area's width among the columns, keeping a gap before, between and after them
    // and one more for the letters.
    void UpdateColumnWidth();

    // The next usable line after index on the shown page, wrapping once to the page start while
    // a line is chosen; -1 when there is none.
    int GetNextIndex(int index) const;
    // The menu's own keys: letters choose their line, the arrows move the choice, comma and
    // full stop turn the page. A consumed key is set to 0; the shift state does not matter.
    void KeyDown(std::uint16_t& key);

    TNotify OnBoundsChanged;
    TNotify OnItemsChanged;
    TNotify OnIndexChanging;
    TNotify OnIndexChanged;
    TPageChanged OnPageChanged;
    TChangePage OnChangePage;

private:
    void BoundsChanged();
    void ItemsChanged();
    void MoveUp();

    int FWidth = 480;
    int FHeight = 320;
    int FLeft = 16;
    int FTop = 16;
    TStringList FItems;
    int FItemIndex = -1;
    int FMaxLines = 1;
    std::uint32_t FNormalColor = MenuAqua;
    std::uint32_t FSelectColor = MenuYellow;
    TMenuFont FFont;
    bool FRelation = false;
    std::uint32_t FRelationColor = 0;
    int FPageIndex = 0;
    int FPageCount = 0;
    const int FColumns = 2;
    const int FRows = 13;
    const int FColumnGap = 26;
    int FColumnWidth = 200;
};

// One page mark: a strip of frames, one shown at a time. The pictures themselves belong to the
// window control.
class TPageImage {
public:
    using TNotify = std::function<void(TPageImage& sender)>;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    void SetBounds(int left, int top, int width, int height);

    // -1 shows no frame: the skin background shows through.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index);
    int ImageCount() const { return FImageCount; }
    // From 0 up to the mark's height.
    void SetImageCount(int count);

    bool Transparent() const { return FTransparent; }
    std::uint32_t TransparentColor() const { return FTransparentColor; }
    void SetTransparent(bool value);
    void SetTransparentColor(std::uint32_t value);

    TNotify OnBoundsChanged;
    TNotify OnChange;

private:
    int FWidth = 32;
    int FHeight = 32;
    int FLeft = 16;
    int FTop = 16;
    int FImageIndex = -1;
    int FImageCount = 0;
    bool FTransparent = false;
    std::uint32_t FTransparentColor = SystemBackgroundColor;
};

// Mark 0 tells whether the clipboard history is protected; marks 1 to 3 stand for pages 1 to 3.
using TPageMarks = std::array<TPageImage, 4>;
inline constexpr int ProtectMark = 0;
// Frames of a page mark: the shown page, a page that exists; -1 for no such page.
inline constexpr int MarkCurrentPage = 0;
inline constexpr int MarkExistingPage = 1;

// After new lines: every page up to the count exists, the others have no mark.
void ShowPageMarks(TPageMarks& marks, int pageCount);
// After a page change: the old page's mark goes back to "exists", the new one becomes current.
// Pages without a mark (0, above 3) are passed over.
void FollowPageChange(TPageMarks& marks, int oldPage, int newPage);
