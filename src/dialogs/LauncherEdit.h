#pragma once
// The rules of the settings dialog's launcher tab that need no window: the page and key
// operations on the dialog's copy of the launcher table, the questions they ask, the key menu's
// captions, the name and working folder taken from a chosen file or shell link, and the widths of
// the key grid's columns. The tab itself (grid, fields, menus, message boxes) is the Win32 layer.
//
// Pages are numbered 0..2 here, as the page selector's item index; the texts show them as 1..3.
// Grid rows 1..26 hold the keys "A" to "Z" of the page shown.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "frame/Scale.h"
#include "launcher/LaunchItem.h"

// What the page and key menus do with the entry chosen; the tab sets it when it opens the menu.
enum class TLauncherEditMode { Copy, Exchange };

// The table slot of grid row 1..26 on a page.
int SlotOfRow(int page, int row);
// The key letter "A".."Z" of a slot.
char KeyLetter(int slot);

// True when none of the page's 26 slots has a name or a path. "ページの削除(&Z)" is enabled
// exactly when the page shown is not empty.
bool PageIsEmpty(const TLaunchItemTable& table, int page);
// Whether deleting the page asks "以後のページを前に詰めますか？": a page after it is not empty.
bool LaterPagesInUse(const TLaunchItemTable& table, int page);
// Deletes the page: with compaction every later page moves one page forward and the last page is
// cleared; without, only the page itself is cleared.
void DeletePage(TLaunchItemTable& table, int page, bool compact);
// Copies the page shown onto the target page, or exchanges the two, slot by slot. Copying asks
// first when the target page is not empty (PageIsEmpty).
void ApplyPageOperation(TLaunchItemTable& table, TLauncherEditMode mode, int shownPage,
                        int targetPage);

// Whether copying a key onto the target slot asks before overwriting it: the target has a path.
// A target with a name but no path is overwritten without asking.
bool KeyCopyOverwrites(const TLaunchItemTable& table, int target);
// Copies the source slot onto the target, or exchanges the two. The captions of both slots'
// key menu entries must be refreshed afterwards.
void ApplyKeyOperation(TLaunchItemTable& table, TLauncherEditMode mode, int source, int target);

// The caption of a slot's key menu entry: its letter, ": " and its name.
std::string KeyMenuCaption(const TLaunchItemTable& table, int slot);
// Every key menu entry is enabled but the one of the selected row on the page shown: a key is
// never copied onto or exchanged with itself.
bool KeyMenuEntryEnabled(int slot, int shownPage, int selectedRow);

// The questions of the tab, as the message box shows them.
extern const char* const DeletePageQuestion;
extern const char* const CompactPagesQuestion;
std::string UnassignQuestion(char letter);
// Asked before a key copy or a drop replaces the application registered on a key.
std::string OverwriteQuestion(char letter, std::string_view name, std::string_view path);
std::string PageOverwriteQuestion(int page);

// True when the name, without its line feeds and carriage returns and with blanks trimmed, is
// empty. A drop onto a row with a blank name does not ask before overwriting it.
bool NameIsBlank(std::string_view name);
// The name a row keeps after a file is set as its path: the name as it is unless it is blank,
// else the file name part of the name source cut before its first "." (my.tool.exe gives "my").
std::string NameAfterFile(std::string_view name, std::string_view nameSource);

// How a chosen or dropped file is imported, by its extension (letter case ignored).
enum class TLauncherFileKind { Plain, ShellLink, UrlShortcut };
TLauncherFileKind LauncherFileKind(std::string_view path);
// The show state list's position for a shell link's show command: normal gives "指定なし" (0),
// minimized with or without activation "最小" (1), maximized "最大" (2), anything else "普通" (3).
int SizeOfShowCommand(int showCommand);
// The working folder given, or when it is empty the folder part of the path with its trailing
// "\": for a shell link's import and as the start of the working-folder browse.
std::string WorkDirOrPathFolder(std::string_view workDir, std::string_view path);

// The row a drop selects: the selected row when the drop lay on no cell (-1), else the row under
// the mouse clamped to 1..26 (the header row gives row 1).
int DropRow(int row, int selectedRow);

// The narrowest a grid column may be, in pixels at 96 dots per inch.
inline constexpr int MinGridColumnWidth = 24;
// The widths of the grid's "Name", "Path", "Size", "Option" and "WorkDir" columns for a grid
// width: from w = width - 7 line widths - the key column's width - 18 and u = w / 14, the first
// four get 3u, 5u, u and 2u and "WorkDir" what is left of w, none narrower than
// MinGridColumnWidth. The grid then stretches its last column to its client width. Widths are
// pixels at the dots per inch given: the 18 and MinGridColumnWidth are taken at that scale.
std::array<int, 5> LauncherColumnWidths(int gridWidth, int gridLineWidth, int keyColumnWidth,
                                        int dpi = DesignDpi);

// The drop-target grid's stretching rule: the column to change and its new width so that the
// last visible column (index last) fills the client width, or nothing to change; minWidth is
// the narrowest column (MinGridColumnWidth at the grid's scale). With at least minWidth left for
// it, the last column takes what is left. Otherwise the nearest column to its left that can give
// the missing pixels (counting what the wider columns between them can give) is narrowed by what is
// still missing; the grid runs the rule again after each change, until the last column has its
// width or no column can give more.
struct TGridColumnChange {
    int Column = -1; // -1: nothing changes
    int Width = 0;
};
TGridColumnChange StretchLastColumn(const std::vector<int>& widths, int last, int lineWidth,
                                    int clientWidth, int minWidth = MinGridColumnWidth);
