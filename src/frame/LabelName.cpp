#include "frame/LabelName.h"

namespace {

// The first byte of a two-byte character of code page 932.
bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

const char FullWidthColon[] = "\x81\x46"; // "："

bool EndsWith(const std::string& text, std::size_t end, const char* tail, std::size_t length) {
    return end >= length && text.compare(end - length, length, tail) == 0;
}

// The length of the text without a closing colon (one byte or the full-width two), counted on
// character boundaries so that the second byte of a two-byte character is never taken for one.
std::size_t WithoutColon(const std::string& text) {
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < text.size();
         i += IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1)
        last = i;
    if (last == std::string::npos) return 0;
    if (text.size() - last == 1 && text[last] == ':') return last;
    if (text.size() - last == 2 && EndsWith(text, text.size(), FullWidthColon, 2)) return last;
    return text.size();
}

// The text without the spaces, ASCII or full-width ("\x81\x40"), at either end; walked by
// characters, as a second byte may equal the first of a full-width space.
std::string TrimmedSpaces(const std::string& text) {
    std::size_t begin = std::string::npos, end = 0;
    for (std::size_t i = 0; i < text.size();) {
        const bool wide = IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        const bool space = wide ? text.compare(i, 2, "\x81\x40") == 0 : text[i] == ' ';
        i += wide ? 2 : 1;
        if (space) continue;
        if (begin == std::string::npos) begin = i - (wide ? 2 : 1);
        end = i;
    }
    return begin == std::string::npos ? std::string() : text.substr(begin, end - begin);
}

} // namespace

std::string NameOfLabel(const std::string& label) {
    std::string text = TrimmedSpaces(label);
    text = TrimmedSpaces(text.substr(0, WithoutColon(text)));
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(c) && i + 1 < text.size()) {
            name += text[i];
            name += text[++i];
        } else if (c == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') name += text[++i];
        } else {
            name += text[i];
        }
    }
    return name;
}

bool IsControlLabel(const std::string& text) {
    const std::string trimmed = TrimmedSpaces(text);
    if (WithoutColon(trimmed) != trimmed.size()) return true;
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        const auto c = static_cast<unsigned char>(trimmed[i]);
        if (IsLeadByte(c)) {
            ++i;
        } else if (c == '&') {
            if (i + 1 < trimmed.size() && trimmed[i + 1] != '&') return true;
            ++i;
        }
    }
    return false;
}

std::string NameOfRow(const std::vector<std::string>& headers,
                      const std::vector<std::string>& cells) {
    std::string name;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].empty()) continue;
        if (!name.empty()) name += ", ";
        const std::string header = i < headers.size() ? NameOfLabel(headers[i]) : std::string();
        if (!header.empty()) name += header + " ";
        name += cells[i];
    }
    return name;
}
