#pragma once
// Path texts without the file system: name parts, trailing backslashes, the letter case of short
// names, quoting for command lines, numbered file names and the walk that expands a path to its
// long names. Every walk respects double-byte characters, whose trail byte may be 0x5C.
#include <functional>
#include <string>
#include <string_view>

// Byte offset where the file name of a path begins (after the last "\" or ":").
std::size_t FileNameStart(std::string_view path);
// The file name part of a path.
std::string FileNamePart(std::string_view path);
// The file name's extension with its dot (".ini"), empty when the name has no ".".
std::string FileExtension(std::string_view path);
// The file name without its extension: the text before the name's last "."; empty when that "."
// is the name's first character; the whole name when it has no ".".
std::string FileTitle(std::string_view path);

// True when the last character (not the trail byte of a double-byte one) is "\".
bool EndsWithBackslash(std::string_view path);
std::string AddTrailingBackslash(std::string_view path);
// Removes one trailing "\" when there is one.
std::string RemoveTrailingBackslash(std::string_view path);

// A name written all in capitals whose first byte is a single-byte character comes back with
// only its first letter in capitals (PROGRA~1 becomes Progra~1); any other name is unchanged.
std::string CapitalizeUpperName(std::string_view name);

// The path enclosed in double quotes when it holds a blank or tab and is not quoted yet, so that
// a command line names exactly this program or file.
std::string QuotePath(std::string_view path);

// The candidate name for number n: folder + "\" + prefix + n zero-padded to digits + suffix.
std::string NumberedFileName(std::string_view folder, std::string_view prefix,
                             std::string_view suffix, int digits, int number);
// The first numbered name, counting from 1, that names nothing existing (neither file nor
// folder); empty when every number below the limit is taken.
inline constexpr int NumberedFileNameLimit = 1000000;
std::string NewNumberedFileName(std::string_view folder, std::string_view prefix,
                                std::string_view suffix, int digits,
                                const std::function<bool(const std::string&)>& exists,
                                int limit = NumberedFileNameLimit);

// The root of the volume a full path lies on: "C:\" for a drive, "\\server\share\" for a network
// path; empty when the path names neither.
std::string VolumeRoot(std::string_view fullPath);

// Rebuilds a full path from the long names of its components, from the last one upwards, while
// findName finds the long name of the text so far (a component that cannot be found stops the
// walk and the rest stays as it was). The names pass through CapitalizeUpperName unless the
// volume tells letter case apart.
std::string
ExpandLongPathText(std::string_view fullPath, bool caseSensitive,
                   const std::function<bool(const std::string&, std::string&)>& findName);
