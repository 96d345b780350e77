#pragma once
// Helpers of the Win32 tests that work with files and started programs: a temporary folder of
// their own, the built programs' folder, and waiting for a condition.
#include <windows.h>

#include <cstdlib>
#include <string>

// A new folder under the temporary folder, removed with everything in it at the end.
class TTestFolder {
public:
    explicit TTestFolder(const std::string& name) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        FPath = std::string(temp) + name + std::to_string(GetCurrentProcessId());
        RemoveTree(FPath);
        CreateDirectoryA(FPath.c_str(), nullptr);
    }
    ~TTestFolder() { RemoveTree(FPath); }
    TTestFolder(const TTestFolder&) = delete;
    TTestFolder& operator=(const TTestFolder&) = delete;

    const std::string& Path() const { return FPath; }
    std::string operator/(const std::string& name) const { return FPath + "\\" + name; }

    static void RemoveTree(const std::string& folder) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                const std::string path = folder + "\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(path);
                } else {
                    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileA(path.c_str());
                }
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder.c_str());
    }

private:
    std::string FPath;
};

// The folder of the built programs: MIRTO_BIN (a Linux path reads as drive Z: under Wine), or the
// bin folder beside the test's own folder.
inline std::string BuiltProgramsFolder() {
    std::string folder;
    if (const char* bin = std::getenv("MIRTO_BIN"); bin != nullptr && *bin != '\0') {
        folder = bin;
        if (folder[0] == '/') folder = "Z:" + folder;
    } else {
        char path[MAX_PATH];
        const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
        folder.assign(path, length);
        folder = folder.substr(0, folder.find_last_of("\\/")) + "\\..\\bin";
    }
    for (char& c : folder)
        if (c == '/') c = '\\';
    return folder;
}

inline bool WriteTextFile(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE;
    CloseHandle(file);
    return ok && written == text.size();
}

// Polls the condition, pumping this thread's messages, until it holds or a generous time has
// passed.
template <class Condition> bool WaitFor(Condition condition, DWORD milliseconds = 20000) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() > deadline) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}
