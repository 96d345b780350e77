#include "system/BFolder.h"

#include <ole2.h>
#include <shlwapi.h>

#include "frame/StringList.h"
#include "system/AnsiPath.h"

namespace {

constexpr UINT OldStyleFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
constexpr UINT NewStyleFlags = OldStyleFlags | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
static_assert(OldStyleFlags == 5 && NewStyleFlags == 85);
static_assert(BFFM_SETSELECTIONA == 1126 && BFFM_SETSTATUSTEXTA == 1124);

// The shell library from which the new dialog style exists: 5.0.
constexpr DWORD FirstNewStyleVersion = 0x50000;
// Buffers for display names and paths from the shell.
constexpr int ShellPathSize = 264;

// The chooser whose dialog is open, and that dialog; the shell's callback has no other way back
// to the object.
TBrowseForFolder* Route = nullptr;
HWND RouteDialog = nullptr;

// The new-style dialog is an OLE container; the component library may already be set up by the
// program, in which case this only counts up and down.
class TOleScope {
public:
    TOleScope() : FResult(OleInitialize(nullptr)) {}
    ~TOleScope() {
        if (SUCCEEDED(FResult)) OleUninitialize();
    }
    TOleScope(const TOleScope&) = delete;
    TOleScope& operator=(const TOleScope&) = delete;

private:
    HRESULT FResult;
};

std::string PathOfItem(LPCITEMIDLIST item) {
    char path[ShellPathSize] = {};
    if (item == nullptr || !SHGetPathFromIDListA(item, path)) return {};
    return path;
}

// The chosen folder's path in UTF-16 and at its whole length; empty when it has none.
std::wstring WidePathOfItem(PCIDLIST_ABSOLUTE item) {
    std::wstring path(32768, L'\0');
    if (!SHGetPathFromIDListEx(item, path.data(), static_cast<DWORD>(path.size()),
                               GPFIDL_DEFAULT))
        return {};
    path.resize(path.find(L'\0'));
    return path;
}

} // namespace

TBrowseForFolder::TBrowseForFolder() : TBrowseForFolder(GetDllVersion("Shell32.dll")) {}

TBrowseForFolder::TBrowseForFolder(DWORD shellVersion)
    : Title("フォルダを選択してください。"),
      FNewStyleAvailable(shellVersion >= FirstNewStyleVersion), FNewStyle(FNewStyleAvailable) {}

TBrowseForFolder::~TBrowseForFolder() {
    if (Route == this) Route = nullptr;
}

void TBrowseForFolder::SetNewStyle(bool value) {
    if (value != FNewStyle && (!value || FNewStyleAvailable)) FNewStyle = value;
}

DWORD TBrowseForFolder::GetDllVersion(const std::string& fileName) {
    HMODULE library = LoadLibraryA(fileName.c_str());
    if (library == nullptr) return 0;
    DWORD version = 0;
    using TDllGetVersion = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
    auto getVersion = reinterpret_cast<TDllGetVersion>(
        reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
    if (getVersion != nullptr) {
        DLLVERSIONINFO info{};
        info.cbSize = sizeof info;
        static_assert(sizeof info == 20);
        if (SUCCEEDED(getVersion(&info)))
            version = (info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF);
    }
    FreeLibrary(library);
    return version;
}

PIDLIST_ABSOLUTE TBrowseForFolder::GetItemIDList(const std::string& folder) {
    if (folder.empty()) return nullptr;
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop))) return nullptr;
    wchar_t wide[MAX_PATH + 1] = {};
    PIDLIST_RELATIVE item = nullptr;
    if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, folder.c_str(), -1, wide, MAX_PATH + 1) == 0 ||
        FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide, nullptr, &item, nullptr)))
        item = nullptr;
    desktop->Release();
    // Parsed by the desktop, the list is relative to the namespace's root: an absolute one.
    return reinterpret_cast<PIDLIST_ABSOLUTE>(item);
}

bool TBrowseForFolder::Execute() {
    TOleScope ole;
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator))) return false;

    char displayName[ShellPathSize] = {};
    PIDLIST_ABSOLUTE start = GetItemIDList(Directory);
    BROWSEINFOA info{};
    info.hwndOwner = GetActiveWindow();
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = Title.c_str();
    info.ulFlags = FNewStyle ? NewStyleFlags : OldStyleFlags;
    info.lpfn = ExplorerHook;
    info.lParam = reinterpret_cast<LPARAM>(start);

    Route = this;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
    Route = nullptr;
    RouteDialog = nullptr;
    FDialog = nullptr;

    bool result = false;
    if (chosen != nullptr) {
        // A folder the program cannot keep as it is (too long, or characters outside the code
        // page without a short form that has none) is refused with a message, never cut.
        const std::wstring wide = WidePathOfItem(chosen);
        std::string path;
        std::wstring refusal;
        if (AnsiPathOf(wide, path, refusal)) {
            Directory = std::move(path);
            result = true;
        } else if (!wide.empty()) {
            ShowPathRefusal(info.hwndOwner, refusal);
        }
        allocator->Free(chosen);
    }
    if (start != nullptr) allocator->Free(start);
    allocator->Release();
    return result;
}

int CALLBACK TBrowseForFolder::ExplorerHook(HWND dialog, UINT message, LPARAM param, LPARAM data) {
    RouteDialog = dialog;
    if (Route == nullptr) return 0;
    TBrowseMessage record{message, param, data, 0};
    try {
        Route->WndProc(record);
    } catch (...) {
        // Nothing may unwind through the shell's dialog.
    }
    return record.Result;
}

void TBrowseForFolder::WndProc(TBrowseMessage& message) {
    FDialog = RouteDialog;
    switch (message.Msg) {
    case BFFM_INITIALIZED:
        // The start folder goes as an item list (FALSE): a path would need the file system's
        // spelling, the list is what the desktop parsed.
        SendMessageA(FDialog, BFFM_SETSELECTIONA, FALSE, message.Data);
        break;
    case BFFM_SELCHANGED: {
        const std::string path = PathOfItem(reinterpret_cast<LPCITEMIDLIST>(message.Param));
        if (FNewStyle) {
            if (TrimText(path).empty()) DisableOkButton();
        } else {
            SendMessageA(FDialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path.c_str()));
        }
        break;
    }
    default:
        break;
    }
}

// The new-style dialog has no status line and would accept a virtual folder such as the
// printers: its OK button is found by its text and disabled.
void TBrowseForFolder::DisableOkButton() const {
    for (HWND child = GetWindow(FDialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char text[64] = {};
        GetWindowTextA(child, text, sizeof text);
        if (SameText(TrimText(text), "OK")) {
            EnableWindow(child, FALSE);
            return;
        }
    }
}
