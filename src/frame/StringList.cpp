#include "frame/StringList.h"

#include "frame/Errors.h"
#include "frame/Platform.h"

TStringList& TStringList::operator=(const TStringList& other) {
    Assign(other);
    return *this;
}

void TStringList::Add(std::string line) {
    Lines.push_back(std::move(line));
    Changed();
}

void TStringList::Insert(std::size_t index, std::string line) {
    if (index > Lines.size()) throw ERangeError("List index out of bounds");
    Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
    Changed();
}

void TStringList::Put(std::size_t index, std::string line) {
    if (index >= Lines.size()) throw ERangeError("List index out of bounds");
    Lines[index] = std::move(line);
    Changed();
}

void TStringList::Delete(std::size_t index) {
    if (index >= Lines.size()) throw ERangeError("List index out of bounds");
    Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(index));
    Changed();
}

void TStringList::Clear() {
    if (Lines.empty()) return;
    Lines.clear();
    Changed();
}

void TStringList::Assign(const TStringList& source) {
    if (&source == this) return;
    Lines = source.Lines;
    Changed();
}

void TStringList::SetText(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    Lines = std::move(lines);
    Changed();
}

std::string TStringList::GetText() const {
    std::string text;
    for (const auto& line : Lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

int TStringList::IndexOfIgnoringCase(std::string_view text) const {
    for (std::size_t i = 0; i < Lines.size(); ++i)
        if (SameText(Lines[i], text)) return static_cast<int>(i);
    return -1;
}

void TStringList::Changed() {
    if (OnChange) OnChange(*this);
}

static char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

std::string LowerCaseAscii(std::string_view text) {
    // Trail bytes of double-byte characters may fall in 'A'..'Z' and are left alone.
    std::string result(text);
    const TPlatform& platform = Platform();
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (platform.IsLeadByte(static_cast<unsigned char>(result[i]))) {
            ++i;
            continue;
        }
        result[i] = LowerAscii(result[i]);
    }
    return result;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && LowerCaseAscii(a) == LowerCaseAscii(b);
}

std::string TrimText(std::string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 0x20) ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 0x20) --last;
    return std::string(text.substr(first, last - first));
}
