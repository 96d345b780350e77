#pragma once
// An INI document held as its lines in memory. Skin definitions are read through it and the
// user's skin choices written back; every look-up walks the lines, so the document keeps its
// comments, blank lines and key order exactly as they were.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "frame/StringList.h"

class TIniStringList {
public:
    using TNotify = std::function<void(TIniStringList& sender)>;

    TIniStringList();
    ~TIniStringList();
    TIniStringList(const TIniStringList&) = delete;
    TIniStringList& operator=(const TIniStringList&) = delete;

    // The document, one line per entry, without line breaks.
    TStringList& Items() { return FItems; }
    const TStringList& Items() const { return FItems; }
    // Replaces the document by a copy of the source's lines; the source is not retained.
    void SetItems(const TStringList& source);

    // Called by the line list after each of its changes; passes the change on to OnChange.
    void ItemsChange(TStringList& sender);

    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;
    std::int32_t GetInteger(std::string_view section, std::string_view key,
                            std::int32_t defaultValue) const;
    bool GetBool(std::string_view section, std::string_view key, bool defaultValue) const;

    void SetString(std::string_view section, std::string_view key, std::string_view value);
    void SetInteger(std::string_view section, std::string_view key, std::int32_t value);
    void SetBool(std::string_view section, std::string_view key, bool value);

    bool IsExistsSection(std::string_view section) const;

    // Replaces the document by the lines of the text file (one notification). Throws
    // EFileError when the file cannot be read.
    void LoadFromFile(const std::string& path);
    // Writes every line followed by CR LF, replacing the file whole. Throws EFileError.
    void SaveToFile(const std::string& path) const;

    TNotify OnChange;

private:
    int FindHeader(std::string_view section) const;

    TStringList FItems;
};

// The standard text-to-integer conversion of settings values: optional blanks, an optional sign,
// then decimal digits, or hexadecimal after "$" or "0x"; the whole text must convert and fit in
// 32 bits (hexadecimal up to FFFFFFFF, read as its 32-bit two's complement).
bool TryStrToInt(std::string_view text, std::int32_t& value);
