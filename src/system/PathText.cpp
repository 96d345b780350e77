#include "system/PathText.h"

#include "frame/Platform.h"
#include "frame/StringList.h"
#include "system/Paths.h"

namespace {
bool IsLead(char c) {
    return Platform().IsLeadByte(static_cast<unsigned char>(c));
}

// Offset of the last character of the text (the lead byte of a double-byte one), or npos.
std::size_t LastCharacter(std::string_view text) {
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        last = i;
        if (IsLead(text[i])) ++i;
    }
    return last;
}

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

std::string UpperCaseAscii(std::string_view text) {
    std::string result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (IsLead(result[i]))
            ++i;
        else
            result[i] = UpperAscii(result[i]);
    }
    return result;
}
} // namespace

std::size_t FileNameStart(std::string_view path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (IsLead(path[i]))
            ++i;
        else if (path[i] == '\\' || path[i] == ':')
            start = i + 1;
    }
    return start;
}

std::string FileNamePart(std::string_view path) {
    return std::string(path.substr(FileNameStart(path)));
}

namespace {
// Offset of the name's last "." (double-byte aware), or npos.
std::size_t LastDot(std::string_view name) {
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (IsLead(name[i]))
            ++i;
        else if (name[i] == '.')
            dot = i;
    }
    return dot;
}
} // namespace

std::string FileExtension(std::string_view path) {
    const std::string_view name = path.substr(FileNameStart(path));
    const std::size_t dot = LastDot(name);
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string FileTitle(std::string_view path) {
    const std::string_view name = path.substr(FileNameStart(path));
    const std::size_t dot = LastDot(name);
    return dot == std::string_view::npos ? std::string(name) : std::string(name.substr(0, dot));
}

bool EndsWithBackslash(std::string_view path) {
    const std::size_t last = LastCharacter(path);
    return last != std::string_view::npos && last == path.size() - 1 && path[last] == '\\';
}

std::string AddTrailingBackslash(std::string_view path) {
    std::string result(path);
    if (!EndsWithBackslash(path)) result += '\\';
    return result;
}

std::string RemoveTrailingBackslash(std::string_view path) {
    std::string result(path);
    if (EndsWithBackslash(path)) result.pop_back();
    return result;
}

std::string CapitalizeUpperName(std::string_view name) {
    if (name.empty() || IsLead(name[0]) || UpperCaseAscii(name) != name) return std::string(name);
    std::string result = LowerCaseAscii(name);
    result[0] = UpperAscii(result[0]);
    return result;
}

std::string QuotePath(std::string_view path) {
    const bool quoted = path.size() >= 2 && path.front() == '"' && path.back() == '"';
    // A blank or tab is never a trail byte, so a plain byte search finds only real ones.
    if (quoted || path.find_first_of(" \t") == std::string_view::npos) return std::string(path);
    std::string result;
    result.reserve(path.size() + 2);
    result.append(1, '"').append(path).append(1, '"');
    return result;
}

std::string NumberedFileName(std::string_view folder, std::string_view prefix,
                             std::string_view suffix, int digits, int number) {
    std::string count = std::to_string(number);
    if (static_cast<int>(count.size()) < digits) count.insert(0, digits - count.size(), '0');
    return AddTrailingBackslash(folder) + std::string(prefix) + count + std::string(suffix);
}

std::string NewNumberedFileName(std::string_view folder, std::string_view prefix,
                                std::string_view suffix, int digits,
                                const std::function<bool(const std::string&)>& exists, int limit) {
    for (int n = 1; n < limit; ++n) {
        std::string candidate = NumberedFileName(folder, prefix, suffix, digits, n);
        if (!exists(candidate)) return candidate;
    }
    return {};
}

std::string VolumeRoot(std::string_view fullPath) {
    if (fullPath.size() >= 2 && fullPath[1] == ':' && !IsLead(fullPath[0]))
        return std::string(fullPath.substr(0, 2)) + "\\";
    if (fullPath.substr(0, 2) != "\\\\") return {};
    // \\server\share: the root ends after the share name.
    std::size_t separators = 0;
    for (std::size_t i = 2; i < fullPath.size(); ++i) {
        if (IsLead(fullPath[i])) {
            ++i;
        } else if (fullPath[i] == '\\' && ++separators == 2) {
            return std::string(fullPath.substr(0, i + 1));
        }
    }
    return separators == 1 ? std::string(fullPath) + "\\" : std::string();
}

std::string
ExpandLongPathText(std::string_view fullPath, bool caseSensitive,
                   const std::function<bool(const std::string&, std::string&)>& findName) {
    std::string text = RemoveTrailingBackslash(fullPath);
    std::string tail;
    std::string name;
    while (text.size() > 2 && findName(text, name)) {
        std::string component(1, '\\');
        component.append(caseSensitive ? name : CapitalizeUpperName(name));
        tail.insert(0, component);
        const std::size_t slash = LastBackslash(text);
        text.resize(slash == std::string::npos ? 0 : slash);
    }
    return text + tail;
}
