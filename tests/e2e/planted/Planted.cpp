// A library that stands for one planted by someone else: loaded into a process, it leaves a file
// beside itself, named as the library with ".loaded" added, that holds the process's program.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t mark[MAX_PATH + 16] = {};
    const DWORD length = GetModuleFileNameW(instance, mark, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    lstrcatW(mark, L".loaded");
    char program[MAX_PATH * 2] = {};
    const DWORD programLength = GetModuleFileNameA(nullptr, program, sizeof program);
    HANDLE file = CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return TRUE;
    DWORD written = 0;
    WriteFile(file, program, programLength, &written, nullptr);
    CloseHandle(file);
    return TRUE;
}
