#include "system/PathsWin.h"

#include <windows.h>

#include <cstring>

#include "system/Paths.h"
#include "system/PathText.h"

std::string ProgramFolder() {
    char buffer[MAX_PATH * 2] = {};
    const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    std::string path(buffer, n);
    const std::size_t slash = LastBackslash(path);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NearestExistingFolder(const std::string& path) {
    auto isFolder = [](const std::string& text) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(text.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return false;
        FindClose(find);
        return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    };
    return NearestExistingFolder(path, isFolder, ProgramFolder().substr(0, 2));
}

bool FolderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

namespace {
// GetFullPathNameA into a buffer of MAX_PATH + 1; empty when it fails or would not fit.
std::string FullPathName(const std::string& name) {
    char buffer[MAX_PATH + 1];
    const DWORD length = GetFullPathNameA(name.c_str(), sizeof buffer, buffer, nullptr);
    if (length == 0 || length >= sizeof buffer) return {};
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}
} // namespace

std::string GetShortFullPath(const std::string& name) {
    const std::string full = FullPathName(name);
    if (full.empty()) return {};
    char buffer[MAX_PATH + 1];
    const DWORD length = GetShortPathNameA(full.c_str(), buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return full;
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

std::string ExpandLongPath(const std::string& name) {
    const std::string full = FullPathName(name);
    if (full.empty()) return {};
    DWORD flags = 0;
    const std::string root = VolumeRoot(full);
    const bool caseSensitive =
        !root.empty() &&
        GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
        (flags & FILE_CASE_SENSITIVE_SEARCH) != 0;
    auto findName = [](const std::string& path, std::string& longName) {
        // A pattern would let the search answer with some other entry.
        if (path.find_first_of("*?") != std::string::npos) return false;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(path.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return false;
        FindClose(find);
        longName = data.cFileName;
        return true;
    };
    return ExpandLongPathText(full, caseSensitive, findName);
}

std::string NewNumberedFileName(const std::string& folder, const std::string& prefix,
                                const std::string& suffix, int digits) {
    auto exists = [](const std::string& path) {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    return NewNumberedFileName(folder, prefix, suffix, digits, exists);
}

std::string GetWindowsFolder() {
    char buffer[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(buffer, strnlen(buffer, MAX_PATH));
}

std::string GetProgramFilesFolder() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    char buffer[MAX_PATH * 2] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, "ProgramFilesDir", nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}
