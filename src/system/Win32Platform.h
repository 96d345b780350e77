#pragma once
// The portable core's questions answered by Win32: the code page's lead bytes, the keyboard
// layout, files and message boxes. The entry sequence installs one with SetPlatform at start.
#include <windows.h>

#include "frame/Platform.h"

class TWin32Platform : public TPlatform {
public:
    bool IsLeadByte(unsigned char byte) const override;
    int ScanKey(char character) const override;

    // True for an existing file; a folder is not a file.
    bool FileExists(const std::string& path) const override;
    bool ReadWholeFile(const std::string& path, std::string& bytes) const override;
    // Asks the file's size first: a larger file is refused without reading any of it.
    bool ReadFileWithin(const std::string& path, std::size_t limit,
                        std::string& bytes) const override;
    // Writes "<path>.new" to disk and moves it over the file, so that the old file stays whole
    // until the new one is complete. On failure the temporary file is removed, the old file is
    // left as it was and EFileError carries the system's reason.
    void WriteWholeFile(const std::string& path, const std::string& bytes) override;
    bool RemoveFile(const std::string& path) override;
    // FindFirstFileA on folder + pattern; folders are left out.
    std::vector<std::string> ListFiles(const std::string& folder,
                                       const std::string& pattern) const override;

    // A message box owned by Owner (none by default), brought to the foreground.
    int ShowMessage(const std::string& text, unsigned flags) override;

    HWND Owner = nullptr;
};
