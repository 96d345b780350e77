#pragma once
// The table of registered applications: 3 pages of 26 key slots, entry = key + page * 26.
#include <string>
#include <string_view>
#include <vector>

inline constexpr int LauncherPageSize = 26;
inline constexpr int LauncherPageCount = 3;
inline constexpr int LauncherItemCount = LauncherPageSize * LauncherPageCount;

class TLaunchItemTable {
public:
    explicit TLaunchItemTable(int count = LauncherItemCount);

    int Count() const { return static_cast<int>(FSize.size()); }

    std::string GetName(int index) const { return FName.at(index); }
    std::string GetPath(int index) const { return FPath.at(index); }
    std::string GetOption(int index) const { return FOption.at(index); }
    std::string GetWorkDir(int index) const { return FWorkDir.at(index); }
    int GetSize(int index) const { return FSize.at(index); }

    void SetName(int index, std::string value) { FName.at(index) = std::move(value); }
    void SetPath(int index, std::string value) { FPath.at(index) = std::move(value); }
    void SetOption(int index, std::string value) { FOption.at(index) = std::move(value); }
    void SetWorkDir(int index, std::string value) { FWorkDir.at(index) = std::move(value); }
    void SetSize(int index, int value) { FSize.at(index) = value; }

    void CopyItem(int from, int to);
    void ExchangeItems(int a, int b);
    void ClearItem(int index);
    void Assign(const TLaunchItemTable& other);

    // The highest index whose path is not empty; 0 when no entry is in use.
    int LastUsedIndex() const;

private:
    std::vector<std::string> FName, FPath, FOption, FWorkDir;
    std::vector<int> FSize;
};

// The number of pages the launch menu offers: the page of the last used entry (at least 1).
int PagesInUse(const TLaunchItemTable& table);

// The grid's code text of a window state ("Nor", "Min", "Max", "Mid"; empty for other values)
// and back (letter case ignored; any other text gives 0).
std::string SizeToCodeText(int size);
int CodeTextToSize(std::string_view text);
