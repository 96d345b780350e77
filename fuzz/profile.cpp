// The profile reader on any bytes. The names the text itself uses are asked for; reading is the
// same after the text went through GetText and Load again; a written value reads back and leaves
// every other value as it was.
#include <vector>

#include "FuzzSupport.h"
#include "frame/StringList.h"
#include "settings/Profile.h"

namespace {

struct TName {
    std::string Section, Key;
};

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Upper case of ASCII letters outside double-byte characters.
std::string Upper(std::string_view text) {
    std::string result(text);
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (IsSjisLead(static_cast<unsigned char>(result[i])))
            ++i;
        else if (result[i] >= 'a' && result[i] <= 'z')
            result[i] = static_cast<char>(result[i] - 32);
    }
    return result;
}

// Candidate names: the text between "[" and the last "]" of each line, and the text before each
// line's first "=", paired with the section above it. A rough cut on purpose: the reader decides.
std::vector<TName> NamesIn(std::string_view text) {
    std::vector<TName> names;
    std::string section;
    std::size_t start = 0;
    while (start <= text.size() && names.size() < 64) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        const std::size_t open = line.find('['), close = line.rfind(']');
        if (open != std::string_view::npos && close != std::string_view::npos && close > open) {
            section = std::string(Trimmed(line.substr(open + 1, close - open - 1)));
            names.push_back({section, ""});
        }
        const std::size_t equal = line.find('=');
        if (equal != std::string_view::npos)
            names.push_back({section, std::string(Trimmed(line.substr(0, equal)))});
        start = end + 1;
    }
    return names;
}

// A section or key name that the writer can put in a line and the reader find again.
bool Writable(std::string_view name, bool key) {
    if (name.empty() || Trimmed(name).size() != name.size() || !IsValidShiftJis(name)) return false;
    if (name.find_first_of("\r\n") != std::string_view::npos) return false;
    if (key) return name.find('=') == std::string_view::npos && name[0] != '[';
    // "]" may stand only as a trail byte.
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (IsSjisLead(static_cast<unsigned char>(name[i])))
            ++i;
        else if (name[i] == ']')
            return false;
    }
    return true;
}

// A value that reading gives back unchanged: no line break, no blank at either end, not enclosed
// in quotes, not longer than the longest value.
bool Plain(std::string_view value) {
    if (value.size() > ProfileValueMax || Trimmed(value).size() != value.size()) return false;
    if (value.find_first_of("\r\n") != std::string_view::npos) return false;
    return !(value.size() >= 2 && (value[0] == '"' || value[0] == '\'') &&
             value.back() == value[0]);
}

std::string Describe(const TName& name) {
    return "[" + Visible(name.Section) + "] " + Visible(name.Key);
}

// The reading of every name, as a snapshot.
std::vector<std::string> ReadAll(const TProfile& ini, const std::vector<TName>& names) {
    std::vector<std::string> values;
    for (const auto& name : names) {
        if (name.Key.empty())
            values.push_back(ini.SectionExists(name.Section) ? "section" : "no section");
        else
            values.push_back(ini.ValueExists(name.Section, name.Key)
                                 ? "value " + ini.ReadString(name.Section, name.Key, "")
                                 : "no value");
    }
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TMemoryPlatform platform;
    SetPlatform(&platform);
    FuzzedDataProvider input(data, size);
    // The first bytes name a section, a key and a value to write, the last four a number; the
    // rest is the file.
    const std::string section = input.ConsumeRandomLengthString(16);
    const std::string key = input.ConsumeRandomLengthString(16);
    const std::string value = input.ConsumeRandomLengthString(64);
    const int number = input.ConsumeIntegral<int>();
    const std::string text = input.ConsumeRemainingBytesAsString();

    const TProfile ini(text);
    std::vector<TName> names = NamesIn(text);
    names.push_back({section, key});
    names.push_back({section, ""});
    const std::vector<std::string> before = ReadAll(ini, names);

    for (std::size_t i = 0; i < names.size(); ++i) {
        const TName& name = names[i];
        if (name.Key.empty()) continue;
        const std::string read = ini.ReadString(name.Section, name.Key, "");
        FUZZ_CHECK(read.size() <= ProfileValueMax, Describe(name));
        // Names match without regard to the letter case of single-byte letters.
        FUZZ_CHECK(ini.ReadString(Upper(name.Section), Upper(name.Key), "") == read,
                   Describe(name));
    }

    // The text as the writer gives it reads the same, and gives itself again.
    const std::string written = ini.GetText();
    const TProfile again(written);
    FUZZ_CHECK(ReadAll(again, names) == before, "text " + Visible(text));
    FUZZ_CHECK(again.GetText() == written, "text " + Visible(text));

    if (!Writable(section, false) || !Writable(key, true)) return 0;
    auto unchangedExceptWritten = [&](const TProfile& changed, const std::string& what) {
        const std::vector<std::string> after = ReadAll(changed, names);
        for (std::size_t i = 0; i < names.size(); ++i) {
            const TName& name = names[i];
            const bool sameSection = SameText(Trimmed(name.Section), section);
            if (sameSection && (name.Key.empty() || SameText(Trimmed(name.Key), key))) continue;
            FUZZ_CHECK(after[i] == before[i], what + " changed " + Describe(name) + " from " +
                                                  Visible(before[i]) + " to " + Visible(after[i]) +
                                                  "\ntext " + Visible(text));
        }
    };
    if (Plain(value)) {
        TProfile changed(text);
        changed.WriteString(section, key, value);
        FUZZ_CHECK(changed.ReadString(section, key, "default") == value,
                   "wrote " + Describe({section, key}) + " = " + Visible(value) + "\ntext " +
                       Visible(text) + "\nafter " + Visible(changed.GetText()));
        unchangedExceptWritten(changed, "writing " + Describe({section, key}));
    }
    TProfile changed(text);
    changed.WriteInteger(section, key, number);
    FUZZ_CHECK(changed.ReadInteger(section, key, number == 0 ? 1 : 0) == number,
               "wrote " + Describe({section, key}) + " = " + std::to_string(number));
    unchangedExceptWritten(changed, "writing a number to " + Describe({section, key}));
    return 0;
}
