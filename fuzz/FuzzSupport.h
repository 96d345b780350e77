#pragma once
// What the fuzz targets share: a failed property prints the input and aborts, so that libFuzzer
// keeps the input as a crash; the fuzzer's bytes are taken apart into texts; a file system in
// memory; Shift_JIS validity and the first token of a command line.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <fuzzer/FuzzedDataProvider.h>

#include "../tests/core/MemoryFiles.h"
#include "frame/Errors.h"
#include "frame/Platform.h"
#include "frame/StringList.h"

// The bytes in double quotes as a C string literal: printable ASCII as it is, a backslash or
// double quote after a backslash, every other byte as \xHH.
inline std::string Visible(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\' && byte != '"') {
            text += c;
        } else if (byte == '\\' || byte == '"') {
            text += '\\';
            text += c;
        } else {
            text += "\\x";
            text += digits[byte >> 4];
            text += digits[byte & 15];
        }
    }
    return text + "\"";
}

[[noreturn]] inline void FuzzFailed(const char* file, int line, const char* condition,
                                    const std::string& detail) {
    std::fprintf(stderr, "\n%s:%d: property failed: %s\n%s\n", file, line, condition,
                 detail.c_str());
    std::abort();
}

// Checks a property; detail (a std::string expression) is built only when it fails.
#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition)) FuzzFailed(__FILE__, __LINE__, #condition, (detail));                    \
    } while (0)

// The core tests' file system in memory; message boxes answer at once.
class TMemoryPlatform : public TMemoryFiles {
public:
    int ShowMessage(const std::string&, unsigned) override { return 1; }
};

// The lines of a list, each made visible and ended with a line break.
inline std::string VisibleLines(const TStringList& list) {
    std::string text;
    for (const auto& line : list)
        text += Visible(line) + "\n";
    return text;
}

// Code page 932: lead bytes and the bytes that may follow them.
inline bool IsSjisLead(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
inline bool IsSjisTrail(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// True when every lead byte is followed by a trail byte: text the system itself would produce.
inline bool IsValidShiftJis(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsSjisLead(static_cast<unsigned char>(text[i]))) continue;
        if (i + 1 >= text.size() || !IsSjisTrail(static_cast<unsigned char>(text[i + 1])))
            return false;
        ++i;
    }
    return true;
}

// The program a command line starts when no application name is given: a leading quoted part up
// to the next double quote (or the end), else everything up to the first blank or tab.
inline std::string FirstCommandToken(std::string_view commandLine) {
    if (!commandLine.empty() && commandLine[0] == '"') {
        const std::size_t close = commandLine.find('"', 1);
        return std::string(commandLine.substr(
            1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    }
    const std::size_t end = commandLine.find_first_of(" \t");
    return std::string(commandLine.substr(0, end));
}
