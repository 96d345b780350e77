#include "clipboard/CHistory.h"

#include <algorithm>

#include "frame/Errors.h"

const char* const HistoryRangeErrorText = "Range Error!";

namespace {

[[noreturn]] void RangeError() {
    throw ERangeError(HistoryRangeErrorText);
}

// The first count lines of the list, as one change.
void CutList(TStringList& list, std::size_t count) {
    if (list.Count() <= count) return;
    TStringList kept;
    for (std::size_t i = 0; i < count; ++i)
        kept.Add(list[i]);
    list.Assign(kept);
}

} // namespace

int THistoryStringList::ItemsLimit() const {
    // Without a maximum, no blank is made beyond the menu's three pages.
    return FMaxRecord > 0 ? FMaxRecord : HistoryPositions;
}

void THistoryStringList::SetStringListMax(TStringList& list, long long index) {
    if (index < static_cast<long long>(list.Count())) return;
    TStringList padded(list);
    while (static_cast<long long>(padded.Count()) <= index)
        padded.Add("");
    list.Assign(padded);
}

void THistoryStringList::PadItems(long long index) {
    SetStringListMax(FItems, std::min<long long>(index, ItemsLimit() - 1LL));
}

void THistoryStringList::SetItemsFromHistory(int from, int to) {
    TStringList items(FItems);
    for (int i = std::max(from, 0); i < to; ++i) {
        const long long position = static_cast<long long>(FHistoryTop) + i;
        if (position < 0 || position >= static_cast<long long>(items.Count())) continue;
        items.Put(static_cast<std::size_t>(position),
                  static_cast<std::size_t>(i) < FHistory.Count() ? FHistory[i] : std::string());
    }
    FItems.Assign(items);
}

void THistoryStringList::SetItemsCount() {
    if (FMaxRecord <= 0) return;
    CutList(FHistory, static_cast<std::size_t>(FMaxRecord));
    CutList(FItems, static_cast<std::size_t>(FMaxRecord));
}

void THistoryStringList::CreateItems() {
    // Built apart and handed over whole: one change of Items.
    TStringList items(FFixList);
    if (FHistoryTop != -1) {
        const long long count = static_cast<long long>(FHistory.Count());
        long long n = Bounded()
                          ? std::min<long long>(
                                static_cast<long long>(FHistoryBottom) - FHistoryTop + 1, count)
                          : count;
        n = std::max(n, 0LL);
        const long long last = std::min<long long>(FHistoryTop + n, ItemsLimit() - 1LL);
        while (static_cast<long long>(items.Count()) <= last)
            items.Add("");
        for (long long i = 0; i < n && FHistoryTop + i < static_cast<long long>(items.Count()); ++i)
            items.Put(static_cast<std::size_t>(FHistoryTop + i), FHistory[i]);
    }
    // A text set may hold more texts than the menu may show.
    if (FMaxRecord > 0) CutList(items, static_cast<std::size_t>(FMaxRecord));
    FItems.Assign(items);
    Changed();
}

void THistoryStringList::SetMaxRecord(int value) {
    if (value == FMaxRecord) return;
    if (value < 0) RangeError();
    FMaxRecord = value;
    if (value < FHistoryBottom) SetHistoryBottom(-1);
    SetItemsCount();
    Changed();
}

void THistoryStringList::SetHistoryTop(int value) {
    if (value == FHistoryTop) return;
    if (value < -1) RangeError();
    FHistoryTop = value;
    CreateItems();
}

void THistoryStringList::SetHistoryBottom(int value) {
    if (value == FHistoryBottom) return;
    if (value < -1 || value > FMaxRecord) RangeError();
    // A window that reaches the last possible position is a window to the end.
    FHistoryBottom = value < FMaxRecord - 1 ? value : -1;
    CreateItems();
}

void THistoryStringList::Insert(int index, std::string_view text) {
    if (FProtect) return;
    if (index < 0 || index >= FMaxRecord) RangeError();
    SetStringListMax(
        FHistory,
        std::min<long long>(index, static_cast<long long>(FHistoryBottom) - FHistoryTop) + 1);
    // The index must exist to insert at it.
    SetStringListMax(FHistory, index - 1LL);
    FHistory.Insert(static_cast<std::size_t>(index), std::string(text));

    const long long position = static_cast<long long>(FHistoryTop) + index;
    if (FHistoryTop >= 0 && position < FMaxRecord) {
        if (!Bounded()) {
            // The entries below move down one position.
            PadItems(position);
            FItems.Insert(static_cast<std::size_t>(position), std::string(text));
        } else if (position <= FHistoryBottom) {
            if (static_cast<long long>(FItems.Count()) <= FHistoryBottom)
                PadItems(std::max<long long>(static_cast<long long>(FItems.Count()), position));
            const long long last =
                std::min<long long>(FHistoryBottom, static_cast<long long>(FItems.Count()) - 1);
            SetItemsFromHistory(index, static_cast<int>(last - FHistoryTop + 1));
        }
    }
    SetItemsCount();
    Changed();
}

void THistoryStringList::BringTo(int position, std::string_view text) {
    if (FProtect || FHistoryTop == -1 || position < FHistoryTop) return;
    if (Bounded() && position > FHistoryBottom) return;
    const int index = position - FHistoryTop;
    const int found = FHistory.IndexOfIgnoringCase(text);
    if (found < 0) {
        Insert(index, text);
        return;
    }
    // The most recent entry keeps its own letter case.
    if (found == 0) return;

    FHistory.Delete(static_cast<std::size_t>(found));
    SetStringListMax(FHistory, index - 1LL);
    FHistory.Insert(static_cast<std::size_t>(index), std::string(text));
    const long long old = static_cast<long long>(found) + FHistoryTop;
    if (!Bounded()) {
        TStringList items(FItems);
        if (old < static_cast<long long>(items.Count()))
            items.Delete(static_cast<std::size_t>(old));
        if (position < ItemsLimit()) {
            while (static_cast<long long>(items.Count()) < position)
                items.Add("");
            items.Insert(static_cast<std::size_t>(position), std::string(text));
        }
        // The entry came from the end: blanks it leaves at the end of the window go.
        if (old == static_cast<long long>(items.Count()) - 1) {
            while (!items.Empty() && static_cast<long long>(items.Count()) - 1 >= FHistoryTop &&
                   items[items.Count() - 1].empty())
                items.Delete(items.Count() - 1);
        }
        FItems.Assign(items);
    } else {
        const long long low = std::min<long long>(old, position);
        const long long high = std::min<long long>(old, FHistoryBottom);
        if (low <= FHistoryBottom) {
            PadItems(high + 1);
            SetItemsFromHistory(static_cast<int>(low - FHistoryTop),
                                static_cast<int>(high - FHistoryTop + 1));
        }
    }
    SetItemsCount();
    Changed();
}

void THistoryStringList::Clear() {
    FHistory.Clear();
    CreateItems();
}

void THistoryStringList::AssignToHistory(const TStringList& list) {
    FHistory.Assign(list);
    if (FHistoryTop != -1) {
        const long long count = static_cast<long long>(FHistory.Count());
        long long shown, padded;
        if (!Bounded()) {
            padded = count;
            shown = FMaxRecord > 0 ? std::min<long long>(FMaxRecord, count) : count;
        } else {
            shown = padded =
                std::max(0LL, std::min<long long>(
                                  static_cast<long long>(FHistoryBottom) - FHistoryTop + 1, count));
        }
        PadItems(padded + FHistoryTop - 1);
        SetItemsFromHistory(0, static_cast<int>(shown));
    }
    SetItemsCount();
    Changed();
}

void THistoryStringList::AssignToFixList(const TStringList& list) {
    FFixList.Assign(list);
    CreateItems();
}

void THistoryStringList::AssignFromHistory(TStringList& list) const {
    list.Assign(FHistory);
}
