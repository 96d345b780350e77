#include "system/Paths.h"

#include "frame/Platform.h"

std::size_t LastBackslash(std::string_view path) {
    const TPlatform& platform = Platform();
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (platform.IsLeadByte(static_cast<unsigned char>(path[i])))
            ++i;
        else if (path[i] == '\\')
            last = i;
    }
    return last;
}

std::string NearestExistingFolder(std::string_view path,
                                  const std::function<bool(const std::string&)>& isFolder,
                                  std::string_view programDrive) {
    std::string text(path);
    for (;;) {
        if (!text.empty() && LastBackslash(text) == text.size() - 1) text.pop_back();
        if (text.size() == 2) text += '\\';
        if (isFolder(text)) return text;
        const std::size_t slash = LastBackslash(text);
        // A 1-based position of 3 or less is a root or nothing left to cut.
        if (slash == std::string::npos || slash + 1 <= 3) return std::string(programDrive) + "\\";
        text.resize(slash);
    }
}
