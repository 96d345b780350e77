#pragma once
// The shell's files: shell links (".lnk"), Internet shortcuts (".url") and the special folders.
// Each operation sets up and ends the component library itself, so it may be called anywhere on
// the user-interface thread; none throws: failures come back as false or an empty text.
#include <cstdint>
#include <optional>
#include <string>

// The fields of a shell link. Handed to the writer, a text field that holds no value is left as
// the new link has it, while an empty text is applied; the reader sets every field it can read.
struct TLinkData {
    std::optional<std::string> Path;
    std::optional<std::string> Arguments;
    std::optional<std::string> WorkDir;
    std::uint16_t HotKey = 0; // virtual key in the low byte, modifier flags in the high byte
    std::int32_t ShowCmd = 0; // SW_ value of the started window
    std::optional<std::string> Description;
    std::optional<std::string> IconPath;
    std::int32_t IconIndex = 0;
};

// The fields read from an Internet shortcut.
struct TUrlData {
    std::string Url;
    std::uint16_t HotKey = 0;
    std::string IconPath;
    std::int32_t IconIndex = 0;
};

// Writes a shell link; false when the link object cannot be made or the file cannot be saved.
bool WriteShellLink(const std::string& fileName, const TLinkData& link);
// Reads a shell link, its target in short form. False, with the data untouched, when the file
// cannot be loaded; otherwise true when at least one field could be read.
bool ReadShellLink(const std::string& fileName, TLinkData& link);
// The show command recorded in a shell link file's header; false when the file has no such
// header. The link object of some shells (Wine) forgets it when loading the file.
bool ReadLinkFileShowCmd(const std::string& fileName, int& showCmd);
// Reads an Internet shortcut; same result rule as ReadShellLink.
bool ReadUrlShortcut(const std::string& fileName, TUrlData& url);

// The file-system path of a special folder (CSIDL_ number); empty when it has none. The owner is
// the window the shell may use for questions.
std::string GetSpecialFolderPath(int csidl, void* owner = nullptr);
// The user's Startup folder.
std::string GetStartupFolderPath(void* owner = nullptr);
