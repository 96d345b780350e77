#include "clipboard/ClipboardWin.h"

#include <algorithm>
#include <vector>

namespace {

constexpr UINT JapaneseCodePage = 932;
constexpr LCID JapaneseLocale = 0x0411;

// Writing a chosen text waits a little for a clipboard that another program holds: the paste
// follows at once and has nothing else to offer.
constexpr int OpenTries = 10;
constexpr DWORD OpenRetryMs = 5;

bool OpenClipboardRetrying(HWND owner) {
    for (int attempt = 0; attempt < OpenTries; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(OpenRetryMs);
    }
    return false;
}

// The formats on the clipboard, asked in one call.
std::vector<UINT> ClipboardFormats() {
    std::vector<UINT> formats(32);
    for (;;) {
        UINT count = 0;
        if (GetUpdatedClipboardFormats(formats.data(), static_cast<UINT>(formats.size()), &count)) {
            formats.resize(count);
            return formats;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || count <= formats.size()) return {};
        formats.resize(count);
    }
}

bool Listed(const std::vector<UINT>& formats, UINT format) {
    return format != 0 && std::find(formats.begin(), formats.end(), format) != formats.end();
}

// Formats by which password managers and the system's own tools mark a content as not to be
// recorded. Their presence counts, whatever their data (one common setter gives none).
bool ExcludedFromRecording(const std::vector<UINT>& formats) {
    static const UINT exclude =
        RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
    static const UINT ignore = RegisterClipboardFormatA("Clipboard Viewer Ignore");
    static const UINT history = RegisterClipboardFormatA("CanIncludeInClipboardHistory");
    if (Listed(formats, exclude) || Listed(formats, ignore)) return true;
    if (Listed(formats, history)) {
        HANDLE data = GetClipboardData(history);
        if (data != nullptr && GlobalSize(data) >= sizeof(DWORD)) {
            const void* value = GlobalLock(data);
            const bool no = value != nullptr && *static_cast<const DWORD*>(value) == 0;
            if (value != nullptr) GlobalUnlock(data);
            return no;
        }
    }
    return false;
}

// The characters of a clipboard memory block up to its first NUL (or its end).
template <class Char> std::basic_string<Char> BlockText(HANDLE data) {
    std::basic_string<Char> text;
    if (data == nullptr) return text;
    const SIZE_T count = GlobalSize(data) / sizeof(Char);
    const auto* chars = static_cast<const Char*>(GlobalLock(data));
    if (chars == nullptr) return text;
    SIZE_T length = 0;
    while (length < count && chars[length] != 0)
        ++length;
    // More characters than bytes may be recorded: too large whatever they convert to.
    if (length <= MaxRecordedText)
        text.assign(chars, length);
    else
        text.assign(MaxRecordedText + 1, Char('x'));
    GlobalUnlock(data);
    return text;
}

std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    const int size =
        WideCharToMultiByte(JapaneseCodePage, 0, text.data(), static_cast<int>(text.size()),
                            nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(JapaneseCodePage, 0, text.data(), static_cast<int>(text.size()),
                            ansi.data(), size, nullptr, nullptr);
    return ansi;
}

std::wstring ToUnicode(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(JapaneseCodePage, 0, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0);
    std::wstring unicode(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(JapaneseCodePage, 0, text.data(), static_cast<int>(text.size()),
                            unicode.data(), size);
    return unicode;
}

// A movable memory block with the bytes, for SetClipboardData (which then owns it).
HGLOBAL Block(const void* bytes, std::size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr) return nullptr;
    void* target = GlobalLock(block);
    if (target == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    CopyMemory(target, bytes, size);
    GlobalUnlock(block);
    return block;
}

bool Put(UINT format, const void* bytes, std::size_t size) {
    HGLOBAL block = Block(bytes, size);
    if (block == nullptr) return false;
    if (SetClipboardData(format, block) != nullptr) return true;
    GlobalFree(block);
    return false;
}

INPUT Key(WORD virtualKey, bool up, bool extended = false) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    input.ki.dwExtraInfo = PasteKeyMark;
    return input;
}

} // namespace

namespace {

// The text of the clipboard, opened by the caller: the formats are looked at once and the text
// is read once.
TClipboardRead ReadOpenClipboard(TClipboardText& text) {
    const std::vector<UINT> formats = ClipboardFormats();
    const bool unicode = Listed(formats, CF_UNICODETEXT);
    if (!unicode && !Listed(formats, CF_TEXT)) return TClipboardRead::NoText;
    if (ExcludedFromRecording(formats)) return TClipboardRead::Excluded;
    if (unicode) {
        text.Unicode = BlockText<wchar_t>(GetClipboardData(CF_UNICODETEXT));
        if (text.Unicode.size() > MaxRecordedText) return TClipboardRead::TooLarge;
        text.Ansi = ToAnsi(text.Unicode);
    } else {
        text.Ansi = BlockText<char>(GetClipboardData(CF_TEXT));
    }
    if (text.Ansi.empty()) return TClipboardRead::NoText;
    return text.Ansi.size() <= MaxRecordedText ? TClipboardRead::Text : TClipboardRead::TooLarge;
}

} // namespace

TClipboardRead ReadClipboardText(HWND owner, TClipboardText& text) {
    text = {};
    // Opened first, so that what is looked at and what is read belong to the same copy.
    if (!OpenClipboard(owner)) return TClipboardRead::Busy;
    const TClipboardRead result = ReadOpenClipboard(text);
    CloseClipboard();
    if (result != TClipboardRead::Text) text = {};
    return result;
}

DWORD WriteClipboardText(HWND owner, const TClipboardText& text) {
    const std::wstring unicode = text.Unicode.empty() ? ToUnicode(text.Ansi) : text.Unicode;
    if (!OpenClipboardRetrying(owner)) return 0;
    bool written = EmptyClipboard() != FALSE;
    written = written && Put(CF_UNICODETEXT, unicode.c_str(), (unicode.size() + 1) * 2);
    written = written && Put(CF_TEXT, text.Ansi.c_str(), text.Ansi.size() + 1);
    const DWORD locale = JapaneseLocale;
    written = written && Put(CF_LOCALE, &locale, sizeof locale);
    CloseClipboard();
    return written ? GetClipboardSequenceNumber() : 0;
}

namespace {

void SendKeys(std::vector<INPUT> keys) {
    SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

// Waits (bounded) while answering what is sent to this thread: activation asks this thread's
// windows, and the keyboard hook's calls come to it, while the wait lasts.
template <typename Done> bool WaitAnswering(DWORD timeoutMs, Done done) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() >= deadline) return false;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE);
    }
}

// Wine on an X display sets an application's keyboard state to the X server's when the X focus
// arrives at it, a window manager's round trip after the menu hid. The X server never saw the
// synthetic keys: a Control pressed before that moment reads as released after it, and a Shift
// the user still holds as down again, so a V typed across that moment types a letter instead of
// pasting. Windows keeps the state it is given.
bool KeyStateResetOnFocus() {
    static const bool wine =
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

// How long the paste waits for that reset before it types V all the same.
constexpr DWORD FocusResetWaitMs = 500;

std::vector<INPUT> PasteModifiers() {
    // Control goes down first: an Alt released after it is no lone Alt, which would open the
    // window's menu bar. Shift and Alt of both hands are released whatever they read as: the
    // application may still think the call key's Shift or Alt down, and the keyboard's state
    // can lag behind the keys (Wine answers from a reading up to 50 ms old).
    std::vector<INPUT> keys{Key(VK_CONTROL, false)};
    for (WORD modifier : {VK_SHIFT, VK_RSHIFT, VK_MENU, VK_RMENU})
        keys.push_back(Key(modifier, true, modifier == VK_RMENU));
    return keys;
}

} // namespace

void PressPasteModifiers() { SendKeys(PasteModifiers()); }

void ReleasePasteModifiers() { SendKeys({Key(VK_CONTROL, true)}); }

void TypePasteKeys() {
    // The reset shows as the Control pressed before reading as released; the state stays as it
    // is given after it, so the modifiers are pressed again. Pressed as the menu hid, Control
    // is down before the reset comes.
    if (KeyStateResetOnFocus() &&
        WaitAnswering(FocusResetWaitMs, [] { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) == 0; }))
        PressPasteModifiers();
    std::vector<INPUT> keys{Key('V', false), Key('V', true), Key(VK_CONTROL, true)};
    if (GetAsyncKeyState(VK_RCONTROL) & 0x8000) keys.push_back(Key(VK_RCONTROL, true, true));
    SendKeys(keys);
}

bool RestoreForeground(HWND window) {
    if (window == nullptr || !IsWindow(window)) return false;
    if (GetForegroundWindow() != window) SetForegroundWindow(window);
    return WaitAnswering(500, [&] { return GetForegroundWindow() == window; });
}
