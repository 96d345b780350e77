#pragma once
// The rules of the settings dialog's launcher tab that need no window: the page and key
// operations on the dialog's copy of the launcher table, the questions they ask and the key
// menu's captions. The tab itself (grid, fields, menus, message boxes) is the Win32 layer.
//
// Pages are numbered 0..2 here, as the page selector's item index; the texts show them as 1..3.
// Grid rows 1..26 hold the keys "A" to "Z" of the page shown.
#include <string>
#include <string_view>

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
