// The INI text store driven by a random sequence of operations on a random document. After each
// change: the value set reads back, every other value reads as before, the document grew by the
// lines the change adds, and the listener heard of each change once; saving and loading keeps
// the lines.
#include <vector>

#include "FuzzSupport.h"
#include "frame/StringList.h"
#include "settings/IniStr.h"

namespace {

const std::string File = "C:\\Skin\\skin.ini";

// Names that collide by letter case, by a trail byte that looks like a letter ("ア" 83 41 and
// "ッ" 83 61), by prefix, or not at all.
const char* const SectionPool[] = {"Color", "color", "COLOR", "Font", "\x83\x41", "\x83\x61", ""};
const char* const KeyPool[] = {"Back", "back", "a", "ab", "a=b", "Size", "\x83\x5C", "[x"};

struct TProbe {
    std::string Section, Key;
};

bool SameSection(std::string_view a, std::string_view b) {
    return SameText("[" + std::string(a) + "]", "[" + std::string(b) + "]");
}

std::vector<std::string> ReadAll(const TIniStringList& ini, const std::vector<TProbe>& probes) {
    std::vector<std::string> values;
    for (const auto& probe : probes)
        values.push_back(ini.GetString(probe.Section, probe.Key, "\x01none"));
    return values;
}

std::string Dump(const TIniStringList& ini) {
    return VisibleLines(ini.Items());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TMemoryPlatform platform;
    SetPlatform(&platform);
    platform.Files.clear();
    FuzzedDataProvider input(data, size);

    std::vector<std::string> sections(std::begin(SectionPool), std::end(SectionPool));
    std::vector<std::string> keys(std::begin(KeyPool), std::end(KeyPool));
    sections.back() = input.ConsumeRandomLengthString(12);
    keys.push_back(input.ConsumeRandomLengthString(12));
    std::vector<TProbe> probes;
    for (const auto& section : sections)
        for (const auto& key : keys)
            probes.push_back({section, key});

    TIniStringList ini;
    int notes = 0;
    ini.OnChange = [&notes](TIniStringList&) { ++notes; };
    auto pick = [&input](const std::vector<std::string>& pool) -> const std::string& {
        return pool[input.ConsumeIntegralInRange<std::size_t>(0, pool.size() - 1)];
    };

    for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
        const std::size_t lines = ini.Items().Count();
        notes = 0;
        switch (input.ConsumeIntegralInRange(0, 7)) {
        case 0:
        case 1: { // set a text, a number or a flag
            const std::string section = pick(sections);
            const std::string key = pick(keys);
            const int kind = input.ConsumeIntegralInRange(0, 2);
            const std::string value = input.ConsumeRandomLengthString(24);
            const std::int32_t number = input.ConsumeIntegral<std::int32_t>();
            const std::vector<std::string> before = ReadAll(ini, probes);
            std::string expected;
            if (kind == 0) {
                ini.SetString(section, key, value);
                expected = value;
            } else if (kind == 1) {
                ini.SetInteger(section, key, number);
                expected = std::to_string(number);
                if (key.empty() || key[0] != '[')
                    FUZZ_CHECK(ini.GetInteger(section, key, number ^ 1) == number,
                               "number " + std::to_string(number) + "\n" + Dump(ini));
            } else {
                ini.SetBool(section, key, number & 1);
                expected = number & 1 ? "1" : "0";
                if (key.empty() || key[0] != '[')
                    FUZZ_CHECK(ini.GetBool(section, key, !(number & 1)) == bool(number & 1),
                               Dump(ini));
            }
            const auto where = [&] {
                return "set [" + Visible(section) + "] " + Visible(key) + " = " +
                       Visible(expected) + "\n" + Dump(ini);
            };
            const std::size_t added = ini.Items().Count() - lines;
            FUZZ_CHECK(added <= 2 && notes == static_cast<int>(added > 0 ? added : 1), where());
            FUZZ_CHECK(ini.IsExistsSection(section), where());
            // A key line that begins with "[" ends its own section; an empty value reads as
            // absent.
            if (!expected.empty() && (key.empty() || key[0] != '['))
                FUZZ_CHECK(ini.GetString(section, key, "\x01none") == expected, where());
            // Keys are matched by their text and "=": a key with "=" in it may match the line of
            // another, and a key line that begins with "[" ends the section for the keys below.
            if (key.find('=') != std::string::npos || (!key.empty() && key[0] == '[')) break;
            const std::vector<std::string> after = ReadAll(ini, probes);
            for (std::size_t i = 0; i < probes.size(); ++i) {
                const TProbe& probe = probes[i];
                if (probe.Key.find('=') != std::string::npos) continue;
                if (SameSection(probe.Section, section) && probe.Key == key) continue;
                FUZZ_CHECK(after[i] == before[i],
                           "[" + Visible(probe.Section) + "] " + Visible(probe.Key) + " was " +
                               Visible(before[i]) + ", is " + Visible(after[i]) + "\n" + where());
            }
            break;
        }
        case 2: { // a line of any kind at the end or inside
            std::string line = input.ConsumeBool() ? "[" + pick(sections) + "]"
                                                   : input.ConsumeRandomLengthString(24);
            if (input.ConsumeBool() || lines == 0)
                ini.Items().Add(line);
            else
                ini.Items().Insert(input.ConsumeIntegralInRange<std::size_t>(0, lines), line);
            FUZZ_CHECK(ini.Items().Count() == lines + 1 && notes == 1, Dump(ini));
            break;
        }
        case 3: { // a key line written by hand
            std::string line = pick(keys) + (input.ConsumeBool() ? "=" : " =");
            line += input.ConsumeRandomLengthString(12);
            ini.Items().Add(line);
            break;
        }
        case 4: { // reads agree with each other
            const std::string section = pick(sections);
            const std::string key = pick(keys);
            const std::string text = ini.GetString(section, key, "");
            const std::int32_t fallback = input.ConsumeIntegral<std::int32_t>();
            std::int32_t number;
            const std::int32_t expected =
                !text.empty() && TryStrToInt(text, number) ? number : fallback;
            FUZZ_CHECK(ini.GetInteger(section, key, fallback) == expected, Dump(ini));
            const bool flag = ini.GetBool(section, key, fallback & 1);
            FUZZ_CHECK(flag == (text == "1" || (text != "0" && (fallback & 1))), Dump(ini));
            if (!text.empty()) FUZZ_CHECK(ini.IsExistsSection(section), Dump(ini));
            FUZZ_CHECK(notes == 0, Dump(ini));
            break;
        }
        case 5: { // saved and loaded again
            ini.SaveToFile(File);
            const std::vector<std::string> saved = ini.Items().Items();
            ini.LoadFromFile(File);
            FUZZ_CHECK(notes == 1, Dump(ini));
            bool breaks = false;
            for (const auto& line : saved)
                breaks = breaks || line.find_first_of("\r\n") != std::string::npos;
            if (!breaks) FUZZ_CHECK(ini.Items().Items() == saved, Dump(ini));
            break;
        }
        case 6: { // a copy of the lines, then the source changes
            TStringList source;
            source.Assign(ini.Items());
            if (input.ConsumeBool()) source.Add(input.ConsumeRandomLengthString(12));
            const std::vector<std::string> copied = source.Items();
            ini.SetItems(source);
            source.Add("[Color]");
            source.Add("Back=1");
            FUZZ_CHECK(ini.Items().Items() == copied, Dump(ini));
            break;
        }
        case 7: // the document itself as its source
            if (lines > 0) {
                const std::vector<std::string> copied = ini.Items().Items();
                ini.SetItems(ini.Items());
                FUZZ_CHECK(ini.Items().Items() == copied, Dump(ini));
            }
            break;
        }
    }
    return 0;
}
