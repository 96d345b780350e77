#pragma once
// The rules of the text-set editor and of the settings dialog's clipboard page that need no
// window: the editor's 78 texts and their page and key operations, the questions they ask, the
// shortened texts the menus and questions show, the history window of the editor's four lists,
// the values an existing set opens with, the title of a new set, the selection kept across a
// refill of the set lists, and the rewrite of the saved history's load switch.
//
// Pages are numbered 0..2 and keys 0..25 here, as the lists' item indices; positions run from 0
// (page 1, key A) to 77 (page 3, key Z). The grid's rows 1..26 and the page and key helpers come
// from the launcher editor (SlotOfRow, KeyLetter, KeyMenuEntryEnabled, TLauncherEditMode).
#include <string>
#include <string_view>
#include <vector>

#include "clipboard/TextSet.h"
#include "dialogs/LauncherEdit.h"
#include "frame/StringList.h"

inline constexpr int TextSetPageCount = 3;
inline constexpr int TextSetPageSize = 26;
inline constexpr int TextSetSize = TextSetPageCount * TextSetPageSize;

// The editor's texts: always TextSetSize of them.
using TTextSetTexts = std::vector<std::string>;
// The texts of a list read from a file, blanks added up to TextSetSize (a missing file gives 78
// blanks).
TTextSetTexts TextsOfList(const TStringList& list);
TStringList ListOfTexts(const TTextSetTexts& texts);

// A text shortened to n bytes for display: a longer text is cut to n bytes, or n - 1 when byte n
// begins a double-byte character, and " ..." is appended.
std::string ShortenText(std::string_view text, std::size_t n);

bool TextPageHasText(const TTextSetTexts& texts, int page);
bool LaterTextPagesHaveText(const TTextSetTexts& texts, int page);
// Deletes the page: with compaction every later page moves one page forward and the last page
// becomes blank; without, the page itself becomes blank.
void DeleteTextPage(TTextSetTexts& texts, int page, bool compact);
// Copies the shown page onto the target page, or exchanges the two.
void ApplyTextPageOperation(TTextSetTexts& texts, TLauncherEditMode mode, int shownPage,
                            int targetPage);
// Copies the source position onto the target, or exchanges the two.
void ApplyTextEntryOperation(TTextSetTexts& texts, TLauncherEditMode mode, int source, int target);

// A position's entry in the key menu: its letter, ": " and its text shortened to 32 bytes.
std::string TextMenuCaption(const TTextSetTexts& texts, int position);
// Asked before an entry is blanked, and before a copy replaces the target's text.
std::string DeleteTextQuestion(char letter, std::string_view text);
std::string OverwriteTextQuestion(char letter, std::string_view text);

// The history window as the editor's four lists hold it: list positions, -1 when not chosen.
struct TWindowFields {
    int StartPage = -1, StartKey = -1, EndPage = -1, EndKey = -1;

    bool Complete() const { return StartPage >= 0 && StartKey >= 0 && EndPage >= 0 && EndKey >= 0; }
    bool operator==(const TWindowFields&) const = default;
};
// The start before the end: pages exchanged (with their keys) when the start page is after the
// end page, keys exchanged when the pages are equal and the start key is after the end key.
TWindowFields NormaliseWindow(const TWindowFields& fields);
// "Top" and "Bottom" as the file holds them: page index x 26 + key index, at least -1.
int WindowTop(const TWindowFields& fields);
int WindowBottom(const TWindowFields& fields);
// Whether the grid shows the position as part of the history window: the switch is on, all four
// lists are chosen and the position lies between start and end, in either order.
bool InHistoryWindow(bool history, const TWindowFields& fields, int position);

// The switch and the four lists an existing set opens with, from its [Basic] values. A missing
// start turns the switch off and starts at position 0 (a missing end then ends at position 77);
// otherwise a missing end turns the switch on and ends at position 77; otherwise the switch is
// the set's "History".
struct TEditorWindow {
    bool History = false;
    TWindowFields Fields;
};
TEditorWindow EditorWindowOfSet(const TTextSetWindow& window);

// The title of a new set: "クリップボード設定" followed by the smallest number from 1 that makes
// it a text no line of the list has.
std::string NewTextSetTitle(const TStringList& lines);

// The file name a selected line of a set list stands for: the fallback when no line is selected
// (-1), empty for line 0 (the blank entry), else the line's file name (fileNames[line - 1]).
std::string SelectedSetFile(int line, const TStringList& fileNames, const std::string& fallback);
// The line of a file name in a refilled set list: 0 when the name is empty or no longer listed.
// File names match without regard to letter case.
int LineOfSetFile(const TStringList& fileNames, const std::string& fileName);

// The saved history's load switch: "LoadHistory" of [Basic] in the file (false when missing).
bool ReadHistoryLoadSwitch(const std::string& path);
// Sets only that value in the file and leaves every other line as it was (a missing file gets the
// section and the value alone). A file that exists but cannot be read is left alone and
// EFileError thrown, so that its saved entries are never replaced by nothing; a failed write
// throws EFileError too and leaves the old file whole.
void WriteHistoryLoadSwitch(const std::string& path, bool load);
