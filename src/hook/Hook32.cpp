// Hook32.exe: installs the 32-bit build of the keyboard hook (Mirto32.dll) for the program.
//
// Windows loads a hook library only into processes of its own bitness. The program's Mirto.dll
// serves 64-bit applications; for a 32-bit application the system would instead call that hook
// in the program's own thread, where neither the application's key state nor its focus can be
// seen, so the call keys and the input-method keys would do nothing there. This companion, a
// 32-bit process, installs the same hook built for 32 bits, which reads the one shared area and
// notifies the same window.
//
// It installs it for each thread of a 32-bit application that owns a window, not for the whole
// desktop: a desktop-wide hook of either bitness sits in the one chain that every keyboard hook
// of the desktop forms, and a system that cannot load a library into a process may end the
// chain there (Wine does), so that the other bitness's hook would never run. A thread's own
// hooks come before the desktop's, so in a 32-bit application ours runs first. The threads are
// those with a top-level window when the companion starts and, from then on, every thread that
// creates, focuses or brings to the foreground a window.
//
// Command line: three inherited handles in decimal: the program's process, an event that asks
// this companion to end, and an event it sets once the threads present at its start are served.
// It ends when asked, and by itself when the program ends in any way, a crash included. Exit
// codes: 0 after a normal end, 1 when the hook library cannot be used, 2 for a wrong command
// line.
#include <windows.h>

#include <cstdlib>
#include <map>

#include "frame/LibrarySearch.h"

namespace {

HMODULE Library = nullptr;
HOOKPROC HookProc = nullptr;

// The threads looked at so far: an open handle of the thread, to tell when it has ended (its
// identifier may then be reused), and our hook in it, none for threads of 64-bit processes.
struct TThreadHook {
    HANDLE Thread;
    HHOOK Hook;
};
std::map<DWORD, TThreadHook> Threads;

HANDLE HandleArgument(const char* text) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (end == text || *end != '\0' || value == 0) return nullptr;
    return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(value));
}

// The folder of this program, ending with a backslash.
bool OwnFolder(char* path, DWORD size) {
    const DWORD length = GetModuleFileNameA(nullptr, path, size);
    if (length == 0 || length >= size) return false;
    char* slash = nullptr;
    for (char* p = path; *p != '\0'; p = CharNextA(p))
        if (*p == '\\') slash = p;
    if (slash == nullptr) return false;
    slash[1] = '\0';
    return true;
}

// True for a 32-bit process on 64-bit Windows. A process that cannot be asked (another user's,
// an elevated one) could not take our hook either.
bool Is32BitProcess(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) return false;
    BOOL wow64 = FALSE;
    const bool is32 = IsWow64Process(process, &wow64) && wow64;
    CloseHandle(process);
    return is32;
}

bool Ended(HANDLE thread) {
    return WaitForSingleObject(thread, 0) != WAIT_TIMEOUT;
}

void Forget(std::map<DWORD, TThreadHook>::iterator entry) {
    if (entry->second.Hook != nullptr) UnhookWindowsHookEx(entry->second.Hook);
    CloseHandle(entry->second.Thread);
    Threads.erase(entry);
}

// Hooks the thread of a window if it belongs to a 32-bit process and is not hooked yet.
void ServeWindowThread(HWND window) {
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(window, &processId);
    if (threadId == 0 || processId == GetCurrentProcessId()) return;
    auto known = Threads.find(threadId);
    if (known != Threads.end()) {
        if (!Ended(known->second.Thread)) return;
        Forget(known);
    }
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, threadId);
    if (thread == nullptr) return;
    HHOOK hook = nullptr;
    if (Is32BitProcess(processId))
        hook = SetWindowsHookExA(WH_KEYBOARD, HookProc, Library, threadId);
    // Ended threads are let go now and then, so that the list stays as long as the desktop's.
    if (Threads.size() >= 64) {
        for (auto entry = Threads.begin(); entry != Threads.end();)
            Ended(entry->second.Thread) ? Forget(entry++) : void(++entry);
    }
    Threads[threadId] = {thread, hook};
}

BOOL CALLBACK ServeTopLevelWindow(HWND window, LPARAM) {
    ServeWindowThread(window);
    return TRUE;
}

// A window created, shown, focused or brought to the foreground: its thread may be one that
// takes keys from now on.
void CALLBACK WindowEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD,
                          DWORD) {
    if (window == nullptr) return;
    if (event == EVENT_SYSTEM_FOREGROUND || object == OBJID_WINDOW || object == OBJID_CLIENT)
        ServeWindowThread(window);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictLibrarySearch();
    if (__argc != 4) return 2;
    HANDLE program = HandleArgument(__argv[1]);
    HANDLE stop = HandleArgument(__argv[2]);
    HANDLE ready = HandleArgument(__argv[3]);
    if (program == nullptr || stop == nullptr || ready == nullptr) return 2;

    char path[MAX_PATH];
    if (!OwnFolder(path, MAX_PATH) || lstrlenA(path) + 12 >= MAX_PATH) return 1;
    lstrcatA(path, "Mirto32.dll");
    Library = LoadLibraryA(path);
    if (Library == nullptr) return 1;
    HookProc =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(Library, "_HookProc")));
    if (HookProc == nullptr) return 1;

    // Window creation comes before any key can reach a new window; the foreground and the focus
    // catch threads that had their windows before this companion started.
    constexpr DWORD outside = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    const HWINEVENTHOOK events[] = {
        SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, WindowEvent, 0,
                        0, outside),
        SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, WindowEvent, 0, 0,
                        outside),
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, WindowEvent, 0, 0,
                        outside),
    };
    EnumWindows(ServeTopLevelWindow, 0);
    SetEvent(ready);

    const HANDLE ends[] = {program, stop};
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(2, ends, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 2) break;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    for (HWINEVENTHOOK event : events)
        if (event != nullptr) UnhookWinEvent(event);
    while (!Threads.empty())
        Forget(Threads.begin());
    return 0;
}
