#pragma once
// The operating system's name and version as the program shows and uses them, and the run
// splitting that makes system error texts fit Japanese message boxes. The platform queries
// themselves live in SysInfoWin; what is here is the decision logic, given the platform's answers.
#include <functional>
#include <string>
#include <string_view>

// Operating-system record. Numbers are -1 while not determined.
struct TWindowsVersion {
    // 0 Windows 95, 1 Windows 98 / Millennium, 3 other Windows 9x, 16 Windows NT line, 99 Win32s.
    int Family = -1;
    // 0-4 Windows 95 releases, 5-7 Windows 98 releases, 8 Millennium, 9 NT 3.x, 10 NT 4.0,
    // 11 Windows 2000, 12 Windows XP, 99 Windows 3.1 + Win32s.
    int Edition = -1;
    int Major = -1;
    int Minor = -1;
    // Low 16 bits of the build number.
    int Build = -1;
    // The system's service-pack text.
    std::string ServicePack;
};

// Platform identifiers as the version query reports them.
enum : int { PlatformWin32s = 0, PlatformWin32Windows = 1, PlatformWin32NT = 2 };

// What the classification may need to look up beyond the version query. Each is asked only
// when the answer matters: the registry's "SubVersionNumber" text for Windows 95, and the
// four version numbers of oleacc.dll (false when unreadable) for Windows 98 before Second Edition.
struct TVersionLookups {
    std::function<std::string()> SubVersionNumber;
    std::function<bool(long& first, long& second, long& third, long& fourth)> OleaccVersion;
};

// Fills the record from the version query's answers.
void ClassifyWindowsVersion(TWindowsVersion& version, int platformId, unsigned long major,
                            unsigned long minor, unsigned long buildNumber,
                            std::string_view servicePack, const TVersionLookups& lookups);

// Mode 0: the system's name ("Windows XP"); mode 1: its version text ("5.1.2600 Service Pack 1").
// Empty when the record says too little.
std::string GetWindowsName(const TWindowsVersion& version, int mode);

// Whether raising a window must first attach to the foreground thread's input: not on
// Windows 95, Win32s or NT before 5.
bool ComputeUseThreadAttach(const TWindowsVersion& version);

// Keeps double-byte characters and single-byte word runs (ASCII letters, digits, single-byte
// katakana) as they are and passes every run of other single-byte characters (blanks,
// punctuation, symbols) through the converter.
std::string WidenSymbolRuns(std::string_view text,
                            const std::function<std::string(std::string_view)>& widenRun);
