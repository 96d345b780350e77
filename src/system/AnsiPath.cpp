#include "system/AnsiPath.h"

#include "frame/Platform.h"

namespace {

// The longest path, in bytes without the terminating zero, that the ANSI calls take.
constexpr std::size_t AnsiPathMax = MAX_PATH - 1;

std::wstring Wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

// The ANSI text that gives back exactly the same path; false when the code page lacks one of its
// characters (no best-fit replacement: "é" must not become "e").
bool ExactAnsi(const std::wstring& path, std::string& ansi) {
    if (path.empty()) return false;
    BOOL usedDefault = FALSE;
    const int size = static_cast<int>(path.size());
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(), size,
                                           nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return false;
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(), size, text.data(), length,
                        nullptr, &usedDefault);
    if (usedDefault || Wide(text) != path) return false;
    ansi = std::move(text);
    return true;
}

std::wstring ShortForm(const std::wstring& path) {
    const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (length == 0) return {};
    std::wstring form(length, L'\0');
    const DWORD written = GetShortPathNameW(path.c_str(), form.data(), length);
    if (written == 0 || written >= length) return {};
    form.resize(written);
    return form;
}

} // namespace

bool AnsiPathOf(const std::wstring& path, std::string& ansi, std::wstring& refusal) {
    std::string exact;
    if (ExactAnsi(path, exact)) {
        if (exact.size() <= AnsiPathMax) {
            ansi = std::move(exact);
            return true;
        }
        refusal = Wide("パス \"") + path + Wide("\" は長すぎるため登録できません。");
        return false;
    }
    std::string shortPath;
    if (ExactAnsi(ShortForm(path), shortPath) && shortPath.size() <= AnsiPathMax) {
        ansi = std::move(shortPath);
        return true;
    }
    refusal = Wide("パス \"") + path +
              Wide("\" には使えない文字が含まれているため登録できません。\n"
                   "名前を変えるか、短い名前 (8.3 形式) のある場所に置いてください。");
    return false;
}

void ShowPathRefusal(HWND owner, const std::wstring& refusal) {
    MessageBoxW(owner, refusal.c_str(), Wide(AppCaption).c_str(), MB_ICONSTOP);
}
