#include "menu/MenuModel.h"

#include <algorithm>

// Virtual-key codes of the keys the menu handles itself.
static constexpr std::uint16_t VkLeft = 0x25;
static constexpr std::uint16_t VkUp = 0x26;
static constexpr std::uint16_t VkRight = 0x27;
static constexpr std::uint16_t VkDown = 0x28;
static constexpr std::uint16_t VkComma = 0xBC;
static constexpr std::uint16_t VkFullStop = 0xBE;

const char* const DefaultMenuFontName = "ＭＳ Ｐゴシック";

static int DivideRoundingUp(int a, int b) {
    return a <= 0 ? a / b : (a + b - 1) / b;
}

TMenuImage::TMenuImage() {
    FItems.OnChange = [this](TStringList&) { ItemsChanged(); };
}

void TMenuImage::BoundsChanged() {
    if (OnBoundsChanged) OnBoundsChanged(*this);
}

void TMenuImage::ItemsChanged() {
    if (OnItemsChanged) OnItemsChanged(*this);
}

void TMenuImage::SetWidth(int value) {
    if (value == FWidth) return;
    FWidth = value;
    BoundsChanged();
}

void TMenuImage::SetHeight(int value) {
    if (value == FHeight) return;
    FHeight = value;
    BoundsChanged();
}

void TMenuImage::SetLeft(int value) {
    if (value == FLeft) return;
    FLeft = value;
    BoundsChanged();
}

void TMenuImage::SetTop(int value) {
    if (value == FTop) return;
    FTop = value;
    BoundsChanged();
}

void TMenuImage::SetItems(const TStringList& source) {
    FItems.Assign(source);
    FPageIndex = 0;
    if (OnChangePage) OnChangePage(*this, GetPageCount());
}

bool TMenuImage::Usable(int index) const {
    return index >= 0 && index < Count() && !FItems[static_cast<std::size_t>(index)].empty();
}

void TMenuImage::SetItemIndex(int index) {
    if (index == FItemIndex || index < -1 || index >= Count()) return;
    if (OnIndexChanging) OnIndexChanging(*this);
    FItemIndex = index;
    if (OnIndexChanged) OnIndexChanged(*this);
}

void TMenuImage::SetMaxLines(int value) {
    // No line count below one: the row height and the drawing unit divide by it.
    if (value == FMaxLines || value < 1) return;
    FMaxLines = value;
    ItemsChanged();
}

void TMenuImage::SetNormalColor(std::uint32_t value) {
    if (value == FNormalColor) return;
    FNormalColor = value;
    ItemsChanged();
}

void TMenuImage::SetSelectColor(std::uint32_t value) {
    if (value == FSelectColor) return;
    FSelectColor = value;
    ItemsChanged();
}

std::uint32_t TMenuImage::GetFontColor(bool selected, bool focused) const {
    return selected && focused ? FSelectColor : FNormalColor;
}

void TMenuImage::SetFont(const TMenuFont& value) {
    if (value == FFont) return;
    FFont = value;
    ItemsChanged();
}

void TMenuImage::SetRelation(bool value) {
    if (value == FRelation) return;
    FRelation = value;
    ItemsChanged();
}

void TMenuImage::SetRelationColor(std::uint32_t value) {
    if (value == FRelationColor) return;
    FRelationColor = value;
    if (FRelation) ItemsChanged();
}

int TMenuImage::GetPageCount() const {
    if (FPageCount != 0) return FPageCount;
    return std::max(1, DivideRoundingUp(Count(), GetPerPage()));
}

void TMenuImage::SetPageIndex(int page) {
    if (page == FPageIndex || page < 1 || page > GetPageCount()) return;
    const int oldPage = FPageIndex;
    FPageIndex = page;
    SetItemIndex(-1);
    if (OnPageChanged) OnPageChanged(*this, oldPage, page);
}

void TMenuImage::SetPageCount(int count) {
    // A negative count would leave no page to show.
    if (count < 0) return;
    FPageCount = count;
}

void TMenuImage::SetColumnWidth(int value) {
    if (value == FColumnWidth) return;
    FColumnWidth = value;
    ItemsChanged();
}

void TMenuImage::UpdateColumnWidth() {
    SetColumnWidth((FWidth - (FColumns + 2) * FColumnGap) / FColumns);
}

int TMenuImage::GetNextIndex(int index) const {
    const int first = GetFirstIndex();
    const int end = std::min(Count(), first + GetPerPage());
    // Never start before the shown page: with nothing chosen, a search from an earlier index
    // would choose a line the user cannot see.
    int a = std::max(index, first - 1);
    bool wrapped = false;
    for (;;) {
        ++a;
        if (a >= end) {
            // Wrap once to the page start while a line is chosen; a page without a usable line
            // ends the search.
            if (FItemIndex == -1 || wrapped) return -1;
            wrapped = true;
            a = first;
        }
        if (Usable(a)) return a;
    }
}

void TMenuImage::MoveUp() {
    const int first = GetFirstIndex();
    const int end = first + GetPerPage();
    const int last = std::min(Count(), end) - 1;
    const int start = std::min(FItemIndex, end);
    bool wrapped = false;
    for (int i = start;;) {
        --i;
        if (i == start) return; // a full cycle found nothing else
        if (i < first) {
            // Wrap to the last line of the page; a page without lines has nothing to offer,
            // and a second wrap means the start lay outside the page's lines.
            if (wrapped || last < first) return;
            wrapped = true;
            i = last;
        }
        if (Usable(i)) {
            SetItemIndex(i);
            return;
        }
    }
}

void TMenuImage::KeyDown(std::uint16_t& key) {
    const int first = GetFirstIndex();
    const int rows = FRows;
    const int end = first + GetPerPage();
    const int count = Count();
    const int shownEnd = std::min(count, end); // the end of the page's lines
    if (key >= 'A' && key <= 'Z') {
        const int x = first + (key - 'A');
        if (Usable(x)) SetItemIndex(x);
        key = 0;
        return;
    }
    switch (key) {
    case VkLeft: {
        key = 0;
        if (count == 0) return;
        int b = FItemIndex - rows;
        // From the first column to the same row of the last column that holds lines.
        if (b < first) b = DivideRoundingUp(shownEnd, rows) * rows + b - first;
        const int r = GetNextIndex(b - 1);
        if (r >= 0) SetItemIndex(r);
        return;
    }
    case VkRight: {
        key = 0;
        if (count == 0) return;
        int b = FItemIndex + rows;
        // From the last column back to the same row of the first column.
        if (b >= shownEnd) {
            b = b - DivideRoundingUp(end, rows) * rows + first;
            if (b < first) b += rows;
        }
        const int r = GetNextIndex(b - 1);
        if (r >= 0) SetItemIndex(r);
        return;
    }
    case VkUp:
        key = 0;
        if (count == 0) return;
        MoveUp();
        return;
    case VkDown: {
        if (count == 0) return;
        key = 0;
        const int r = GetNextIndex(FItemIndex < first ? first - 1 : FItemIndex);
        if (r >= 0) SetItemIndex(r);
        return;
    }
    case VkComma:
        if (count > 0) SetPageIndex(GetPageIndex() - 1);
        return;
    case VkFullStop:
        if (count > 0) SetPageIndex(GetPageIndex() + 1);
        return;
    default:
        return;
    }
}

void TPageImage::SetBounds(int left, int top, int width, int height) {
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (OnBoundsChanged) OnBoundsChanged(*this);
}

void TPageImage::SetImageIndex(int index) {
    if (index == FImageIndex || index < -1 || index >= FImageCount) return;
    FImageIndex = index;
    if (OnChange) OnChange(*this);
}

void TPageImage::SetImageCount(int count) {
    if (count == FImageCount || count < 0 || count > FHeight) return;
    FImageCount = count;
}

void TPageImage::SetTransparent(bool value) {
    FTransparent = value;
}

void TPageImage::SetTransparentColor(std::uint32_t value) {
    FTransparentColor = value;
}

void ShowPageMarks(TPageMarks& marks, int pageCount) {
    for (int page = 1; page < static_cast<int>(marks.size()); ++page)
        marks[static_cast<std::size_t>(page)].SetImageIndex(page <= pageCount ? MarkExistingPage
                                                                              : -1);
}

void FollowPageChange(TPageMarks& marks, int oldPage, int newPage) {
    const auto hasMark = [&](int page) {
        return page > 0 && page < static_cast<int>(marks.size());
    };
    if (hasMark(oldPage)) {
        TPageImage& mark = marks[static_cast<std::size_t>(oldPage)];
        if (mark.ImageIndex() == MarkCurrentPage) mark.SetImageIndex(MarkExistingPage);
    }
    if (hasMark(newPage)) {
        TPageImage& mark = marks[static_cast<std::size_t>(newPage)];
        if (mark.ImageIndex() == MarkExistingPage) mark.SetImageIndex(MarkCurrentPage);
    }
}
