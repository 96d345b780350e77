#include "settings/Profile.h"

#include <cstdint>

#include "frame/Platform.h"
#include "frame/StringList.h"
#include "system/SysText.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// A header is "[" name "]" after optional blanks; the name ends at the first "]" that is not
// the trail byte of a double-byte character. Anything after the "]" is ignored.
bool ParseHeader(std::string_view line, std::string_view& name) {
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (i >= line.size() || line[i] != '[') return false;
    const TPlatform& platform = Platform();
    const std::size_t start = ++i;
    while (i < line.size()) {
        if (line[i] == ']') {
            name = TrimBlanks(line.substr(start, i - start));
            return true;
        }
        i += platform.IsLeadByte(static_cast<unsigned char>(line[i])) ? 2 : 1;
    }
    return false;
}

// A key line holds "=" ("=" is never the trail byte of a double-byte character); the name is the
// text before it without the surrounding blanks.
bool ParseKey(std::string_view line, std::string_view& name, std::string_view& value) {
    const std::size_t equal = line.find('=');
    if (equal == std::string_view::npos) return false;
    name = TrimBlanks(line.substr(0, equal));
    value = line.substr(equal + 1);
    return !name.empty();
}

bool IsBlankLine(std::string_view line) {
    return TrimBlanks(line).empty();
}

} // namespace

std::string ProfileValue(std::string_view rawValue, std::size_t limit) {
    std::string_view value = TrimBlanks(rawValue);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.size() <= limit) return std::string(value);
    const TPlatform& platform = Platform();
    std::size_t end = 0;
    while (end < limit) {
        const std::size_t step =
            platform.IsLeadByte(static_cast<unsigned char>(value[end])) ? 2 : 1;
        if (end + step > limit) break;
        end += step;
    }
    return std::string(value.substr(0, end));
}

std::string_view ProfileSectionText(std::string_view bytes, std::string_view section) {
    std::size_t begin = std::string_view::npos;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view name;
        if (ParseHeader(bytes.substr(start, end - start), name)) {
            if (begin != std::string_view::npos) return bytes.substr(begin, start - begin);
            if (SameText(name, section)) begin = start;
        }
        start = end + 1;
    }
    return begin == std::string_view::npos ? std::string_view() : bytes.substr(begin);
}

bool ParseProfileInteger(std::string_view text, int& value) {
    std::size_t i = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        i = 2;
    else if (!text.empty() && text[0] == '$')
        i = 1;
    if (i > 0) {
        if (i >= text.size()) return false;
        std::uint64_t number = 0;
        for (; i < text.size(); ++i) {
            const int digit = HexDigit(text[i]);
            if (digit < 0) return false;
            number = number * 16 + static_cast<unsigned>(digit);
            if (number > 0xFFFFFFFFu) return false;
        }
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
        return true;
    }
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    if (i >= text.size()) return false;
    std::int64_t number = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        number = number * 10 + (text[i] - '0');
        if (number > 2147483648LL) return false;
    }
    if (negative) number = -number;
    if (number > 2147483647LL) return false;
    value = static_cast<int>(number);
    return true;
}

void TProfile::Load(std::string_view bytes) {
    Lines.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        Lines.emplace_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) Lines.emplace_back(bytes.substr(start));
    BuildIndex();
}

bool TProfile::LoadFromFile(const std::string& path) {
    std::string bytes;
    const bool read = Platform().ReadWholeFile(path, bytes);
    if (!read) bytes.clear();
    Load(bytes);
    return read;
}

void TProfile::BuildIndex() {
    Sections.clear();
    TSection* open = nullptr; // the section whose keys the current lines are, if it came first
    TSection* last = nullptr; // the section that the next header closes
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        std::string_view name, value;
        if (ParseHeader(Lines[i], name)) {
            if (last) last->End = i;
            last = nullptr;
            auto [entry, added] = Sections.try_emplace(LowerCaseAscii(name));
            open = added ? &entry->second : nullptr;
            if (open) {
                open->Header = i;
                last = open;
            }
            continue;
        }
        if (open && ParseKey(Lines[i], name, value))
            open->Keys.try_emplace(LowerCaseAscii(name), i);
    }
    if (last) last->End = Lines.size();
}

const TProfile::TSection* TProfile::FindSection(std::string_view section) const {
    const auto entry = Sections.find(LowerCaseAscii(TrimBlanks(section)));
    return entry == Sections.end() ? nullptr : &entry->second;
}

const std::size_t* TProfile::FindKey(std::string_view section, std::string_view key) const {
    const TSection* found = FindSection(section);
    if (!found) return nullptr;
    const auto entry = found->Keys.find(LowerCaseAscii(TrimBlanks(key)));
    return entry == found->Keys.end() ? nullptr : &entry->second;
}

std::string TProfile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    const std::size_t* line = FindKey(section, key);
    if (!line) return std::string(defaultValue);
    std::string_view name, value;
    ParseKey(Lines[*line], name, value);
    return ProfileValue(value);
}

std::string TProfile::ReadUncutString(std::string_view section, std::string_view key,
                                      std::string_view defaultValue) const {
    const std::size_t* line = FindKey(section, key);
    if (!line) return std::string(defaultValue);
    std::string_view name, value;
    ParseKey(Lines[*line], name, value);
    return ProfileValue(value, std::string_view::npos);
}

int TProfile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    int value;
    return ParseProfileInteger(ReadString(section, key, ""), value) ? value : defaultValue;
}

bool TProfile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TProfile::SectionExists(std::string_view section) const {
    return FindSection(section) != nullptr;
}

bool TProfile::ValueExists(std::string_view section, std::string_view key) const {
    return FindKey(section, key) != nullptr;
}

void TProfile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string line(key);
    line.append("=").append(value);
    const TSection* found = FindSection(section);
    if (!found) {
        std::string header = "[";
        header.append(section).append("]");
        Lines.push_back(std::move(header));
        Lines.push_back(std::move(line));
    } else if (const std::size_t* existing = FindKey(section, key)) {
        Lines[*existing] = std::move(line);
    } else {
        // After the last line of the section that is not blank, so that the blank line that
        // parts it from the next section stays where it is.
        std::size_t at = found->End;
        while (at > found->Header + 1 && IsBlankLine(Lines[at - 1]))
            --at;
        Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    }
    BuildIndex();
}

void TProfile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

std::string TProfile::GetText() const {
    std::string text;
    for (const auto& line : Lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TProfile::Flush(const std::string& path) const {
    Platform().WriteWholeFile(path, GetText());
}
