#include "dialogs/DCGrid.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "dialogs/LauncherEdit.h"
#include "frame/Subclass.h"
#include "frame/Window.h"
#include "system/AnsiPath.h"

namespace {
// List view grid lines are drawn inside the columns' widths.
constexpr int GridLineWidth = 0;
} // namespace

TDropCatchGrid::~TDropCatchGrid() {
    if (!FHandle) return;
    SetDropCatch(false);
    RemoveSubclass(FHandle, Proc, 1);
}

void TDropCatchGrid::Attach(HWND listView, const std::vector<std::string>& columns, int rows) {
    FHandle = listView;
    FColumns = columns.size();
    ListView_SetExtendedListViewStyle(listView, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = FMinColWidth;
        column.pszText = const_cast<char*>(columns[i].c_str());
        SendMessageA(listView, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    for (int row = 1; row < rows; ++row) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row - 1;
        item.pszText = const_cast<char*>("");
        SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SetSubclass(listView, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
}

std::string TDropCatchGrid::Cell(int column, int row) const {
    if (row < 1) return {};
    std::vector<char> text(1024, '\0');
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    SendMessageA(FHandle, LVM_GETITEMTEXTA, static_cast<WPARAM>(row - 1),
                 reinterpret_cast<LPARAM>(&item));
    return text.data();
}

void TDropCatchGrid::SetCell(int column, int row, const std::string& text) {
    if (row < 1) return;
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(FHandle, LVM_SETITEMTEXTA, static_cast<WPARAM>(row - 1),
                 reinterpret_cast<LPARAM>(&item));
}

int TDropCatchGrid::ColWidth(int column) const {
    return static_cast<int>(SendMessageA(FHandle, LVM_GETCOLUMNWIDTH, column, 0));
}

void TDropCatchGrid::SetColWidth(int column, int width) {
    SendMessageA(FHandle, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
}

int TDropCatchGrid::Row() const {
    const int item = static_cast<int>(
        SendMessageA(FHandle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return item < 0 ? 0 : item + 1;
}

void TDropCatchGrid::SetRow(int row) {
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageA(FHandle, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&none));
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(FHandle, LVM_SETITEMSTATE, static_cast<WPARAM>(row - 1),
                 reinterpret_cast<LPARAM>(&state));
    SendMessageA(FHandle, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row - 1), FALSE);
}

int TDropCatchGrid::RowAt(POINT client) const {
    RECT area{};
    GetClientRect(FHandle, &area);
    if (!PtInRect(&area, client)) return -1;
    HWND header = reinterpret_cast<HWND>(SendMessageA(FHandle, LVM_GETHEADER, 0, 0));
    RECT headerRect{};
    if (header && GetWindowRect(header, &headerRect)) {
        MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&headerRect), 2);
        if (PtInRect(&headerRect, client)) return 0;
    }
    LVHITTESTINFO hit{};
    hit.pt = client;
    const int item = static_cast<int>(
        SendMessageA(FHandle, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return item < 0 || !(hit.flags & LVHT_ONITEM) ? -1 : item + 1;
}

void TDropCatchGrid::SetDropCatch(bool value) {
    if (value == FDropCatch) return;
    DragAcceptFiles(FHandle, value ? TRUE : FALSE);
    FDropCatch = value;
}

void TDropCatchGrid::SetMinColWidth(int width) {
    if (width <= 0 || width == FMinColWidth) return;
    FMinColWidth = width;
    ColWidthsChanged();
}

void TDropCatchGrid::SetViewRangeX(int range) {
    if (range == FViewRangeX) return;
    if (range >= 0 && range < ColCount()) FViewRangeX = range;
    SizeSet();
}

void TDropCatchGrid::SizeSet() {
    if (!FHandle || FColumns == 0 || FSizing) return;
    FSizing = true;
    const int last = (FViewRangeX != 0 ? FViewRangeX : ColCount()) - 1;
    RECT client{};
    GetClientRect(FHandle, &client);
    // One change at a time, as each narrowing frees room that the next look takes into account.
    for (int pass = 0; pass < ColCount(); ++pass) {
        std::vector<int> widths;
        for (int column = 0; column < ColCount(); ++column)
            widths.push_back(ColWidth(column));
        const TGridColumnChange change =
            StretchLastColumn(widths, last, GridLineWidth, client.right, FMinColWidth);
        if (change.Column < 0) break;
        SetColWidth(change.Column, change.Width);
        if (change.Column == last) break;
    }
    InvalidateRect(FHandle, nullptr, FALSE);
    FSizing = false;
}

void TDropCatchGrid::ColWidthsChanged() {
    for (int column = 1; column < ColCount(); ++column)
        if (ColWidth(column) < FMinColWidth) SetColWidth(column, FMinColWidth);
    SizeSet();
}

void TDropCatchGrid::DropFiles(HDROP drop) {
    int row = -1;
    POINT at{};
    if (GetCursorPos(&at)) {
        ScreenToClient(FHandle, &at);
        row = RowAt(at);
    }
    // Names are asked in UTF-16 and at their whole length; a name that the program cannot keep
    // as it is is refused, never cut or changed.
    std::vector<std::string> files;
    std::wstring refusal;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, name.data(), length + 1));
        std::string path;
        std::wstring refused;
        if (AnsiPathOf(name, path, refused))
            files.push_back(std::move(path));
        else if (refusal.empty())
            refusal = std::move(refused);
    }
    DragFinish(drop);
    if (!refusal.empty()) ShowPathRefusal(GetAncestor(FHandle, GA_ROOT), refusal);
    if (OnDropped && !files.empty()) {
        SetForegroundWindow(GetAncestor(FHandle, GA_ROOT));
        OnDropped(files, row);
    }
}

LRESULT CALLBACK TDropCatchGrid::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TDropCatchGrid*>(data);
    switch (message) {
    case WM_DROPFILES:
        self->DropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_SIZE: {
        const LRESULT result = DefSubclass(window, message, wParam, lParam);
        self->SizeSet();
        return result;
    }
    case WM_NOTIFY: {
        const LRESULT result = DefSubclass(window, message, wParam, lParam);
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == HDN_ENDTRACKA || header->code == HDN_ENDTRACKW ||
            header->code == HDN_ITEMCHANGEDA || header->code == HDN_ITEMCHANGEDW)
            self->ColWidthsChanged();
        return result;
    }
    default:
        return DefSubclass(window, message, wParam, lParam);
    }
}

HMENU CreateKeyMenu(const char* firstItem, UINT firstId, UINT keyIdBase, int shownPage,
                    int selectedRow, const std::function<std::string(int page)>& pageCaption,
                    const std::function<std::string(int slot)>& keyCaption) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, firstId, firstItem);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    for (int page = 0; page < LauncherPageCount; ++page) {
        HMENU keys = CreatePopupMenu();
        for (int row = 1; row <= LauncherPageSize; ++row) {
            const int slot = SlotOfRow(page, row);
            const UINT flags = KeyMenuEntryEnabled(slot, shownPage, selectedRow)
                                   ? MF_STRING
                                   : MF_STRING | MF_GRAYED;
            AppendMenuA(keys, flags, keyIdBase + static_cast<UINT>(slot), keyCaption(slot).c_str());
        }
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(keys), pageCaption(page).c_str());
    }
    return menu;
}
