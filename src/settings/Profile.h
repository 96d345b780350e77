#pragma once
// A reader and writer of INI-form text with the reading rules of the platform's profile files:
// section and key names match without regard to letter case, the first section of a name and
// the first key of a name in it win, blanks and tabs around key and value are ignored, a value
// enclosed in a pair of double or single quotes loses them, and a value is at most
// ProfileValueMax characters. The text is split and indexed once when it is loaded, so reading a
// key never scans the text again, whatever the size or content of the file.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

inline constexpr std::size_t ProfileValueMax = 2047;

class TProfile {
public:
    TProfile() = default;
    explicit TProfile(std::string_view bytes) { Load(bytes); }

    // Replaces the text; lines end at CR, LF or CR LF.
    void Load(std::string_view bytes);
    // Loads the file through the platform; false, with an empty text, when it cannot be read.
    bool LoadFromFile(const std::string& path);

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // The same reading without the cut to ProfileValueMax characters: files that the program
    // alone writes (text sets, the saved history) hold texts of any length.
    std::string ReadUncutString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const;
    // Decimal with an optional sign, or hexadecimal after "0x", "0X" or "$" (up to 32 bits, taken
    // as the signed number of the same bits). Missing, unparsable or out of the 32-bit range:
    // the default.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // An integer that is true when not 0; the default counts as 1 or 0.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    // Sets the value of the first key of that name in the first section of that name, adds the
    // key at the end of the section when it is missing, and the section at the end of the text
    // when that is missing.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);

    // Every line followed by CR LF.
    std::string GetText() const;
    // Replaces the file with the text in one go (Platform().WriteWholeFile); throws EFileError.
    void Flush(const std::string& path) const;

private:
    struct TSection {
        std::size_t Header = 0; // line of the header
        std::size_t End = 0;    // line of the next header, or the line count
        std::unordered_map<std::string, std::size_t> Keys; // lower-case name -> line
    };

    const TSection* FindSection(std::string_view section) const;
    const std::size_t* FindKey(std::string_view section, std::string_view key) const;
    void BuildIndex();

    std::vector<std::string> Lines;
    std::unordered_map<std::string, TSection> Sections; // lower-case name -> first section
};

// The value part of a key line: blanks around it removed, one enclosing pair of quotes removed,
// cut to limit characters (never inside a double-byte character).
std::string ProfileValue(std::string_view rawValue, std::size_t limit = ProfileValueMax);
// The lines of the first section of that name (letter case ignored), its header included, up to
// the next header: all that a profile of the whole text reads from that section. Empty when no
// section has the name.
std::string_view ProfileSectionText(std::string_view bytes, std::string_view section);
// Parses an integer by the rules of TProfile::ReadInteger; false when the text is no integer.
bool ParseProfileInteger(std::string_view text, int& value);
