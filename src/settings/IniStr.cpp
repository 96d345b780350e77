#include "settings/IniStr.h"

#include "frame/Errors.h"
#include "frame/Platform.h"
#include "system/SysText.h"

namespace {
std::string HeaderLine(std::string_view section) {
    std::string header = "[";
    header += section;
    header += ']';
    return header;
}

std::string KeyPrefix(std::string_view key) {
    std::string prefix(key);
    prefix += '=';
    return prefix;
}
} // namespace

bool TryStrToInt(std::string_view text, std::int32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    std::uint64_t magnitude = 0;
    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size()) return false;
    for (; i < text.size(); ++i) {
        const int digit =
            hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0) return false;
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<unsigned>(digit);
        if (magnitude > 0xFFFFFFFFull) return false;
    }
    if (hex) {
        // Hexadecimal texts name the 32 bits directly: $FFFFFFFF is -1.
        std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
        if (negative) bits = 0u - bits;
        value = static_cast<std::int32_t>(bits);
        return true;
    }
    if (magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
    value = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                     : static_cast<std::int32_t>(magnitude);
    return true;
}

TIniStringList::TIniStringList() {
    FItems.OnChange = [this](TStringList& sender) { ItemsChange(sender); };
}

TIniStringList::~TIniStringList() {
    FItems.OnChange = nullptr;
}

void TIniStringList::SetItems(const TStringList& source) {
    // Copy first: the source may be this document itself.
    const std::vector<std::string> lines = source.Items();
    FItems.Clear();
    for (const auto& line : lines)
        FItems.Add(line);
}

void TIniStringList::ItemsChange(TStringList&) {
    if (OnChange) OnChange(*this);
}

int TIniStringList::FindHeader(std::string_view section) const {
    return FItems.IndexOfIgnoringCase(HeaderLine(section));
}

std::string TIniStringList::GetString(std::string_view section, std::string_view key,
                                      std::string_view defaultValue) const {
    const int header = FindHeader(section);
    if (header < 0) return std::string(defaultValue);
    const std::string prefix = KeyPrefix(key);
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < FItems.Count(); ++i) {
        const std::string& line = FItems[i];
        if (line.empty()) continue;
        if (line[0] == '[') break;
        // A key with nothing after "=" reads as absent.
        if (line.size() <= prefix.size()) continue;
        if (line.compare(0, prefix.size(), prefix) == 0) return line.substr(prefix.size());
    }
    return std::string(defaultValue);
}

std::int32_t TIniStringList::GetInteger(std::string_view section, std::string_view key,
                                        std::int32_t defaultValue) const {
    const std::string text = GetString(section, key, "");
    std::int32_t value;
    if (text.empty() || !TryStrToInt(text, value)) return defaultValue;
    return value;
}

bool TIniStringList::GetBool(std::string_view section, std::string_view key,
                             bool defaultValue) const {
    const std::string text = GetString(section, key, "");
    if (text == "0") return false;
    if (text == "1") return true;
    return defaultValue;
}

void TIniStringList::SetString(std::string_view section, std::string_view key,
                               std::string_view value) {
    std::string line = KeyPrefix(key);
    const std::size_t prefixLength = line.size();
    line += value;

    const int header = FindHeader(section);
    if (header < 0) {
        FItems.Add(HeaderLine(section));
        FItems.Add(std::move(line));
        return;
    }
    std::size_t stop = static_cast<std::size_t>(header) + 1;
    for (; stop < FItems.Count(); ++stop) {
        const std::string& current = FItems[stop];
        if (current.empty()) continue;
        if (current[0] == '[') break;
        if (current.size() >= prefixLength &&
            current.compare(0, prefixLength, line, 0, prefixLength) == 0) {
            FItems.Put(stop, std::move(line));
            return;
        }
    }
    // Before the block's last line, so that a section closed by a blank line keeps it last; an
    // empty block takes the line right after its header.
    const std::size_t headerIndex = static_cast<std::size_t>(header);
    FItems.Insert(stop - 1 > headerIndex ? stop - 1 : headerIndex + 1, std::move(line));
}

void TIniStringList::SetInteger(std::string_view section, std::string_view key,
                                std::int32_t value) {
    SetString(section, key, std::to_string(value));
}

void TIniStringList::SetBool(std::string_view section, std::string_view key, bool value) {
    SetString(section, key, value ? "1" : "0");
}

bool TIniStringList::IsExistsSection(std::string_view section) const {
    return FindHeader(section) >= 0;
}

void TIniStringList::LoadFromFile(const std::string& path) {
    std::string bytes;
    if (!Platform().ReadWholeFile(path, bytes))
        throw EFileError("ファイル \"" + path + "\" を開けません。");
    FItems.SetText(bytes);
}

void TIniStringList::SaveToFile(const std::string& path) const {
    Platform().WriteWholeFile(path, FItems.GetText());
}
