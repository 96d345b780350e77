#include "system/Win32Platform.h"

#include <algorithm>

#include "frame/Errors.h"
#include "system/SysInfoWin.h"

namespace {
// Closes the handle on every way out.
class THandle {
public:
    explicit THandle(HANDLE handle) : Handle(handle) {}
    ~THandle() { Close(); }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    bool Valid() const { return Handle != INVALID_HANDLE_VALUE; }
    bool Close() {
        if (!Valid()) return true;
        const bool closed = CloseHandle(Handle) != 0;
        Handle = INVALID_HANDLE_VALUE;
        return closed;
    }
    HANDLE Handle;
};

// "what" follows the quoted file name: "ファイル "C:\..." <what>。<the system's reason>".
[[noreturn]] void ThrowFileError(const char* what, const std::string& path, DWORD error) {
    throw EFileError("ファイル \"" + path + "\" " + what + "。" + GetSystemErrorText(error));
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}
} // namespace

bool TWin32Platform::IsLeadByte(unsigned char byte) const {
    return IsDBCSLeadByte(byte) != 0;
}

int TWin32Platform::ScanKey(char character) const {
    return VkKeyScanA(character);
}

bool TWin32Platform::FileExists(const std::string& path) const {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {
// Opened shared for reading, writing and deletion: an editor that holds the file open for
// writing, or a program that has just moved a new file into its place and still holds it,
// must not make it unreadable.
HANDLE OpenForReading(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Reads to the end, or false as soon as the content would exceed limit bytes.
bool ReadToEnd(HANDLE file, std::size_t limit, std::string& bytes) {
    std::string content;
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &read, nullptr)) return false;
        if (read == 0) break;
        if (read > limit - content.size()) return false;
        content.append(buffer, read);
    }
    bytes = std::move(content);
    return true;
}
} // namespace

bool TWin32Platform::ReadWholeFile(const std::string& path, std::string& bytes) const {
    THandle file(OpenForReading(path));
    return file.Valid() && ReadToEnd(file.Handle, std::string().max_size(), bytes);
}

bool TWin32Platform::ReadFileWithin(const std::string& path, std::size_t limit,
                                    std::string& bytes) const {
    THandle file(OpenForReading(path));
    LARGE_INTEGER size{};
    if (!file.Valid() || !GetFileSizeEx(file.Handle, &size) ||
        static_cast<unsigned long long>(size.QuadPart) > limit)
        return false;
    // The file may grow while it is read: the limit holds for what is read, too.
    return ReadToEnd(file.Handle, limit, bytes);
}

namespace {
// How often and how far apart a replacement that another program's open file refuses is tried:
// about a fifth of a second in all.
constexpr int ReplaceTries = 10;
constexpr DWORD ReplaceWait = 20;
} // namespace

void TWin32Platform::WriteWholeFile(const std::string& path, const std::string& bytes) {
    // A read-only file or a folder in the way is refused before anything is written; some
    // systems would otherwise let the move replace a read-only file.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        ThrowFileError("に書き込めません", path, ERROR_ACCESS_DENIED);

    const std::string temp = path + ".new";
    THandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) ThrowFileError("を作成できません", path, GetLastError());

    bool ok = WriteAll(file.Handle, bytes) && FlushFileBuffers(file.Handle);
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    if (!file.Close() && ok) {
        ok = false;
        error = GetLastError();
    }
    // Another program reading the file (a virus scanner looking at what was just written, a
    // backup, an editor's preview) makes its replacement fail while it holds it open: tried
    // again for a moment before the write is given up.
    int tries = 0;
    while (ok && !MoveFileExA(temp.c_str(), path.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        const bool held = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
        if (!held || ++tries == ReplaceTries)
            ok = false;
        else
            Sleep(ReplaceWait);
    }
    if (!ok) {
        DeleteFileA(temp.c_str());
        ThrowFileError("に書き込めません", path, error);
    }
}

bool TWin32Platform::RemoveFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

std::vector<std::string> TWin32Platform::ListFiles(const std::string& folder,
                                                   const std::string& pattern) const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

int TWin32Platform::ShowMessage(const std::string& text, unsigned flags) {
    return MessageBoxA(Owner, text.c_str(), AppCaption, flags | MB_SETFOREGROUND);
}
