#pragma once
// An ordered list of byte strings (ANSI code page) that tells an optional listener about every
// change. Lines never hold line-break characters unless a caller puts them there.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TStringList {
public:
    using TNotify = std::function<void(TStringList& sender)>;

    TStringList() = default;
    TStringList(std::initializer_list<std::string> lines) : Lines(lines) {}
    TStringList(const TStringList& other) : Lines(other.Lines) {}
    TStringList& operator=(const TStringList& other);

    std::size_t Count() const { return Lines.size(); }
    bool Empty() const { return Lines.empty(); }
    const std::string& operator[](std::size_t index) const { return Lines.at(index); }
    const std::vector<std::string>& Items() const { return Lines; }
    auto begin() const { return Lines.begin(); }
    auto end() const { return Lines.end(); }

    void Add(std::string line);
    void Insert(std::size_t index, std::string line);
    void Put(std::size_t index, std::string line);
    void Delete(std::size_t index);
    void Clear();
    // Replaces the lines by copies of the source's lines; one notification.
    void Assign(const TStringList& source);

    // Splits text into lines at CR, LF or CR LF; a last line without a break still counts and an
    // empty text gives no line. Replaces the list with one notification.
    void SetText(std::string_view text);
    // Every line followed by CR LF.
    std::string GetText() const;

    // Index of the first line equal to text without regard to ASCII letter case, or -1.
    int IndexOfIgnoringCase(std::string_view text) const;

    TNotify OnChange;

private:
    void Changed();
    std::vector<std::string> Lines;
};

// Comparison without regard to ASCII letter case; double-byte characters compare byte for byte.
bool SameText(std::string_view a, std::string_view b);
std::string LowerCaseAscii(std::string_view text);
// Removes ASCII control characters and blanks (<= 0x20) at both ends.
std::string TrimText(std::string_view text);
