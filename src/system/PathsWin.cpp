#include "system/PathsWin.h"

#include <windows.h>

#include "system/Paths.h"

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
