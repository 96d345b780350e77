#pragma once
// The file name a user types for a new text set: a plain name of a file in the text-set folder,
// without its ".ini". Anything that would reach outside the folder, name a device, hold a
// character the file system refuses, or make a path the system's ANSI calls cannot take is
// refused, so that a set is never written over another file.
#include <cstddef>
#include <string>
#include <string_view>

enum class TSetFileNameFault {
    None,
    Empty,
    Separator,    // "\", "/" or ":": a path, not a name
    DotName,      // "." or ".."
    Reserved,     // a device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9), with or without extension
    BadCharacter, // * ? " < > |, a control character, or a double-byte character left unfinished
    TooLong,      // folder + name + ".ini" longer than the system's path limit
};

// The longest full path the system's ANSI file calls take, in bytes, without the terminating
// zero.
inline constexpr std::size_t SetPathMax = 259;

// What is wrong with the name as the file name (before ".ini") of a set in a folder whose path,
// ending with its separator, is folderLength bytes long.
TSetFileNameFault CheckSetFileName(std::string_view name, std::size_t folderLength);

// The message shown on the file name field for a fault (empty for None).
std::string SetFileNameMessage(TSetFileNameFault fault, std::string_view name);

// The question before a new set replaces an existing file of that name.
std::string ReplaceSetFileQuestion(std::string_view fileName);
