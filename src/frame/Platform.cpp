#include "frame/Platform.h"

#include <cstdio>
#include <string_view>

#include <dirent.h>
#include <sys/stat.h>

#include "frame/Errors.h"

#ifdef _WIN32
// The C library's rename refuses to replace an existing file on Windows; the system's move can
// replace it in one step.
extern "C" __declspec(dllimport) int __stdcall MoveFileExA(const char*, const char*, unsigned long);
static bool ReplaceFile(const char* from, const char* to) {
    return MoveFileExA(from, to, 0x1 | 0x8) != 0; // MOVEFILE_REPLACE_EXISTING | WRITE_THROUGH
}
#else
static bool ReplaceFile(const char* from, const char* to) { return std::rename(from, to) == 0; }
#endif

const char* const AppCaption = "てんみ";

bool TPlatform::IsLeadByte(unsigned char byte) const {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

int TPlatform::ScanKey(char character) const {
    // Japanese 106/109 layout: the punctuation of the key-name list and the letters.
    if (character >= 'A' && character <= 'Z') return 0x100 | character;
    if (character >= 'a' && character <= 'z') return character - 32;
    if (character >= '0' && character <= '9') return character;
    switch (character) {
    case ':': return 0xBA;
    case ';': return 0xBB;
    case '^': return 0xDE;
    case '<': return 0x100 | 0xBC;
    case '-': return 0xBD;
    case '>': return 0x100 | 0xBE;
    case '?': return 0x100 | 0xBF;
    case '_': return 0x100 | 0xE2;
    case '@': return 0xC0;
    case '[': return 0xDB;
    case ']': return 0xDD;
    case ' ': return 0x20;
    default: return -1;
    }
}

bool TPlatform::FileExists(const std::string& path) const {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

bool TPlatform::ReadWholeFile(const std::string& path, std::string& bytes) const {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes.clear();
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool TPlatform::ReadFileWithin(const std::string& path, std::size_t limit,
                               std::string& bytes) const {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::string content;
    char buffer[65536];
    bool ok = true;
    for (;;) {
        // One byte past the limit tells a file of exactly the limit from a larger one.
        const std::size_t room = limit - content.size();
        const std::size_t want = room < sizeof buffer ? room + 1 : sizeof buffer;
        const std::size_t n = std::fread(buffer, 1, want, f);
        if (n > room) {
            ok = false;
            break;
        }
        content.append(buffer, n);
        if (n < want) {
            ok = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    if (ok) bytes = std::move(content);
    return ok;
}

void TPlatform::WriteWholeFile(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".new";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) throw EFileError("ファイル \"" + path + "\" を作成できません。");
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok || !ReplaceFile(temp.c_str(), path.c_str())) {
        std::remove(temp.c_str());
        throw EFileError("ファイル \"" + path + "\" に書き込めません。");
    }
}

bool TPlatform::RemoveFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

static bool SameAsciiByte(char a, char b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return lower(a) == lower(b);
}

std::vector<std::string> TPlatform::ListFiles(const std::string& folder,
                                              const std::string& pattern) const {
    std::vector<std::string> names;
    const bool anyStart = !pattern.empty() && pattern[0] == '*';
    const std::string_view ending = anyStart ? std::string_view(pattern).substr(1) : pattern;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() < ending.size() || (!anyStart && name.size() != ending.size())) continue;
        bool match = true;
        for (std::size_t i = 0; i < ending.size() && match; ++i)
            match = SameAsciiByte(name[name.size() - ending.size() + i], ending[i]);
        struct stat status;
        if (match && stat((folder + name).c_str(), &status) == 0 && !S_ISDIR(status.st_mode))
            names.push_back(name);
    }
    closedir(dir);
    return names;
}

int TPlatform::ShowMessage(const std::string& text, unsigned) {
    std::fprintf(stderr, "%s: %s\n", AppCaption, text.c_str());
    return 1;
}

namespace {
TPlatform DefaultPlatform;
TPlatform* Current = &DefaultPlatform;
} // namespace

TPlatform& Platform() { return *Current; }

void SetPlatform(TPlatform* platform) { Current = platform ? platform : &DefaultPlatform; }
