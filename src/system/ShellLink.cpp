#include "system/ShellLink.h"

#include <windows.h>

#include <shlobj.h>

#include <intshcut.h>

#include <cstring>

namespace {
// The component library for the length of one operation.
class TComScope {
public:
    TComScope() : FResult(CoInitialize(nullptr)) {}
    ~TComScope() {
        if (SUCCEEDED(FResult)) CoUninitialize();
    }
    TComScope(const TComScope&) = delete;
    TComScope& operator=(const TComScope&) = delete;

private:
    HRESULT FResult;
};

// Owns one interface pointer.
template <class T> class TComPtr {
public:
    TComPtr() = default;
    ~TComPtr() {
        if (FPointer != nullptr) FPointer->Release();
    }
    TComPtr(const TComPtr&) = delete;
    TComPtr& operator=(const TComPtr&) = delete;
    T* operator->() const { return FPointer; }
    T* Get() const { return FPointer; }
    void** Out() { return reinterpret_cast<void**>(&FPointer); }

private:
    T* FPointer = nullptr;
};

// File names go to the shell's file objects in UTF-16: at most MAX_PATH characters, else empty.
std::wstring WideFileName(const std::string& name) {
    wchar_t wide[MAX_PATH] = {};
    if (MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide, MAX_PATH) == 0) return {};
    return wide;
}

// A buffer of MAX_PATH characters holding the text (cut to fit).
struct TPathBuffer {
    explicit TPathBuffer(const std::string& initial = {}) {
        lstrcpynA(Text, initial.c_str(), MAX_PATH);
    }
    char Text[MAX_PATH];
    std::string Value() const { return std::string(Text, strnlen(Text, MAX_PATH)); }
};

bool LoadFile(IUnknown* object, const std::string& fileName, TComPtr<IPersistFile>& file) {
    if (FAILED(object->QueryInterface(IID_IPersistFile, file.Out()))) return false;
    const std::wstring wide = WideFileName(fileName);
    return !wide.empty() && SUCCEEDED(file->Load(wide.c_str(), STGM_READ));
}

// The target through IShellLinkA: the buffer first holds the file's own name, the target comes
// back in short form.
bool GetShortTarget(IShellLinkA* link, const std::string& fileName, std::string& path) {
    TPathBuffer buffer(fileName);
    WIN32_FIND_DATAA found{};
    if (link->GetPath(buffer.Text, MAX_PATH, &found, SLGP_SHORTPATH) != S_OK) return false;
    path = buffer.Value();
    return true;
}

// The Internet shortcut's fields from its file, for a shell whose shortcut object gives the
// address but not the link interface: the file is a settings file with an [InternetShortcut]
// section.
bool ReadUrlFields(const std::string& fileName, TUrlData& url, bool withAddress) {
    const char* section = "InternetShortcut";
    const char* missing = "\x01";
    bool any = false;
    auto read = [&](const char* key, std::string& value) {
        char buffer[MAX_PATH * 4];
        GetPrivateProfileStringA(section, key, missing, buffer, sizeof buffer, fileName.c_str());
        if (std::strcmp(buffer, missing) == 0) return false;
        value = buffer;
        return true;
    };
    std::string text;
    if (withAddress && read("URL", text)) {
        url.Url = text;
        any = true;
    }
    if (read("HotKey", text)) {
        url.HotKey = static_cast<std::uint16_t>(std::strtoul(text.c_str(), nullptr, 10));
        any = true;
    }
    if (read("IconFile", text)) {
        url.IconPath = text;
        if (read("IconIndex", text)) url.IconIndex = std::strtol(text.c_str(), nullptr, 10);
        any = true;
    }
    return any;
}
} // namespace

bool WriteShellLink(const std::string& fileName, const TLinkData& data) {
    TComScope com;
    TComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.Out())))
        return false;
    TComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Out()))) return false;
    if (data.Path) link->SetPath(data.Path->c_str());
    if (data.Arguments) link->SetArguments(data.Arguments->c_str());
    link->SetHotkey(data.HotKey);
    link->SetShowCmd(data.ShowCmd);
    if (data.Description) link->SetDescription(data.Description->c_str());
    if (data.IconPath) link->SetIconLocation(data.IconPath->c_str(), data.IconIndex);
    if (data.WorkDir) link->SetWorkingDirectory(data.WorkDir->c_str());
    const std::wstring wide = WideFileName(fileName);
    return !wide.empty() && SUCCEEDED(file->Save(wide.c_str(), TRUE));
}

bool ReadShellLink(const std::string& fileName, TLinkData& data) {
    TComScope com;
    TComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.Out())))
        return false;
    TComPtr<IPersistFile> file;
    if (!LoadFile(link.Get(), fileName, file)) return false;

    bool any = false;
    std::string path;
    if (GetShortTarget(link.Get(), fileName, path)) {
        // Some shells (Wine) give the long form whatever the flag asks: shorten it here.
        char shortPath[MAX_PATH];
        const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
        if (length > 0 && length < MAX_PATH) path = shortPath;
        data.Path = path;
        any = true;
    }
    TPathBuffer buffer;
    if (link->GetArguments(buffer.Text, MAX_PATH) == S_OK) {
        data.Arguments = buffer.Value();
        any = true;
    }
    buffer = TPathBuffer();
    if (link->GetWorkingDirectory(buffer.Text, MAX_PATH) == S_OK) {
        data.WorkDir = buffer.Value();
        any = true;
    }
    WORD hotKey = 0;
    if (link->GetHotkey(&hotKey) == S_OK) {
        data.HotKey = hotKey;
        any = true;
    }
    int showCmd = 0;
    if (link->GetShowCmd(&showCmd) == S_OK) {
        ReadLinkFileShowCmd(fileName, showCmd);
        data.ShowCmd = showCmd;
        any = true;
    }
    buffer = TPathBuffer();
    if (link->GetDescription(buffer.Text, MAX_PATH) == S_OK) {
        data.Description = buffer.Value();
        any = true;
    }
    buffer = TPathBuffer();
    int iconIndex = 0;
    if (link->GetIconLocation(buffer.Text, MAX_PATH, &iconIndex) == S_OK) {
        data.IconPath = buffer.Value();
        data.IconIndex = iconIndex;
        any = true;
    }
    return any;
}

bool ReadLinkFileShowCmd(const std::string& fileName, int& showCmd) {
    // The shell link header: its size 0x4C, the link class, and the show command at 0x3C.
    static const unsigned char linkClass[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    unsigned char header[0x4C] = {};
    HANDLE file = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD read = 0;
    const bool whole =
        ReadFile(file, header, sizeof header, &read, nullptr) && read == sizeof header;
    CloseHandle(file);
    if (!whole || header[0] != 0x4C || header[1] != 0 || header[2] != 0 || header[3] != 0 ||
        std::memcmp(header + 4, linkClass, sizeof linkClass) != 0)
        return false;
    std::int32_t value;
    std::memcpy(&value, header + 0x3C, sizeof value);
    showCmd = value;
    return true;
}

bool ReadUrlShortcut(const std::string& fileName, TUrlData& data) {
    TComScope com;
    TComPtr<IUnknown> object;
    if (FAILED(CoCreateInstance(CLSID_InternetShortcut, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                object.Out()))) {
        // No shortcut object on this system: the file itself holds the fields.
        if (GetFileAttributesA(fileName.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
        return ReadUrlFields(fileName, data, true);
    }
    TComPtr<IPersistFile> file;
    if (!LoadFile(object.Get(), fileName, file)) return false;

    TComPtr<IShellLinkA> link;
    if (SUCCEEDED(object->QueryInterface(IID_IShellLinkA, link.Out()))) {
        bool any = false;
        std::string url;
        if (GetShortTarget(link.Get(), fileName, url)) {
            data.Url = url;
            any = true;
        }
        WORD hotKey = 0;
        if (link->GetHotkey(&hotKey) == S_OK) {
            data.HotKey = hotKey;
            any = true;
        }
        TPathBuffer buffer;
        int iconIndex = 0;
        if (link->GetIconLocation(buffer.Text, MAX_PATH, &iconIndex) == S_OK) {
            data.IconPath = buffer.Value();
            data.IconIndex = iconIndex;
            any = true;
        }
        return any;
    }

    // A shortcut object that only answers for its address: the other fields come from the file.
    bool any = false;
    TComPtr<IUniformResourceLocatorA> locator;
    if (SUCCEEDED(object->QueryInterface(IID_IUniformResourceLocatorA, locator.Out()))) {
        LPSTR url = nullptr;
        if (locator->GetURL(&url) == S_OK && url != nullptr) {
            data.Url = url;
            any = true;
        }
        if (url != nullptr) CoTaskMemFree(url);
    }
    return ReadUrlFields(fileName, data, false) || any;
}

std::string GetSpecialFolderPath(int csidl, void* owner) {
    TComScope com;
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(static_cast<HWND>(owner), csidl, &items))) return {};
    char path[MAX_PATH] = {};
    const bool found = SHGetPathFromIDListA(items, path) != FALSE;
    CoTaskMemFree(items);
    return found ? std::string(path) : std::string();
}

std::string GetStartupFolderPath(void* owner) {
    return GetSpecialFolderPath(CSIDL_STARTUP, owner);
}
