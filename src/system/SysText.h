#pragma once
// Text services of the system that need no platform call beyond the code page's lead-byte test.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// True when the byte at i begins a double-byte character: a lead byte followed by a byte that can
// trail it (0x40-0x7E, 0x80-0xFC). A lead byte without such a trail byte is a byte of its own and
// leaves the byte after it alone.
bool IsDoubleByteAt(std::string_view text, std::size_t i);

// The value of a hexadecimal digit (either letter case), or -1.
int HexDigit(char c);

// Tab, line feed, carriage return and backslash become backslash + t, n, r, backslash, so that a
// text with line breaks fits on one settings line. Double-byte characters are never examined. A
// lone lead byte right before a tab or a line break is written as backslash + "x" + its two
// hexadecimal digits: written as it is, it would take the escape's backslash for its trail byte
// when read back.
std::string EscapeText(std::string_view text);
// The reverse of EscapeText; a backslash followed by any other character drops both (a "\x"
// without two hexadecimal digits too), and a final lone backslash is dropped.
std::string UnescapeText(std::string_view text);

// The not-present marker that GetSwitchValue answers for a switch that is not given.
inline constexpr const char* SwitchAbsent = "0";
// True for "0" and the empty text: both mean that the option is not in force.
bool SwitchIsAbsent(std::string_view value);

// The program's command-line arguments 1..n, set once at start by the entry sequence.
void SetCommandLineArguments(std::vector<std::string> arguments);
const std::vector<std::string>& CommandLineArguments();

// The value of the first argument beginning with the prefix (exact bytes): empty when the
// argument is the prefix alone, else the rest with one pair of enclosing double quotes removed;
// "0" when no argument begins with the prefix.
std::string GetSwitchValue(std::string_view prefix);
std::string GetSwitchValue(const std::vector<std::string>& arguments, std::string_view prefix);

// Exchanges bits 0-7 and 16-23 of a colour and clears bits 24-31.
std::uint32_t SwapRedBlue(std::uint32_t colour);

// The program's version text from the four numbers of its version string: 1.0.5.2 gives
// "1.06β2", 1.0.12.0 gives "1.12". The second number is not shown.
std::string FormatVersionText(long first, long second, long third, long fourth);
