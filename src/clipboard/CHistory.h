#pragma once
// The clipboard menu's entries: the fixed texts of the current text set and the history of
// copied texts, merged into one list. The history occupies a window of menu positions from
// HistoryTop to HistoryBottom; the fixed texts fill the other positions. A newly copied text
// enters at the top of the window and pushes the older ones down, a text copied again returns to
// the top, and a protected history does not change.
//
// Requests out of range throw ERangeError("Range Error!") and leave everything as it was.
#include <string>
#include <string_view>

#include "frame/StringList.h"

class THistoryStringList {
public:
    THistoryStringList() = default;
    THistoryStringList(const THistoryStringList&) = delete;
    THistoryStringList& operator=(const THistoryStringList&) = delete;

    // The menu's entries: FixList with the history window laid over it.
    const TStringList& Items() const { return FItems; }
    // Copied texts, entry 0 the most recent; an empty text is a blank slot.
    const TStringList& History() const { return FHistory; }
    // One fixed text per menu position.
    const TStringList& FixList() const { return FFixList; }

    // While set, Insert and BringTo change nothing (and raise nothing).
    bool Protect() const { return FProtect; }
    void SetProtect(bool value) { FProtect = value; }

    // The most entries History and Items may hold; 0 keeps every entry but makes Insert reject
    // every index. Below 0 is out of range. A maximum below HistoryBottom makes the window run
    // to the end.
    int MaxRecord() const { return FMaxRecord; }
    void SetMaxRecord(int value);

    // Menu position of history entry 0; -1 shows no history. Below -1 is out of range.
    int HistoryTop() const { return FHistoryTop; }
    void SetHistoryTop(int value);
    // Last menu position of the window, inclusive; -1 runs to the end. Below -1 or above
    // MaxRecord is out of range; a window that reaches the last position (MaxRecord - 1 or
    // MaxRecord) is stored as -1.
    int HistoryBottom() const { return FHistoryBottom; }
    void SetHistoryBottom(int value);

    // Set by every change of Items; the menu clears it once it has taken the entries.
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }

    // Puts a copied text at history index i (0 ... MaxRecord - 1) and shows it in the window.
    void Insert(int index, std::string_view text);
    // A text copied or chosen at menu position p: a new text enters the history there, a known
    // one (letter case ignored, double-byte characters compared as bytes) moves there; nothing
    // happens outside the window.
    void BringTo(int position, std::string_view text);
    // Empties the history; the window shows the fixed texts again.
    void Clear();

    // Replaces the history by a copy of the list and shows it in the window.
    void AssignToHistory(const TStringList& list);
    // Replaces the fixed texts by a copy of the list and rebuilds Items.
    void AssignToFixList(const TStringList& list);
    // Copies the history into the list.
    void AssignFromHistory(TStringList& list) const;

private:
    bool Bounded() const { return FHistoryBottom >= 0; }
    // The most positions Items may be padded to.
    int ItemsLimit() const;
    // Appends blanks to the list until the index exists; a negative index adds nothing. Items is
    // never padded beyond ItemsLimit().
    static void SetStringListMax(TStringList& list, long long index);
    void PadItems(long long index);
    // Writes history indices from ... to - 1 into Items at HistoryTop + i (a blank beyond the
    // end of History), as far as those positions exist.
    void SetItemsFromHistory(int from, int to);
    // With a maximum, cuts History and then Items to it, from the end.
    void SetItemsCount();
    void CreateItems();
    void Changed() { FModified = true; }

    TStringList FItems;
    TStringList FHistory;
    TStringList FFixList;
    bool FProtect = false;
    int FHistoryTop = 0;
    int FHistoryBottom = -1;
    int FMaxRecord = 0;
    bool FModified = false;
};

// The message of the history list's range error.
extern const char* const HistoryRangeErrorText;
// Menu positions: three pages of 26 entries.
inline constexpr int HistoryPageSize = 26;
inline constexpr int HistoryPositions = 3 * HistoryPageSize;
