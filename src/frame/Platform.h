#pragma once
// What the portable core asks of the operating system. The Win32 layer installs the real
// answers at start (TWin32Platform); unit tests install fixed ones. The default answers are
// portable: code page 932 lead bytes, the Japanese 106/109 keyboard layout, C stdio files.
#include <cstddef>
#include <string>
#include <vector>

// Message-box flags as the platform defines them.
enum : unsigned {
    mbOk = 0x00,
    mbYesNoCancel = 0x03,
    mbYesNo = 0x04,
    mbIconStop = 0x10,
    mbIconQuestion = 0x20,
    mbIconInformation = 0x40,
};

class TPlatform {
public:
    virtual ~TPlatform() = default;

    // True when the byte begins a double-byte character in the ANSI code page.
    virtual bool IsLeadByte(unsigned char byte) const;
    // The keyboard layout's key for a character: virtual key in the low byte, shift state in
    // the high byte, -1 when no key types it (VkKeyScanA).
    virtual int ScanKey(char character) const;

    virtual bool FileExists(const std::string& path) const;
    // Reads a whole file; false when it cannot be opened or read.
    virtual bool ReadWholeFile(const std::string& path, std::string& bytes) const;
    // Reads a whole file that holds at most limit bytes; false when it cannot be opened or read
    // or holds more, and then nothing beyond the limit has been read. For files that come from
    // elsewhere, whose size is nobody's promise.
    virtual bool ReadFileWithin(const std::string& path, std::size_t limit,
                                std::string& bytes) const;
    // Replaces the file with the bytes so that the old file stays whole until the new one is
    // complete on disk. Throws EFileError when the file cannot be written.
    virtual void WriteWholeFile(const std::string& path, const std::string& bytes);
    virtual bool RemoveFile(const std::string& path);
    // The names of the files in the folder (a path that ends with its separator) that match the
    // pattern, "*" + an ending such as "*.ini" (letter case ignored), in the platform's listing
    // sequence; folders are left out. Empty when the folder cannot be read.
    virtual std::vector<std::string> ListFiles(const std::string& folder,
                                               const std::string& pattern) const;

    // A message box captioned with the application's caption; returns the button pressed.
    virtual int ShowMessage(const std::string& text, unsigned flags);
};

TPlatform& Platform();
// Installs the platform for the process (not owned); nullptr returns to the portable default.
void SetPlatform(TPlatform* platform);

// The caption of every message box: "てんみ".
extern const char* const AppCaption;
