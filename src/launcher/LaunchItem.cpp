#include "launcher/LaunchItem.h"

#include "frame/StringList.h"

TLaunchItemTable::TLaunchItemTable(int count)
    : FName(count), FPath(count), FOption(count), FWorkDir(count), FSize(count, 0) {}

void TLaunchItemTable::CopyItem(int from, int to) {
    if (from == to) return;
    SetName(to, GetName(from));
    SetPath(to, GetPath(from));
    SetOption(to, GetOption(from));
    SetWorkDir(to, GetWorkDir(from));
    SetSize(to, GetSize(from));
}

void TLaunchItemTable::ExchangeItems(int a, int b) {
    std::swap(FName.at(a), FName.at(b));
    std::swap(FPath.at(a), FPath.at(b));
    std::swap(FOption.at(a), FOption.at(b));
    std::swap(FWorkDir.at(a), FWorkDir.at(b));
    std::swap(FSize.at(a), FSize.at(b));
}

void TLaunchItemTable::ClearItem(int index) {
    SetName(index, {});
    SetPath(index, {});
    SetOption(index, {});
    SetWorkDir(index, {});
    SetSize(index, 0);
}

void TLaunchItemTable::Assign(const TLaunchItemTable& other) {
    if (&other == this) return;
    FName = other.FName;
    FPath = other.FPath;
    FOption = other.FOption;
    FWorkDir = other.FWorkDir;
    for (int i = 0; i < Count(); ++i)
        FSize[i] = i < other.Count() ? other.FSize[i] : 0;
    // The text columns keep this table's own length, whatever the other's was.
    for (auto* column : {&FName, &FPath, &FOption, &FWorkDir}) column->resize(FSize.size());
}

int TLaunchItemTable::LastUsedIndex() const {
    for (int i = Count() - 1; i >= 0; --i)
        if (!FPath[i].empty()) return i;
    return 0;
}

int PagesInUse(const TLaunchItemTable& table) {
    const int last = table.LastUsedIndex();
    if (last < LauncherPageSize) return 1;
    if (last < 2 * LauncherPageSize) return 2;
    if (last < 3 * LauncherPageSize) return 3;
    return -1;
}

std::string SizeToCodeText(int size) {
    switch (size) {
    case 0: return "Nor";
    case 1: return "Min";
    case 2: return "Max";
    case 3: return "Mid";
    default: return {};
    }
}

int CodeTextToSize(std::string_view text) {
    if (SameText(text, "Min")) return 1;
    if (SameText(text, "Max")) return 2;
    if (SameText(text, "Mid")) return 3;
    return 0;
}
