#include "system/Association.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>

#include "system/PathsWin.h"

namespace {
int FindExecutableProgram(const std::string& document, std::string& program) {
    char buffer[MAX_PATH] = {};
    const INT_PTR code =
        reinterpret_cast<INT_PTR>(FindExecutableA(document.c_str(), nullptr, buffer));
    program.assign(buffer, strnlen(buffer, MAX_PATH));
    return static_cast<int>(code);
}

// The default value of a key under HKEY_CLASSES_ROOT, of any length.
bool ReadClassesRootDefault(const std::string& name, std::string& value) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    value.clear();
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0) {
        std::string buffer(size + 1, '\0');
        if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                             &size) == ERROR_SUCCESS)
            value.assign(buffer.c_str());
    }
    RegCloseKey(key);
    return true;
}
} // namespace

TDocumentCommand FindDocumentCommand(const std::string& document) {
    TAssociationLookups lookups;
    lookups.LookUpProgram = FindExecutableProgram;
    lookups.ShortFullPath = GetShortFullPath;
    lookups.ReadClassValue = ReadClassesRootDefault;
    lookups.WindowsFolder = GetWindowsFolder;
    lookups.ProgramFilesFolder = GetProgramFilesFolder;
    lookups.LongPath = ExpandLongPath;
    return DecideDocumentCommand(document, lookups);
}
