#pragma once
// Text sets and the saved history. A text set is an INI-form file in the text-set folder
// (program folder + ListDir) that names a fixed text for each menu position ([Page.1] to
// [Page.3], keys "A" to "Z", escaped) and, in [Basic], its title and which positions form the
// history window. The history survives between runs in "CHistory.ini" beside the program, a file
// of the same form. Texts are read whole, however long: the settings file's cut of long values
// does not apply to these files.
#include <cstddef>
#include <string>
#include <string_view>

#include "frame/StringList.h"

class THistoryStringList;

// The [Basic] values of a text set besides its title, with the values of a file without them.
struct TTextSetWindow {
    bool HasHistory = false;  // "History"
    int Top = -1;             // "Top": first position of the history window
    int Bottom = -1;          // "Bottom": last position, -1 to the end
    bool LoadHistory = false; // "LoadHistory": also load "CHistory.ini"

    bool operator==(const TTextSetWindow&) const = default;
};

// The largest text-set file that is read, in bytes: a set holds 78 texts, and a set file comes
// from anywhere. A larger file is treated as one that cannot be read. The saved history, which
// only the program writes, is not bound by it.
inline constexpr std::size_t TextSetFileMax = std::size_t{4} << 20;

inline constexpr const char* HistoryFileName = "CHistory.ini";
inline constexpr const char* HistoryTitle = "Clipboard History";

// Fills target with the 78 texts of the file (an empty list when the file does not exist) and
// returns its title (defaultTitle when it names none, empty when there is no file). window, when
// given, gets the [Basic] values. trimBlanks deletes blank texts from the end of the list. A file
// larger than limit bytes reads as a missing one.
std::string ReadTextSet(TStringList& target, const std::string& path, std::string_view defaultTitle,
                        TTextSetWindow* window = nullptr, bool trimBlanks = false,
                        std::size_t limit = TextSetFileMax);

// The text of a text-set file: [Basic], then for every text of the list, blanks included, its
// page's header at each multiple of 26 and its letter's line; lines end with CR LF. A text or
// title whose line would lose blanks at its ends or a pair of enclosing quotes when read is
// written in double quotes, which reading removes.
std::string BuildTextSetText(const TStringList& list, std::string_view title,
                             const TTextSetWindow& window);
// Replaces the file in one go (Platform().WriteWholeFile); throws EFileError.
void WriteTextSet(const TStringList& list, const std::string& path, std::string_view title,
                  const TTextSetWindow& window);

// The text sets of a folder (ending with "\") for the settings dialog: titles start with
// "（ブランク）" (no text set), fileNames with the first listed file, so title k belongs to file
// name k - 1. Files whose title is empty are left out, and so are files that cannot be read or
// are larger than TextSetFileMax. Only the title is taken from each file.
void ListTextSets(const std::string& folder, TStringList& titles, TStringList& fileNames);

// Modes of PrepareClipboardMenu (the "Startup" setting).
inline constexpr int TextSetBlank = 0;
inline constexpr int TextSetFile = 1;

// Applies a text set to the history list and returns its title. Mode 0 (blank): the whole menu
// is history, the fixed texts stay as they are. Mode 1: the fixed texts and the history window
// come from the file at path; texts the set defines inside its window become the first history.
// Other modes change neither. keepHistory keeps the current history (a switch at run time);
// otherwise "LoadHistory" loads programFolder + "CHistory.ini". A window the history list
// refuses (a hand-edited "Top" or "Bottom" out of range) is left out: the set is applied without
// history window. Call it after SetMaxRecord.
std::string PrepareClipboardMenu(THistoryStringList& history, int mode, const std::string& path,
                                 bool keepHistory, const std::string& programFolder);

// The switch of text sets at run time: currentFile becomes fileName, and the set at
// programFolder + listDir + fileName is applied keeping the history (the blank mode for an empty
// name). Returns the title.
std::string SwitchTextSet(THistoryStringList& history, const std::string& programFolder,
                          const std::string& listDir, const std::string& fileName,
                          std::string& currentFile);

// Writes the history, blanks included, to programFolder + "CHistory.ini" as a set titled
// "Clipboard History" with "History" 1, "Top" and "Bottom" -1, and the "LoadHistory" the file
// had (1 for a file that does not exist yet); throws EFileError.
void SaveHistory(const THistoryStringList& history, const std::string& programFolder);
