#include "Harness.h"

#include "DialogPages.h"

#include <shellapi.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cctype>
#include <cstring>
#include <utility>
#include <cwchar>

namespace {

const char FormClass[] = "TForm1";
const char DialogClass[] = "#32770";
const char TestWindowClass[] = "MirtoTestWindow";

std::string Backslashes(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// Removes a folder and everything in it. A file that a process still holds is tried again for
// a while, as an ended process lets go of its files a moment later under Wine.
void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                WaitFor([&] { return DeleteFileA(path.c_str()) != FALSE; }, 5000);
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

struct TWindowSearch {
    DWORD ProcessId;
    const char* ClassName;
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<TWindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.ProcessId) return TRUE;
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, search.ClassName) == 0) search.Found.push_back(window);
    return TRUE;
}

INPUT KeyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    switch (virtualKey) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        break;
    default:
        break;
    }
    if (up) input.ki.dwFlags |= KEYEVENTF_KEYUP;
    return input;
}

void SendKey(WORD virtualKey, bool up) {
    INPUT input = KeyInput(virtualKey, up);
    SendInput(1, &input, sizeof input);
}

// The key's name in the X server's keyboard map, as xdotool takes it; empty for a key that the
// virtual display's keyboard lacks.
std::string XKeyName(WORD virtualKey) {
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
        return std::string(1, static_cast<char>(std::tolower(virtualKey)));
    if (virtualKey >= VK_F1 && virtualKey <= VK_F12) return "F" + std::to_string(virtualKey - VK_F1 + 1);
    switch (virtualKey) {
    case VK_SHIFT: return "Shift_L";
    case VK_CONTROL: return "Control_L";
    case VK_MENU: return "Alt_L";
    case VK_TAB: return "Tab";
    case VK_RETURN: return "Return";
    case VK_SPACE: return "space";
    case VK_END: return "End";
    case VK_HOME: return "Home";
    case VK_BACK: return "BackSpace";
    case VK_PAUSE: return "Pause";
    case VK_ESCAPE: return "Escape";
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case VK_PRIOR: return "Prior";
    case VK_NEXT: return "Next";
    case VK_INSERT: return "Insert";
    case VK_DELETE: return "Delete";
    case VK_OEM_PERIOD: return "period";
    case VK_OEM_COMMA: return "comma";
    default: return {};
    }
}

// Runs xdotool's commands ("keydown" "Control_L", ...; keys go through the X server's XTEST
// extension) on the display: a Linux program, which Wine starts outside its own processes and
// gives no handle to, so it writes its exit code to a file of its own at the end, and this waits
// for that. The waiting pumps this thread's messages, so that a window of the test that has the
// focus takes the keys from the X server meanwhile.
bool RunXdotool(const std::vector<std::pair<const char*, std::string>>& events) {
    static unsigned counter = 0;
    const std::string marker = "/tmp/mirto-xkeys-" + std::to_string(GetCurrentProcessId()) +
                               "-" + std::to_string(++counter);
    std::string windowsMarker = "Z:" + marker;
    std::replace(windowsMarker.begin(), windowsMarker.end(), '/', '\\');
    DeleteFileA(windowsMarker.c_str());
    std::string command = "/bin/sh -c \"timeout 5 xdotool";
    for (const auto& [action, key] : events)
        command.append(" ").append(action).append(" ").append(key);
    command.append("; echo $? >").append(marker).append("\"");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    // A Linux program gets no process handle, and the thread handle is then not one either
    // (closing it would close a handle of this process).
    if (process.hProcess) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::string status;
    const bool ended = WaitFor(
        [&] {
            status = ReadWholeFile(windowsMarker);
            return !status.empty() && status.back() == '\n';
        },
        10000);
    DeleteFileA(windowsMarker.c_str());
    if (ended && status == "0\n") return true;
    // Said in the test's output, so that a key that did not come is not taken for a fault of
    // the program.
    std::fprintf(stderr, "%s: %s\n", command.c_str(),
                 ended ? ("exit code " + status).c_str() : "did not end within 10 s");
    return false;
}

// The key's name for the X server, or empty when it goes with SendInput: a key the X server's
// keyboard lacks (the keypad's digits), and every key on a display without a window manager,
// where no one gives the X focus to the window in front.
std::string KeyThroughX(WORD virtualKey) {
    return WindowManagerRuns() ? XKeyName(virtualKey) : std::string();
}

// Each key through the X server, or with SendInput (KeyThroughX).
void Keys(std::initializer_list<WORD> keys, const char* action, bool up) {
    std::vector<std::pair<const char*, std::string>> events;
    for (WORD key : keys) {
        std::string name = KeyThroughX(key);
        if (name.empty()) {
            if (!events.empty()) RunXdotool(events);
            events.clear();
            SendKey(key, up);
        } else {
            events.emplace_back(action, std::move(name));
        }
    }
    if (!events.empty()) RunXdotool(events);
}

} // namespace

bool ActivateThroughX(HWND window) {
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if ((style & WS_CAPTION) != WS_CAPTION &&
        !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_APPWINDOW))
        return false;
    const auto id = reinterpret_cast<UINT_PTR>(GetPropA(window, "__wine_x11_whole_window"));
    return id != 0 && RunXdotool({{"windowactivate --sync", std::to_string(id)}});
}

bool WindowManagerRuns() {
    const char* manager = std::getenv("MIRTO_WINDOW_MANAGER");
    return manager == nullptr || std::string(manager) != "none";
}

std::string BinFolder() {
    std::string folder;
    if (const char* bin = std::getenv("MIRTO_BIN"); bin != nullptr && *bin != '\0') {
        folder = bin;
        if (folder[0] == '/') folder = "Z:" + folder;
    } else {
        // The build's bin folder, found from the running program's folder upwards.
        char path[MAX_PATH];
        const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string up(path, length);
        up = up.substr(0, up.find_last_of("\\/"));
        folder = up + "\\bin";
        for (int level = 0; level < 4; ++level, up += "\\..") {
            if (GetFileAttributesA((up + "\\bin\\Mirto.exe").c_str()) != INVALID_FILE_ATTRIBUTES) {
                folder = up + "\\bin";
                break;
            }
        }
    }
    folder = Backslashes(folder);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string ReadWholeFile(const std::string& path) {
    // Sharing deletion too: files here are moved into place whole (the program's settings, the
    // recorder's notes), and Wine's move holds the moved file open for deletion for a moment
    // after the move, which refuses an open that does not share it.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        PumpMessages();
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return condition();
        MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

TProgramFolder::TProgramFolder(const std::string& hookLibrary, const std::string& skinLibrary) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100 && Folder.empty(); ++attempt) {
        const std::string candidate = std::string(temp) + "MirtoE2E-" +
                                      std::to_string(GetCurrentProcessId()) + "-" +
                                      std::to_string(++counter) + "\\";
        if (CreateDirectoryA(candidate.c_str(), nullptr)) Folder = candidate;
    }
    if (Folder.empty()) return;
    const std::string bin = BinFolder();
    auto copy = [&](const std::string& from, const char* to) {
        return CopyFileA((bin + from).c_str(), FilePath(to).c_str(), FALSE) != FALSE;
    };
    IsReady = copy("Mirto.exe", "Mirto.exe") && copy(Backslashes(hookLibrary), "Mirto.dll") &&
              copy("Mirto32.dll", "Mirto32.dll") && copy("Hook32.exe", "Hook32.exe") &&
              copy(Backslashes(skinLibrary), "Skin.dll");
}

bool TProgramFolder::CopySkins(const std::string& from) const {
    if (!CreateDirectoryA(FilePath("Skin").c_str(), nullptr)) return false;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((from + "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool copied = true;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        copied =
            copied && CopyFileA((from + found.cFileName).c_str(),
                                FilePath(std::string("Skin\\") + found.cFileName).c_str(), FALSE);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return copied;
}

TProgramFolder::~TProgramFolder() {
    if (Folder.empty()) return;
    // The hook ran in this process's threads, which loaded the folder's Mirto.dll. Windows
    // unloads a hook library once its hook is gone; Wine keeps it, and so the file. The program
    // has ended by now, so nothing calls into it any more.
    const std::string hookLibrary = FilePath("Mirto.dll");
    for (int i = 0; i < 16; ++i) {
        HMODULE module = GetModuleHandleA(hookLibrary.c_str());
        if (module == nullptr || !FreeLibrary(module)) break;
    }
    RemoveTree(Folder);
}

bool TProgramFolder::Write(const std::string& name, const std::string& bytes) const {
    HANDLE file = CreateFileA(FilePath(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool TProgramFolder::Exists(const std::string& name) const {
    return GetFileAttributesA(FilePath(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TProgramFolder::Read(const std::string& name) const {
    return ReadWholeFile(FilePath(name));
}

TMirto::TMirto(const TProgramFolder& folder, const std::string& arguments,
               const std::string& currentFolder) {
    if (!folder.Ready()) return;
    std::string commandLine(1, '"');
    commandLine += folder.FilePath("Mirto.exe");
    commandLine += '"';
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const std::string current = currentFolder.empty() ? folder.Path() : currentFolder;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        current.c_str(), &startup, &info))
        return;
    CloseHandle(info.hThread);
    Process = info.hProcess;
    Id = info.dwProcessId;
}

TMirto::~TMirto() {
    Stop();
    if (Process != nullptr) CloseHandle(Process);
}

bool TMirto::Running() const {
    return Process != nullptr && WaitForSingleObject(Process, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> TMirto::Windows(const char* className) const {
    TWindowSearch search{Id, className, {}};
    if (Id != 0) EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND TMirto::Form() const {
    const auto forms = Windows(FormClass);
    return forms.empty() ? nullptr : forms.front();
}

HWND TMirto::VisibleDialog(const char* caption) const {
    for (HWND box : Windows(DialogClass)) {
        char text[64] = {};
        GetWindowTextA(box, text, sizeof text);
        if (IsWindowVisible(box) && lstrcmpA(text, caption) == 0 && DialogPagesMade(box))
            return box;
    }
    return nullptr;
}

HWND TMirto::MessageBoxWindow() const {
    // Every message box of the program has this caption.
    return VisibleDialog("てんみ");
}

bool TMirto::WaitResident(DWORD timeoutMs) const {
    return WaitFor(
        [&] {
            HWND form = Form();
            return form != nullptr && TrayIconPresent(form);
        },
        timeoutMs);
}

HWND TMirto::WaitMessageBox(DWORD timeoutMs) const {
    HWND box = nullptr;
    WaitFor([&] { return (box = MessageBoxWindow()) != nullptr || !Running(); }, timeoutMs);
    return box;
}

bool TMirto::WaitExit(DWORD timeoutMs) const {
    return WaitFor([&] { return !Running(); }, timeoutMs);
}

DWORD TMirto::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (Process != nullptr) GetExitCodeProcess(Process, &code);
    return code;
}

void TMirto::Stop() {
    if (!Running()) return;
    // A message box holds the program in its own loop: answer it first, then close the form.
    // Asked again now and then, as a box may come up while the program closes.
    ULONGLONG nextAsk = 0;
    WaitFor(
        [&] {
            if (GetTickCount64() >= nextAsk) {
                nextAsk = GetTickCount64() + 1000;
                if (HWND box = MessageBoxWindow()) CloseMessageBox(box);
                if (HWND form = Form()) PostMessageA(form, WM_CLOSE, 0, 0);
            }
            return !Running();
        },
        10000);
    if (Running()) {
        TerminateProcess(Process, 1);
        WaitForSingleObject(Process, 10000);
    }
}

bool TrayIconPresent(HWND window, UINT id) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = id;
    data.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

std::string MessageBoxText(HWND box) {
    struct TSearch {
        std::string Text;
    } search;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM data) -> BOOL {
            char name[32] = {};
            GetClassNameA(child, name, sizeof name);
            if (lstrcmpiA(name, "Static") != 0) return TRUE;
            char text[1024] = {};
            GetWindowTextA(child, text, sizeof text);
            if (text[0] == '\0') return TRUE;
            reinterpret_cast<TSearch*>(data)->Text = text;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Text;
}

void CloseMessageBox(HWND box, int button) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

void KeyDown(WORD virtualKey) {
    Keys({virtualKey}, "keydown", false);
}

void KeyUp(WORD virtualKey) {
    Keys({virtualKey}, "keyup", true);
}

void ReleaseKeys(std::initializer_list<WORD> keys) {
    Keys(keys, "keyup", true);
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<std::pair<const char*, std::string>> events;
    bool throughX = true;
    for (WORD key : keys) {
        events.emplace_back("keydown", KeyThroughX(key));
        throughX = throughX && !events.back().second.empty();
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        events.emplace_back("keyup", KeyThroughX(*key));
    if (throughX) {
        RunXdotool(events);
        return;
    }
    std::vector<INPUT> inputs;
    for (WORD key : keys)
        inputs.push_back(KeyInput(key, false));
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        inputs.push_back(KeyInput(*key, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SendInputKey(WORD virtualKey, bool up) {
    SendKey(virtualKey, up);
}

void SyncKeyState() {
    BYTE state[256];
    if (!GetKeyboardState(state)) return;
    for (int key = 1; key < 256; ++key) {
        const bool down = (GetAsyncKeyState(key) & 0x8000) != 0;
        state[key] = static_cast<BYTE>((state[key] & 0x01) | (down ? 0x80 : 0));
    }
    SetKeyboardState(state);
}

void ReleaseModifiers() {
    for (WORD key : {VK_SHIFT, VK_CONTROL, VK_MENU})
        if (GetAsyncKeyState(key) & 0x8000) KeyUp(key);
}

TTestWindow::TTestWindow(const char* caption, DWORD style, int x, int y, int width, int height,
                         COLORREF colour, DWORD extendedStyle) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    if (!GetClassInfoExA(instance, TestWindowClass, &wc)) {
        wc = WNDCLASSEXA{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = TestWindowClass;
        RegisterClassExA(&wc);
    }
    Brush = CreateSolidBrush(colour);
    Window = CreateWindowExA(extendedStyle, TestWindowClass, caption, style, x, y, width, height,
                             nullptr, nullptr, instance, this);
    if (Window != nullptr) {
        ShowWindow(Window, SW_SHOWNORMAL);
        UpdateWindow(Window);
    }
}

TTestWindow::~TTestWindow() {
    if (Window != nullptr) DestroyWindow(Window);
    if (Brush != nullptr) DeleteObject(Brush);
    PumpMessages();
}

bool TTestWindow::Focus() {
    if (Window == nullptr) return false;
    ActivateThroughX(Window);
    const bool focused = WaitFor(
        [&] {
            if (GetForegroundWindow() != Window) SetForegroundWindow(Window);
            if (GetFocus() != Window) SetFocus(Window);
            return GetForegroundWindow() == Window && GetFocus() == Window;
        },
        10000);
    SyncKeyState();
    return focused;
}

bool TTestWindow::Activate() {
    if (Window == nullptr) return false;
    ActivateThroughX(Window);
    const bool active = WaitFor(
        [&] {
            if (GetForegroundWindow() != Window) SetForegroundWindow(Window);
            return GetForegroundWindow() == Window;
        },
        10000);
    SyncKeyState();
    return active;
}

RECT TTestWindow::Rect() const {
    return WindowRect(Window);
}

int TTestWindow::KeyUps(WORD virtualKey) const {
    return static_cast<int>(std::count(Releases.begin(), Releases.end(), virtualKey));
}

bool TTestWindow::Type(std::initializer_list<WORD> keys) {
    if (keys.size() == 0) return true;
    const WORD first = *keys.begin();
    const int before = KeyUps(first);
    PressKeys(keys);
    return WaitFor([&] { return KeyUps(first) > before; }, 10000);
}

LRESULT CALLBACK TTestWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TTestWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_NCCREATE:
        self = static_cast<TTestWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (self != nullptr) self->Releases.push_back(static_cast<WORD>(wParam));
        // Alt released on its own would open the window menu: never here.
        return 0;
    case WM_SYSKEYDOWN:
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
        break;
    case WM_ERASEBKGND:
        if (self != nullptr) {
            RECT client;
            GetClientRect(hwnd, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, self->Brush);
            return 1;
        }
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool RoundTrip(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, DefaultTimeout, &result) != 0;
}

bool ModuleLoaded(DWORD processId, const char* fileName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    bool found = false;
    for (BOOL more = Module32First(snapshot, &module); more && !found;
         more = Module32Next(snapshot, &module))
        found = lstrcmpiA(module.szModule, fileName) == 0;
    CloseHandle(snapshot);
    return found;
}

POINT ParkingSpot(int menuWidth, int menuHeight) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int centreLeft = (screenWidth - menuWidth) / 2,
              centreTop = (screenHeight - menuHeight) / 2;
    const RECT places[] = {
        {centreLeft, centreTop, centreLeft + menuWidth, centreTop + menuHeight},
        {work.left, work.top, work.left + menuWidth, work.top + menuHeight},
        {work.left, work.bottom - menuHeight, work.left + menuWidth, work.bottom},
        {work.right - menuWidth, work.top, work.right, work.top + menuHeight},
        {work.right - menuWidth, work.bottom - menuHeight, work.right, work.bottom},
    };
    // Keep a margin around every place, and take the free point farthest from them all.
    constexpr int Margin = 16;
    POINT best{0, 0};
    int bestDistance = -1;
    for (int y = Margin; y < screenHeight - Margin; y += 4) {
        for (int x = Margin; x < screenWidth - Margin; x += 4) {
            int distance = screenWidth + screenHeight;
            for (const RECT& place : places) {
                const int dx =
                    static_cast<int>(std::max<long>({place.left - x, x - place.right + 1, 0}));
                const int dy =
                    static_cast<int>(std::max<long>({place.top - y, y - place.bottom + 1, 0}));
                distance = std::min(distance, std::max(dx, dy));
            }
            if (distance > bestDistance) {
                bestDistance = distance;
                best = POINT{x, y};
            }
        }
    }
    return best;
}

POINT ParkPointer() {
    const POINT spot = ParkingSpot();
    SetCursorPos(spot.x, spot.y);
    return spot;
}

TTarget::TTarget(const char* program) {
    const POINT spot = ParkPointer();
    std::string command = "\"";
    command.append(BinFolder()).append("testing\\").append(program).append("\" ");
    command.append(std::to_string(spot.x - 40)).append(" ");
    command.append(std::to_string(spot.y - 30)).append(" 80 60");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return;
    CloseHandle(process.hThread);
    Process = process.hProcess;
    Request = RegisterWindowMessageA("MirtoTestTarget");
    WaitFor([&] {
        Window = FindWindowA("MirtoTestTarget", nullptr);
        DWORD owner = 0;
        GetWindowThreadProcessId(Window, &owner);
        return Window != nullptr && owner == process.dwProcessId && IsWindowVisible(Window);
    });
    Edit = FindWindowExA(Window, nullptr, "Edit", nullptr);
}

TTarget::~TTarget() {
    if (Process == nullptr) return;
    if (Window != nullptr) PostMessageA(Window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(Process, 10000) != WAIT_OBJECT_0) TerminateProcess(Process, 1);
    CloseHandle(Process);
}

bool TTarget::Is32Bit() const {
    BOOL wow64 = FALSE;
    return IsWow64Process(Process, &wow64) && wow64;
}

bool HoldUntilMenu(HWND form, WORD first, WORD second, const std::function<void()>& beforePress) {
    beforePress();
    KeyDown(first);
    KeyDown(second);
    return WaitFor([&] { return IsWindowVisible(form) && GetForegroundWindow() == form; });
}

namespace {
// Memory that the clipboard takes over, with a copy of the data.
HGLOBAL GlobalCopy(const void* data, std::size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    CopyMemory(GlobalLock(block), data, size);
    GlobalUnlock(block);
    return block;
}
} // namespace

TClipboardListener::TClipboardListener() {
    Window =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
    AddClipboardFormatListener(Window);
}

TClipboardListener::~TClipboardListener() {
    RemoveClipboardFormatListener(Window);
    DestroyWindow(Window);
}

LONG_PTR TClipboardListener::Updates() const {
    return UpdateCount;
}

bool TClipboardListener::WaitChangeTaken(LONG_PTR seen, HWND program) const {
    return WaitFor([&] { return Updates() > seen; }) && RoundTrip(program) && RoundTrip(program);
}

bool TClipboardListener::CopyAndWaitRead(const std::wstring& text) {
    if (!WaitFor([&] { return OpenClipboard(Window) != FALSE; })) return false;
    EmptyClipboard();
    Text = text;
    SetClipboardData(CF_UNICODETEXT, nullptr);
    CloseClipboard();
    const LONG_PTR rendered = RenderCount;
    // The reader closes the clipboard after it has read: until then nobody else can copy.
    return WaitFor([&] { return RenderCount > rendered && GetOpenClipboardWindow() == nullptr; });
}

LRESULT CALLBACK TClipboardListener::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& self = *reinterpret_cast<TClipboardListener*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_CLIPBOARDUPDATE:
        ++self.UpdateCount;
        return 0;
    case WM_RENDERFORMAT:
        if (wParam == CF_UNICODETEXT) {
            HGLOBAL block =
                GlobalCopy(self.Text.c_str(), (self.Text.size() + 1) * sizeof(wchar_t));
            if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
            ++self.RenderCount;
        }
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

namespace {
bool PutClipboardData(UINT format, const void* data, std::size_t size, UINT extraFormat) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    const bool put = SetClipboardData(format, GlobalCopy(data, size)) != nullptr;
    if (extraFormat != 0) SetClipboardData(extraFormat, nullptr);
    CloseClipboard();
    return put;
}
} // namespace

bool PutClipboardText(const std::wstring& text, UINT extraFormat) {
    return PutClipboardData(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t),
                            extraFormat);
}

bool PutClipboardPicture() {
    struct {
        BITMAPINFOHEADER Header;
        DWORD Pixel;
    } picture{{sizeof(BITMAPINFOHEADER), 1, 1, 1, 24, BI_RGB, 4, 0, 0, 0, 0}, 0};
    return PutClipboardData(CF_DIB, &picture, sizeof picture, 0);
}

bool TTarget::Focus() const {
    ActivateThroughX(Window);
    SetForegroundWindow(Window);
    return WaitFor([&] { return GetForegroundWindow() == Window; });
}

LRESULT TTarget::Ask(WPARAM request) const {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(Window, Request, request, 0, SMTO_NORMAL, DefaultTimeout, &answer))
        return -2;
    return static_cast<LRESULT>(answer);
}

bool TTarget::Tap(WORD key) const {
    const LRESULT before = Ask(3);
    KeyDown(key);
    KeyUp(key);
    return WaitFor([&] { return Ask(3) > before; });
}

std::wstring TTarget::Text() const {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(Edit, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, DefaultTimeout, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(Edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_NORMAL, DefaultTimeout, &copied);
    text.resize(copied);
    return text;
}

void TTarget::SetText(const std::wstring& text) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(Edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                        DefaultTimeout, &result);
}

HWND FindControl(HWND dialog, int id) {
    struct TFind {
        int Id;
        HWND Found = nullptr;
    } find{id};
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<TFind*>(data);
            if (GetDlgCtrlID(child) != f->Id) return TRUE;
            f->Found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.Found;
}

std::string ControlText(HWND control) {
    char text[1024] = {};
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

void SetControlText(HWND control, const char* text) {
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void ChooseInCombo(HWND combo, int position) {
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void ChooseInList(HWND list, int line) {
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

std::string ListLine(HWND list, int line) {
    // Another program's list answers in UTF-16 whichever form it is asked in: asked so, and
    // turned into the program's own code page.
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(line), 0);
    if (length < 0) return {};
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(line),
                 reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(std::wcslen(wide.c_str()));
    std::string text(wide.size() * 2, '\0');
    const int bytes =
        WideCharToMultiByte(932, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(),
                            static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(static_cast<std::size_t>(std::max(bytes, 0)));
    return text;
}

void ClickButton(HWND button) {
    PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

bool SelectListViewItem(HANDLE process, HWND list, int item) {
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    void* remote = VirtualAllocEx(process, nullptr, sizeof state, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return false;
    const bool written = WriteProcessMemory(process, remote, &state, sizeof state, nullptr);
    if (written)
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(remote));
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return written;
}
