#pragma once
// The drop-target grid: a grid of text cells on the system's list view in report view (column 0
// and the header row fixed), that takes files dragged from the shell and reports them with the
// row under the mouse, and keeps its last visible column stretched to the client width with
// every column at least its narrowest width (MinGridColumnWidth at the owner's scale).
//
// Rows are counted as a string grid counts them: row 0 is the header, rows 1.. the list items.
#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/LauncherEdit.h"

class TDropCatchGrid {
public:
    using TDropped = std::function<void(const std::vector<std::string>& files, int row)>;

    TDropCatchGrid() = default;
    ~TDropCatchGrid();
    TDropCatchGrid(const TDropCatchGrid&) = delete;
    TDropCatchGrid& operator=(const TDropCatchGrid&) = delete;

    // Takes over a list view of a dialog template and gives it the columns (their captions) and
    // the rows (1 .. rows - 1).
    void Attach(HWND listView, const std::vector<std::string>& columns, int rows);
    HWND Handle() const { return FHandle; }

    int ColCount() const { return static_cast<int>(FColumns); }
    std::string Cell(int column, int row) const;
    void SetCell(int column, int row, const std::string& text);
    int ColWidth(int column) const;
    void SetColWidth(int column, int width);
    // The narrowest a column may be, in pixels at the grid's scale.
    int MinColWidth() const { return FMinColWidth; }
    void SetMinColWidth(int width);
    // The selected row (1 ..), 0 when none; selecting scrolls it into view.
    int Row() const;
    void SetRow(int row);
    // The row of the cell under a point of the client area: 0 on the header, -1 on no cell.
    int RowAt(POINT client) const;

    bool DropCatch() const { return FDropCatch; }
    void SetDropCatch(bool value);
    // How many columns count as visible for the stretching (0: all).
    int ViewRangeX() const { return FViewRangeX; }
    void SetViewRangeX(int range);
    // Stretches the last visible column to the client width (or narrows a neighbour).
    void SizeSet();

    // Files dropped on the grid, in the shell's order, and the row under the mouse (-1: none).
    TDropped OnDropped;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR self);
    void DropFiles(HDROP drop);
    void ColWidthsChanged();

    HWND FHandle = nullptr;
    std::size_t FColumns = 0;
    bool FDropCatch = false;
    int FViewRangeX = 0;
    int FMinColWidth = MinGridColumnWidth;
    bool FSizing = false;
};

// The key menu of an editor whose grid shows one of three pages of 26 keys: a first item, a
// separator, then for each page a submenu captioned by pageCaption with its keys captioned by
// keyCaption (slot = page x 26 + key). The key of the selected row on the page shown is greyed:
// a key is neither copied onto nor exchanged with itself. Items are numbered firstId, and
// keyIdBase + the slot. The caller destroys the menu.
HMENU CreateKeyMenu(const char* firstItem, UINT firstId, UINT keyIdBase, int shownPage,
                    int selectedRow, const std::function<std::string(int page)>& pageCaption,
                    const std::function<std::string(int slot)>& keyCaption);
