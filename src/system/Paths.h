#pragma once
// Path texts: folders with a trailing backslash, the nearest folder that exists.
#include <functional>
#include <string>
#include <string_view>

// Byte offset of the last backslash that is not the trail byte of a double-byte character, or
// std::string::npos.
std::size_t LastBackslash(std::string_view path);

// The nearest existing folder of a path: the path itself when it is a folder, else its closest
// existing ancestor; when the walk reaches a root the answer is the program's drive + "\".
std::string NearestExistingFolder(std::string_view path,
                                  const std::function<bool(const std::string&)>& isFolder,
                                  std::string_view programDrive);
