#include "system/SysInfoWin.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "system/SysText.h"

namespace {
// A block from the process heap, freed on every way out.
class THeapBlock {
public:
    explicit THeapBlock(DWORD size) : Data(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size)) {}
    ~THeapBlock() {
        if (Data) HeapFree(GetProcessHeap(), 0, Data);
    }
    THeapBlock(const THeapBlock&) = delete;
    THeapBlock& operator=(const THeapBlock&) = delete;
    void* Data;
};

std::string ReadSubVersionNumber() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return "";
    std::string text;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, "SubVersionNumber", nullptr, &type, nullptr, &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ && size > 0) {
        std::vector<char> buffer(size + 1, '\0');
        if (RegQueryValueExA(key, "SubVersionNumber", nullptr, &type,
                             reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS)
            text = buffer.data();
    }
    RegCloseKey(key);
    return text;
}

std::string FullWidth(std::string_view run) {
    const int length = static_cast<int>(run.size());
    const int needed =
        LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_FULLWIDTH, run.data(), length, nullptr, 0);
    if (needed <= 0) return std::string(run);
    std::string wide(static_cast<std::size_t>(needed), '\0');
    const int written =
        LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_FULLWIDTH, run.data(), length, wide.data(), needed);
    if (written <= 0) return std::string(run);
    wide.resize(static_cast<std::size_t>(written));
    return wide;
}
} // namespace

bool GetFileVersionNumbers(const std::string& fileName, long& first, long& second, long& third,
                           long& fourth) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(fileName.c_str(), &handle);
    if (size == 0) return false;
    THeapBlock block(size);
    if (!block.Data) return false;
    if (!GetFileVersionInfoA(fileName.c_str(), 0, size, block.Data)) return false;

    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.Data, "\\VarFileInfo\\Translation", &value, &length) || !value ||
        length < sizeof(DWORD))
        return false;
    DWORD translation;
    std::memcpy(&translation, value, sizeof translation);

    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\FileVersion",
                  static_cast<unsigned>(LOWORD(translation)),
                  static_cast<unsigned>(HIWORD(translation)));
    value = nullptr;
    length = 0;
    if (!VerQueryValueA(block.Data, query, &value, &length) || !value || length == 0) return false;
    // The text lies inside the block; bound it by the reported length.
    const char* text = static_cast<const char*>(value);
    const std::string version(text, strnlen(text, length));
    return std::sscanf(version.c_str(), "%ld.%ld.%ld.%ld", &first, &second, &third, &fourth) == 4;
}

std::string GetVersionText(const std::string& fileName) {
    long first, second, third, fourth;
    if (!GetFileVersionNumbers(fileName, first, second, third, fourth)) return "";
    return FormatVersionText(first, second, third, fourth);
}

std::string GetUserNameText() {
    std::vector<char> buffer(65535, '\0');
    DWORD size = static_cast<DWORD>(buffer.size());
    if (!GetUserNameA(buffer.data(), &size)) return "";
    buffer.back() = '\0';
    return buffer.data();
}

std::string GetSystemErrorText(unsigned long errorCode) {
    char* message = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, errorCode, 0, reinterpret_cast<char*>(&message), 0, nullptr);
    std::string text;
    if (length > 0 && message) text.assign(message, length);
    if (message) LocalFree(message);
    // Line break and blanks at the end only; trail bytes of double-byte characters are never
    // blanks, so this cannot cut a character.
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20)
        text.pop_back();
    return WidenSymbols(text);
}

std::string WidenSymbols(std::string_view text) {
    return WidenSymbolRuns(text, FullWidth);
}

bool DetectWindowsVersion(TWindowsVersion& version) {
    version = TWindowsVersion{};
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 148;
    static_assert(sizeof(OSVERSIONINFOA) == 148);
    if (!GetVersionExA(&info)) return false;
    TVersionLookups lookups;
    lookups.SubVersionNumber = ReadSubVersionNumber;
    lookups.OleaccVersion = [](long& a, long& b, long& c, long& d) {
        return GetFileVersionNumbers("oleacc.dll", a, b, c, d);
    };
    ClassifyWindowsVersion(version, static_cast<int>(info.dwPlatformId), info.dwMajorVersion,
                           info.dwMinorVersion, info.dwBuildNumber,
                           std::string_view(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof info.szCSDVersion)), lookups);
    return true;
}

std::string GetWindowsName(int mode) {
    TWindowsVersion version;
    if (!DetectWindowsVersion(version)) return "";
    return GetWindowsName(version, mode);
}

bool UseThreadAttach() {
    static const bool attach = [] {
        TWindowsVersion version;
        DetectWindowsVersion(version);
        return ComputeUseThreadAttach(version);
    }();
    return attach;
}
