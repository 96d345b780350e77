#pragma once
// System information from the Win32 platform: version resources, the operating system, the user
// name and system error texts.
#include <string>
#include <string_view>

#include "system/SysInfo.h"

// The four numbers of the file's "FileVersion" text (first translation of its version
// resource); false when the file has no readable version text of that form.
bool GetFileVersionNumbers(const std::string& fileName, long& first, long& second, long& third,
                           long& fourth);
// The program's version text of the file ("1.06β2"), empty when its version cannot be read.
std::string GetVersionText(const std::string& fileName);

// The name of the user running the program, empty on failure.
std::string GetUserNameText();

// The system's message for an error code, without the trailing line break, with its blanks and
// punctuation made full-width so that it sits well among Japanese text.
std::string GetSystemErrorText(unsigned long errorCode);
// Keeps words and double-byte characters; turns runs of single-byte symbols full-width.
std::string WidenSymbols(std::string_view text);

// Fills the record from the running system; false when the version query fails.
bool DetectWindowsVersion(TWindowsVersion& version);
// Mode 0 the running system's name, mode 1 its version text; empty when detection fails.
std::string GetWindowsName(int mode);

// Whether raising a window attaches to the foreground thread's input first; decided once.
bool UseThreadAttach();
