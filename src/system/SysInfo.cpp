#include "system/SysInfo.h"

#include "frame/Platform.h"
#include "frame/StringList.h"

namespace {
int Windows95Edition(const std::string& subVersion, int build) {
    const std::string letters = LowerCaseAscii(subVersion);
    if (letters.find('a') != std::string::npos) return 1;
    if (letters.find('b') != std::string::npos) return build > 1111 ? 3 : 2;
    if (letters.find('c') != std::string::npos) return 4;
    return 0;
}

int Windows98Edition(int build, const TVersionLookups& lookups) {
    if (build >= 2184) return 7;
    long a = 0, b = 0, c = 0, d = 0;
    if (lookups.OleaccVersion && lookups.OleaccVersion(a, b, c, d) && a == 4 && b == 2 &&
        c == 2209 && d == 0)
        return 6;
    return 5;
}

const char* EditionName(int edition) {
    switch (edition) {
    case 0:
        return "Windows 95";
    case 1:
        return "Windows 95 S.R.1";
    case 2:
        return "Windows 95 OSR2.0";
    case 3:
        return "Windows 95 OSR2.1";
    case 4:
        return "Windows 95 OSR2.5";
    case 5:
        return "Windows 98";
    case 6:
        return "Windows 98 with SP1";
    case 7:
        return "Windows 98 Second Edition";
    case 8:
        return "Windows Millennium";
    case 10:
        return "Windows NT4.0";
    case 11:
        return "Windows 2000";
    case 12:
        return "Windows XP";
    case 99:
        return "Windows 3.1 + Win32s";
    default:
        return nullptr;
    }
}

std::string DottedVersion(const TWindowsVersion& version) {
    return std::to_string(version.Major) + "." + std::to_string(version.Minor) + "." +
           std::to_string(version.Build);
}

bool IsWordByte(unsigned char byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= 'a' && byte <= 'z') || (byte >= 0xA1 && byte <= 0xDF);
}
} // namespace

void ClassifyWindowsVersion(TWindowsVersion& version, int platformId, unsigned long major,
                            unsigned long minor, unsigned long buildNumber,
                            std::string_view servicePack, const TVersionLookups& lookups) {
    version = TWindowsVersion{};
    version.Major = static_cast<int>(major);
    version.Minor = static_cast<int>(minor);
    version.Build = static_cast<int>(buildNumber & 0xFFFF);
    version.ServicePack = std::string(servicePack);

    switch (platformId) {
    case PlatformWin32s:
        version.Family = 99;
        version.Edition = 99;
        break;
    case PlatformWin32Windows:
        switch (minor) {
        case 0: {
            version.Family = 0;
            const std::string subVersion =
                lookups.SubVersionNumber ? lookups.SubVersionNumber() : std::string();
            version.Edition = Windows95Edition(subVersion, version.Build);
            break;
        }
        case 10:
            version.Family = 1;
            version.Edition = Windows98Edition(version.Build, lookups);
            break;
        case 90:
            version.Family = 1;
            version.Edition = 8;
            break;
        default:
            version.Family = 3;
            version.Edition = -1;
            break;
        }
        break;
    case PlatformWin32NT:
        version.Family = 16;
        if (major == 3)
            version.Edition = 9;
        else if (major == 4)
            version.Edition = 10;
        else if (major == 5 && minor == 0)
            version.Edition = 11;
        else if (major == 5 && minor == 1)
            version.Edition = 12;
        else
            version.Edition = -1;
        break;
    default:
        break;
    }
}

std::string GetWindowsName(const TWindowsVersion& version, int mode) {
    if (mode == 0) {
        if (const char* name = EditionName(version.Edition)) return name;
        if (version.Family == 3) return "Windows 9x";
        if (version.Family == 16) return "Windows NT";
        return "";
    }
    if (mode != 1) return "";
    const bool hasServicePack = !TrimText(version.ServicePack).empty();
    switch (version.Family) {
    case 0:
        return std::to_string(version.Major) + ".00." + std::to_string(version.Build) +
               version.ServicePack;
    case 1:
        return DottedVersion(version) + (hasServicePack ? "." + version.ServicePack : "");
    case 16:
    case 99:
        return DottedVersion(version) + (hasServicePack ? " " + version.ServicePack : "");
    default:
        return "";
    }
}

bool ComputeUseThreadAttach(const TWindowsVersion& version) {
    if (version.Family == 0 || version.Family == 99) return false;
    if (version.Family == 16 && version.Major < 5) return false;
    return true;
}

std::string WidenSymbolRuns(std::string_view text,
                            const std::function<std::string(std::string_view)>& widenRun) {
    const TPlatform& platform = Platform();
    std::string result;
    result.reserve(text.size() * 2);
    std::size_t runStart = 0;
    bool runIsWord = false;
    auto flush = [&](std::size_t end) {
        if (end == runStart) return;
        const std::string_view run = text.substr(runStart, end - runStart);
        if (runIsWord)
            result += run;
        else
            result += widenRun(run);
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (platform.IsLeadByte(byte) && i + 1 < text.size()) {
            flush(i);
            result += text.substr(i, 2);
            i += 2;
            runStart = i;
            continue;
        }
        const bool isWord = IsWordByte(byte);
        if (i > runStart && isWord != runIsWord) {
            flush(i);
            runStart = i;
        }
        runIsWord = isWord;
        ++i;
    }
    flush(text.size());
    return result;
}
