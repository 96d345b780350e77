// recorder.exe: a test program that writes down how it was started, for the launch tests.
//
// Output file: the path in the environment variable MIRTO_RECORD when it is set, else
// "recorder.txt" beside the program. The file is written whole under a temporary name and then
// moved into place, so a test that sees the file sees all of it. Its lines, in ANSI text and
// ended by CR LF, in this sequence:
//
//   program=<the program's own path (GetModuleFileNameA)>
//   commandline=<the command line exactly as given (GetCommandLineA)>
//   folder=<the current folder at start (GetCurrentDirectoryA)>
//   flags=<STARTUPINFO dwFlags, decimal>
//   show=<STARTUPINFO wShowWindow, decimal>
//   arguments=<how many arguments the runtime split the command line into, after the program>
//   argument1=<the first of them>, argument2=..., one line each
//
// It shows no window and ends with exit code 0 (1 when the file could not be written).
#include <windows.h>

#include <string>

namespace {
std::string OutputPath(const std::string& program) {
    // Read in UTF-16: Wine's ANSI variant cuts values with double-byte characters short.
    wchar_t wide[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableW(L"MIRTO_RECORD", wide, MAX_PATH * 2);
    char buffer[MAX_PATH * 4] = {};
    if (length > 0 && length < MAX_PATH * 2 &&
        WideCharToMultiByte(CP_ACP, 0, wide, -1, buffer, sizeof buffer, nullptr, nullptr) > 0)
        return buffer;
    return program.substr(0, program.find_last_of('\\') + 1) + "recorder.txt";
}

bool WriteAll(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".part";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    CloseHandle(file);
    return ok && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char buffer[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    const std::string program(buffer);
    char folder[MAX_PATH * 2] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);

    std::string text = "program=" + program + "\r\n" + "commandline=" + GetCommandLineA() + "\r\n" +
                       "folder=" + folder + "\r\n" + "flags=" + std::to_string(startup.dwFlags) +
                       "\r\n" + "show=" + std::to_string(startup.wShowWindow) + "\r\n" +
                       "arguments=" + std::to_string(__argc - 1) + "\r\n";
    for (int i = 1; i < __argc; ++i)
        text += "argument" + std::to_string(i) + "=" + __argv[i] + "\r\n";
    return WriteAll(OutputPath(program), text) ? 0 : 1;
}
