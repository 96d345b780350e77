#include "LaunchHarness.h"

#include <tlhelp32.h>

#include <cstdlib>

#include "Harness.h"

namespace {

std::string LongPath(const std::string& path) {
    char buffer[MAX_PATH * 2] = {};
    const DWORD length = GetLongPathNameA(path.c_str(), buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return path;
    return std::string(buffer, length);
}

// Whether path lies inside folder (folder ends with a backslash); both in their long form,
// compared without regard to letter case.
bool Inside(const std::string& path, const std::string& folder) {
    const std::string longPath = LongPath(path);
    const std::string longFolder = LongPath(folder);
    return longPath.size() > longFolder.size() &&
           CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, longPath.c_str(),
                          static_cast<int>(longFolder.size()), longFolder.c_str(),
                          static_cast<int>(longFolder.size())) == CSTR_EQUAL;
}

std::string ProcessImage(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) return {};
    char buffer[MAX_PATH * 2] = {};
    DWORD length = sizeof buffer;
    std::string image;
    if (QueryFullProcessImageNameA(process, 0, buffer, &length)) image.assign(buffer, length);
    CloseHandle(process);
    return image;
}

void SetDefaultValue(const std::string& key, const std::string& value, bool& ok) {
    HKEY handle;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS) {
        ok = false;
        return;
    }
    ok = ok &&
         RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(handle);
}

} // namespace

bool CopyBuiltProgram(const std::string& name, const std::string& destination) {
    return CopyFileA((BinFolder() + name).c_str(), destination.c_str(), FALSE) != FALSE;
}

bool TScreenShot::Take(HWND window) {
    const RECT rect = WindowRect(window);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool taken = false;
    if (bitmap != nullptr) {
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, bitmap);
        taken = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
        GdiFlush();
        if (taken) {
            const auto* pixels = static_cast<const DWORD*>(bits);
            FPixels.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
            FWidth = width;
            FHeight = height;
        }
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(bitmap);
    }
    ReleaseDC(nullptr, screen);
    return taken;
}

COLORREF TScreenShot::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return RGB(0, 0, 0);
    const DWORD p = FPixels[static_cast<std::size_t>(y) * FWidth + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int TScreenShot::Count(const RECT& rect, const std::function<bool(COLORREF)>& accept) const {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (accept(Pixel(x, y))) ++count;
    return count;
}

bool TScreenShot::Differs(const TScreenShot& other, const RECT& rect) const {
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (Pixel(x, y) != other.Pixel(x, y)) return true;
    return false;
}

bool TScreenShot::Save(const std::string& path) const {
    if (FWidth <= 0 || FHeight <= 0) return false;
    const int stride = (FWidth * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = FWidth;
    header.biHeight = FHeight; // bottom-up, as every viewer reads it
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(stride) * FHeight;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    std::string row(static_cast<std::size_t>(stride), '\0');
    for (int y = FHeight - 1; y >= 0; --y) {
        for (int x = 0; x < FWidth; ++x) {
            const DWORD p = FPixels[static_cast<std::size_t>(y) * FWidth + x];
            row[x * 3] = static_cast<char>(p & 0xFF);
            row[x * 3 + 1] = static_cast<char>((p >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<char>((p >> 16) & 0xFF);
        }
        bytes += row;
    }
    // Written under another name and moved into place, so that no half picture is left.
    const std::string part = path + ".part";
    HANDLE handle = CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(handle);
    return ok && MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::string ShotFolder() {
    std::string folder;
    if (const char* shots = std::getenv("MIRTO_E2E_SHOTS"); shots != nullptr && *shots != '\0') {
        folder = shots;
        if (folder[0] == '/') folder = "Z:" + folder;
        for (char& c : folder)
            if (c == '/') c = '\\';
        if (folder.back() != '\\') folder += '\\';
    } else {
        folder = BinFolder() + "..\\..\\e2e-shots\\";
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::map<std::string, std::string> ReadRecord(const std::string& path) {
    std::map<std::string, std::string> record;
    const std::string text = ReadWholeFile(path);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) record[line.substr(0, equals)] = line.substr(equals + 1);
        start = end + 2;
    }
    return record;
}

std::vector<DWORD> ProcessesIn(const std::string& folder, DWORD except) {
    std::vector<DWORD> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return found;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == except || entry.th32ProcessID == GetCurrentProcessId()) continue;
        // The program's hook companion runs as long as the program does.
        if (except != 0 && entry.th32ParentProcessID == except &&
            lstrcmpiA(entry.szExeFile, "Hook32.exe") == 0)
            continue;
        const std::string image = ProcessImage(entry.th32ProcessID);
        if (!image.empty() && Inside(image, folder)) found.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return found;
}

bool EndProcessesIn(const std::string& folder, DWORD except, DWORD timeoutMs) {
    if (WaitFor([&] { return ProcessesIn(folder, except).empty(); }, timeoutMs)) return true;
    for (DWORD id : ProcessesIn(folder, except)) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process == nullptr) continue;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
    return false;
}

TFileAssociation::TFileAssociation(const std::string& extension, const std::string& className,
                                   const std::string& command)
    : FExtension(extension), FClassName(className) {
    bool ok = true;
    SetDefaultValue(extension, className, ok);
    SetDefaultValue(className + "\\shell\\open\\command", command, ok);
    FRegistered = ok;
}

TFileAssociation::~TFileAssociation() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, FExtension.c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, FExtension.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, FClassName.c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, FClassName.c_str());
}

TSchemeHandler::TSchemeHandler(const std::string& scheme, const std::string& command)
    : FScheme(scheme) {
    const std::string key = scheme + "\\shell\\open\\command";
    char former[2048] = {};
    DWORD size = sizeof former;
    FHadFormer = RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                              former, &size) == ERROR_SUCCESS;
    if (FHadFormer) FFormer = former;
    bool ok = true;
    SetDefaultValue(key, command, ok);
    FRegistered = ok;
}

TSchemeHandler::~TSchemeHandler() {
    if (FHadFormer) {
        bool ok = true;
        SetDefaultValue(FScheme + "\\shell\\open\\command", FFormer, ok);
    } else {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, FScheme.c_str());
        RegDeleteKeyA(HKEY_CLASSES_ROOT, FScheme.c_str());
    }
}

bool ThreadHasComApartment(DWORD thread) {
    HWND window = nullptr;
    while ((window = FindWindowExA(HWND_MESSAGE, window, "OleMainThreadWndClass", nullptr)))
        if (GetWindowThreadProcessId(window, nullptr) == thread) return true;
    return false;
}

std::vector<TForeignWindow> WindowsWithCaption(const std::string& text) {
    struct TSearch {
        const std::string& Text;
        std::vector<TForeignWindow> Found;
    } search{text, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& search = *reinterpret_cast<TSearch*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
            char caption[1024] = {};
            GetWindowTextA(window, caption, sizeof caption);
            if (std::string(caption).find(search.Text) != std::string::npos)
                search.Found.push_back({window, owner, caption});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

void CloseForeignWindow(const TForeignWindow& window, DWORD timeoutMs) {
    // The desktop's own process also runs the shell's windows on some systems: that one stays,
    // only the window goes.
    DWORD desktopProcess = 0;
    GetWindowThreadProcessId(GetDesktopWindow(), &desktopProcess);
    HANDLE process = window.ProcessId == desktopProcess
                         ? nullptr
                         : OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, window.ProcessId);
    PostMessageA(window.Window, WM_CLOSE, 0, 0);
    WaitFor([&] { return !IsWindow(window.Window) || !IsWindowVisible(window.Window); }, timeoutMs);
    if (process != nullptr) {
        if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 10000);
        }
        CloseHandle(process);
    }
}

double Coverage(COLORREF pixel, COLORREF background, COLORREF text) {
    const auto sum = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    return double(sum(background) - sum(pixel)) / double(sum(background) - sum(text));
}

int InkHeight(const char* text, int dpi, int points) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 150);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    LOGFONTA description{};
    description.lfHeight = -MulDiv(points, dpi, 72);
    description.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpyA(description.lfFaceName, "ＭＳ Ｐゴシック");
    HFONT font = CreateFontIndirectA(&description);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT all{0, 0, 400, 150};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, 10, 10, text, lstrlenA(text));
    int first = -1, last = -1;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 400; ++x)
            if (Coverage(GetPixel(dc, x, y), RGB(255, 255, 255), RGB(0, 0, 0)) >= 0.5) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return first < 0 ? 0 : last - first + 1;
}

int FirstInkRun(const TScreenShot& shot, const RECT& panel, COLORREF background, COLORREF text) {
    int first = -1;
    for (int y = panel.top; y < panel.bottom; ++y) {
        const bool ink = shot.Count(RECT{panel.left, y, panel.right, y + 1}, [&](COLORREF c) {
            return Coverage(c, background, text) >= 0.5;
        }) > 0;
        if (ink && first < 0) first = y;
        if (!ink && first >= 0) return y - first;
    }
    return 0;
}
