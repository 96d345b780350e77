#pragma once
// Path services that ask the file system.
#include <string>

// The program's own folder, ending with "\".
std::string ProgramFolder();
// The nearest existing folder of a path (FindFirstFileA), or the program's drive root.
std::string NearestExistingFolder(const std::string& path);
