#include "clipboard/TextSet.h"

#include <algorithm>

#include "clipboard/CHistory.h"
#include "frame/Errors.h"
#include "frame/Platform.h"
#include "settings/Profile.h"
#include "system/PathText.h"
#include "system/SysText.h"

namespace {

const char* const BasicSection = "Basic";
const int Pages = 3;
// The saved history is the program's own file, as large as the history it held.
constexpr std::size_t SavedHistoryMax = ~std::size_t{0};

std::string PageSection(int page) {
    return "Page." + std::to_string(page);
}

std::string Letter(int index) {
    return std::string(1, static_cast<char>('A' + index % HistoryPageSize));
}

// A value as the line must hold it so that reading gives it back: reading removes blanks at
// both ends and one pair of enclosing quotes, so such a value goes in double quotes.
std::string LineValue(std::string_view value) {
    const bool blankEnd = !value.empty() && (value.front() == ' ' || value.front() == '\t' ||
                                             value.back() == ' ' || value.back() == '\t');
    const bool enclosed = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                          value.back() == value.front();
    if (!blankEnd && !enclosed) return std::string(value);
    std::string quoted(1, '"');
    quoted.append(value);
    return quoted += '"';
}

// The file as a profile; false when there is no file or it cannot be read.
bool LoadProfile(TProfile& ini, const std::string& path) {
    return Platform().FileExists(path) && ini.LoadFromFile(path);
}

// The same for a file of at most limit bytes; a larger one counts as one that cannot be read.
bool LoadProfileWithin(TProfile& ini, const std::string& path, std::size_t limit) {
    std::string bytes;
    if (!Platform().FileExists(path) || !Platform().ReadFileWithin(path, limit, bytes))
        return false;
    ini.Load(bytes);
    return true;
}

} // namespace

std::string ReadTextSet(TStringList& target, const std::string& path, std::string_view defaultTitle,
                        TTextSetWindow* window, bool trimBlanks, std::size_t limit) {
    target.Clear();
    if (window) *window = TTextSetWindow();
    TProfile ini;
    if (!LoadProfileWithin(ini, path, limit)) return "";

    const std::string title = ini.ReadUncutString(BasicSection, "Title", defaultTitle);
    TStringList texts;
    for (int page = 1; page <= Pages; ++page)
        for (int letter = 0; letter < HistoryPageSize; ++letter)
            texts.Add(UnescapeText(ini.ReadUncutString(PageSection(page), Letter(letter), "")));
    if (window) {
        window->HasHistory = ini.ReadBool(BasicSection, "History", false);
        window->Top = ini.ReadInteger(BasicSection, "Top", -1);
        window->Bottom = ini.ReadInteger(BasicSection, "Bottom", -1);
        window->LoadHistory = ini.ReadBool(BasicSection, "LoadHistory", false);
    }
    if (trimBlanks) {
        std::size_t count = texts.Count();
        while (count > 0 && texts[count - 1].empty())
            --count;
        TStringList kept;
        for (std::size_t i = 0; i < count; ++i)
            kept.Add(texts[i]);
        texts.Assign(kept);
    }
    target.Assign(texts);
    return title;
}

std::string BuildTextSetText(const TStringList& list, std::string_view title,
                             const TTextSetWindow& window) {
    auto flag = [](bool value) { return value ? "1" : "0"; };
    std::string text = "[Basic]\r\n";
    text += "Title=" + LineValue(title) + "\r\n";
    text += std::string("History=") + flag(window.HasHistory) + "\r\n";
    text += "Top=" + std::to_string(window.Top) + "\r\n";
    text += "Bottom=" + std::to_string(window.Bottom) + "\r\n";
    text += std::string("LoadHistory=") + flag(window.LoadHistory) + "\r\n";
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const int index = static_cast<int>(i);
        if (index % HistoryPageSize == 0)
            text += "\r\n[" + PageSection(index / HistoryPageSize + 1) + "]\r\n";
        text += Letter(index) + "=" + LineValue(EscapeText(list[i])) + "\r\n";
    }
    return text;
}

void WriteTextSet(const TStringList& list, const std::string& path, std::string_view title,
                  const TTextSetWindow& window) {
    Platform().WriteWholeFile(path, BuildTextSetText(list, title, window));
}

void ListTextSets(const std::string& folder, TStringList& titles, TStringList& fileNames) {
    TStringList names{"（ブランク）"}, files;
    for (const std::string& file : Platform().ListFiles(folder, "*.ini")) {
        std::string bytes;
        if (!Platform().ReadFileWithin(folder + file, TextSetFileMax, bytes)) continue;
        // The title is all the list needs: only the section that holds it is indexed.
        const TProfile basic(ProfileSectionText(bytes, BasicSection));
        const std::string title = basic.ReadUncutString(BasicSection, "Title", "");
        if (title.empty()) continue;
        names.Add(title);
        files.Add(file);
    }
    titles.Assign(names);
    fileNames.Assign(files);
}

std::string PrepareClipboardMenu(THistoryStringList& history, int mode, const std::string& path,
                                 bool keepHistory, const std::string& programFolder) {
    TStringList kept;
    if (keepHistory) history.AssignFromHistory(kept);
    const std::string historyPath = AddTrailingBackslash(programFolder) + HistoryFileName;

    std::string title;
    bool loadHistory = false;
    if (mode == TextSetBlank) {
        history.SetHistoryTop(0);
        history.SetHistoryBottom(-1);
        TProfile ini;
        if (LoadProfile(ini, historyPath))
            loadHistory = ini.ReadBool(BasicSection, "LoadHistory", false);
    } else if (mode == TextSetFile) {
        TStringList fixed;
        TTextSetWindow window;
        title = ReadTextSet(fixed, path, FileNamePart(path), &window, true);
        loadHistory = window.LoadHistory;
        bool hasWindow = window.HasHistory;
        if (hasWindow) {
            try {
                history.SetHistoryTop(window.Top);
                history.SetHistoryBottom(window.Bottom);
            } catch (const ERangeError&) {
                // A hand-edited window the history list refuses: the set goes on without it.
                hasWindow = false;
            }
        }
        if (!hasWindow) {
            history.SetHistoryTop(-1);
            history.SetHistoryBottom(-1);
        }
        history.AssignToFixList(fixed);
        const int top = history.HistoryTop();
        if (hasWindow && top != -1) {
            // The texts the set puts inside its window, up to the last one that is not blank,
            // become the first history.
            const TStringList& items = history.Items();
            long long last = window.Bottom == -1 ? history.MaxRecord() - 1LL : window.Bottom;
            last = std::min<long long>(last, static_cast<long long>(items.Count()) - 1);
            while (last >= top && items[static_cast<std::size_t>(last)].empty())
                --last;
            if (last >= top) {
                TStringList first;
                for (long long i = top; i <= last; ++i)
                    first.Add(items[static_cast<std::size_t>(i)]);
                history.AssignToHistory(first);
            }
        }
    }

    if (keepHistory) {
        history.AssignToHistory(kept);
        loadHistory = false;
    }
    if (loadHistory) {
        TStringList saved;
        ReadTextSet(saved, historyPath, "", nullptr, true, SavedHistoryMax);
        if (!saved.Empty()) history.AssignToHistory(saved);
    }
    return title;
}

std::string SwitchTextSet(THistoryStringList& history, const std::string& programFolder,
                          const std::string& listDir, const std::string& fileName,
                          std::string& currentFile) {
    currentFile = fileName;
    return PrepareClipboardMenu(history, fileName.empty() ? TextSetBlank : TextSetFile,
                                AddTrailingBackslash(programFolder) + listDir + fileName, true,
                                programFolder);
}

void SaveHistory(const THistoryStringList& history, const std::string& programFolder) {
    TStringList entries;
    history.AssignFromHistory(entries);
    const std::string path = AddTrailingBackslash(programFolder) + HistoryFileName;
    // The load switch is the user's (the text-set editor's blank entry sets it): it stays as the
    // file has it; a new file loads the history at the next blank start.
    bool loadHistory = true;
    if (TProfile ini; LoadProfile(ini, path))
        loadHistory = ini.ReadBool(BasicSection, "LoadHistory", false);
    WriteTextSet(entries, path, HistoryTitle, {true, -1, -1, loadHistory});
}
