#include "dialogs/AppearanceRules.h"

#include "frame/Platform.h"
#include "frame/StringList.h"
#include "settings/Profile.h"
#include "system/PathText.h"

namespace {

int IndexOfName(const std::vector<std::string>& names, std::string_view name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], name)) return static_cast<int>(i);
    return -1;
}

// A name inside its folder: not empty, no drive, no root, no ".." step; the separators are
// found character by character, as a trail byte may be 0x5C.
bool IsNameInsideFolder(std::string_view name) {
    if (name.empty() || name.front() == '\\' || name.front() == '/') return false;
    const TPlatform& platform = Platform();
    std::size_t stepStart = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i < name.size() && platform.IsLeadByte(static_cast<unsigned char>(name[i]))) {
            ++i;
            continue;
        }
        const bool end = i == name.size();
        if (!end && name[i] == ':') return false;
        if (end || name[i] == '\\' || name[i] == '/') {
            if (name.substr(stepStart, i - stepStart) == "..") return false;
            stepStart = i + 1;
        }
    }
    return true;
}

} // namespace

std::string FontListName(std::string_view family) {
    std::string name = TrimText(family);
    if (!name.empty() && name.front() == '@') name.clear();
    return name;
}

int ChooseFontLine(int lines, std::string_view fontName,
                   const std::function<int(std::string_view)>& lineOf) {
    if (lines <= 0) return -1;
    for (std::string_view candidate :
         {fontName, std::string_view("ＭＳ Ｐゴシック"), std::string_view("ＭＳ Ｐ明朝")}) {
        const int at = candidate.empty() ? -1 : lineOf(candidate);
        if (at >= 0) return at;
    }
    return 0;
}

int ChooseSizeLine(const std::vector<std::string>& sizes, int size) {
    if (sizes.empty()) return -1;
    const int at = IndexOfName(sizes, std::to_string(size));
    if (at >= 0) return at;
    return sizes.size() > 1 ? 1 : 0;
}

TSkinList BuildSkinList(const std::string& programFolder, const std::string& skinFolder,
                        const std::string& currentSkin) {
    TSkinList list;
    list.Names.push_back(StandardSkinName);
    list.Entries.push_back({StandardSkinDefinition, StandardSkinLibrary});
    // Only a full program folder is listed: a relative one would depend on the current folder.
    if (VolumeRoot(programFolder).empty()) return list;
    for (const std::string& file : Platform().ListFiles(programFolder + skinFolder, "*.ini")) {
        TProfile ini;
        if (!ini.LoadFromFile(programFolder + skinFolder + file)) continue;
        const std::string name = ini.ReadString("Basic", "Name", "");
        if (name.empty()) continue;
        const std::string library = ini.ReadString("Basic", "DLL", "");
        const std::string definition = skinFolder + file;
        list.Names.push_back(name);
        list.Entries.push_back(
            {definition, skinFolder + (IsNameInsideFolder(library) ? library : std::string())});
        if (SameText(definition, currentSkin))
            list.Selected = static_cast<int>(list.Names.size()) - 1;
    }
    return list;
}

bool SkinHasLibrary(const TSkinEntry& entry) {
    return !entry.Library.empty() && !EndsWithBackslash(entry.Library);
}

std::string ChosenSkin(const TSkinList& list, int line) {
    if (line <= 0 || line >= static_cast<int>(list.Entries.size())) return {};
    return list.Entries[static_cast<std::size_t>(line)].Definition;
}
