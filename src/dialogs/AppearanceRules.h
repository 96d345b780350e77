#pragma once
// Rules of the settings dialog's appearance pages that need no window: the names the font list
// takes, the font and size it shows on opening, and the skin list made from the skin definitions
// in the skin folder, with its selection and take-over on OK.
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The sizes the font page offers.
inline constexpr std::array<const char*, 6> FontSizeItems{"9", "10", "11", "12", "14", "16"};

// A font family's line in the font list: its name trimmed; empty when the list leaves it out
// (the vertical-writing variants, whose names begin with "@").
std::string FontListName(std::string_view family);

// The line of the font list for the menu font's name: the name itself, else "ＭＳ Ｐゴシック",
// else "ＭＳ Ｐ明朝", else the first line; -1 for an empty list of `lines` lines. `lineOf` gives
// a name's line in the list, or -1; it is never asked for an empty name.
int ChooseFontLine(int lines, std::string_view fontName,
                   const std::function<int(std::string_view)>& lineOf);
// The line of the size list for a size: its decimal text, else the second line (the first when
// the list has only one); -1 for an empty list.
int ChooseSizeLine(const std::vector<std::string>& sizes, int size);

// One line of the skin list: the definition file and its library, both relative to the program
// folder. A skin without a library has the skin folder alone as its library.
struct TSkinEntry {
    std::string Definition;
    std::string Library;
    // The entry as definition + "=" + library.
    std::string Text() const { return Definition + "=" + Library; }
    bool operator==(const TSkinEntry&) const = default;
};

struct TSkinList {
    std::vector<std::string> Names;  // the lines shown
    std::vector<TSkinEntry> Entries; // one per line
    int Selected = 0;                // the line to select
};

// The standard background's line and entry (its optional library is "skin.dll" in the program
// folder).
inline constexpr char StandardSkinName[] = "ミルト　-標準背景";
inline constexpr char StandardSkinDefinition[] = "(NULL)";
inline constexpr char StandardSkinLibrary[] = "skin.dll";

// The standard background, then every "*.ini" of programFolder + skinFolder (a full path and a
// folder below it, both with their trailing "\") with a [Basic] "Name", in the sequence the
// platform lists them; files read through the platform. The line whose definition is currentSkin
// (letter case ignored) is selected, line 0 when none is. A "DLL" that is not a plain name inside
// the skin folder (a drive, a root or a ".." in it) counts as no library: a skin file may not have
// the program load a library from elsewhere.
TSkinList BuildSkinList(const std::string& programFolder, const std::string& skinFolder,
                        const std::string& currentSkin);

// The skin has a settings window to offer: its entry names a library.
bool SkinHasLibrary(const TSkinEntry& entry);
// The "Skin" setting for a selected line: empty for the standard background (line 0) or no line.
std::string ChosenSkin(const TSkinList& list, int line);
