#pragma once
// Path services that ask the file system.
#include <string>

// The program's own folder, ending with "\".
std::string ProgramFolder();
// The nearest existing folder of a path (FindFirstFileA), or the program's drive root.
std::string NearestExistingFolder(const std::string& path);

// True when the path names an existing folder.
bool FolderExists(const std::string& path);
// The full path of a name in its short (8.3) form where the volume gives one, else the full path;
// empty when no full path can be formed.
std::string GetShortFullPath(const std::string& name);
// The full path of a name with every component in its long form as the folder lists it (short
// names on volumes that ignore letter case pass through CapitalizeUpperName); empty when no full
// path can be formed.
std::string ExpandLongPath(const std::string& name);
// The first free name folder\prefix + number + suffix (see NewNumberedFileName in PathText).
std::string NewNumberedFileName(const std::string& folder, const std::string& prefix,
                                const std::string& suffix, int digits);

// The Windows folder; empty on failure.
std::string GetWindowsFolder();
// The registry's Program Files folder; empty when it is not recorded.
std::string GetProgramFilesFolder();
