#pragma once
// What the kernel knows of a Wine process: under Wine each Windows process is a Linux process,
// whose figures are read through drive Z: (Windows itself keeps no such count for another
// process, and Wine answers 0 for other processes' CPU times and private memory).
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "Harness.h"

namespace bench {

// The numeric entries of a /proc folder.
template <class Visit> inline void ForEachNumbered(const std::string& folder, Visit visit) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.cFileName[0] >= '0' && found.cFileName[0] <= '9')
            if (!visit(std::string(found.cFileName))) break;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// The Linux process of this Wine prefix whose command line contains the text; empty when none
// (or no /proc). Other prefixes on the machine number their processes, and so the harness's
// folders, on their own: only a process with this prefix in its environment is ours.
inline std::string LinuxProcessWith(const std::string& needle) {
    char prefix[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
    const std::string ours =
        length > 0 && length < MAX_PATH ? std::string("WINEPREFIX=") + prefix + '\0' : "";
    std::string result;
    ForEachNumbered("Z:\\proc\\", [&](const std::string& pid) {
        std::string commandLine = ReadWholeFile("Z:\\proc\\" + pid + "\\cmdline");
        std::replace(commandLine.begin(), commandLine.end(), '\0', ' ');
        if (commandLine.find(needle) == std::string::npos) return true;
        if (!ours.empty() &&
            ('\0' + ReadWholeFile("Z:\\proc\\" + pid + "\\environ")).find('\0' + ours) ==
                std::string::npos)
            return true;
        result = pid;
        return false;
    });
    return result;
}

inline long long ValueAfter(const std::string& text, const char* key) {
    const size_t at = text.find(key);
    if (at == std::string::npos) return 0;
    return std::strtoll(text.c_str() + at + std::strlen(key), nullptr, 10);
}

struct TSample {
    bool Known = false;
    double CpuMs = 0;
    long long WakeUps = 0;
};

inline TSample Sample(const std::string& pid) {
    TSample sample;
    if (pid.empty()) return sample;
    const std::string tasks = "Z:\\proc\\" + pid + "\\task\\";
    ForEachNumbered(tasks, [&](const std::string& tid) {
        const std::string schedstat = ReadWholeFile(tasks + tid + "\\schedstat");
        const std::string status = ReadWholeFile(tasks + tid + "\\status");
        if (schedstat.empty() || status.empty()) return true;
        sample.Known = true;
        sample.CpuMs += static_cast<double>(std::strtoll(schedstat.c_str(), nullptr, 10)) / 1e6;
        // "nonvoluntary_..." contains "voluntary_...": the line start tells them apart.
        sample.WakeUps += ValueAfter(status, "\nvoluntary_ctxt_switches:") +
                          ValueAfter(status, "\nnonvoluntary_ctxt_switches:");
        return true;
    });
    return sample;
}

// Private memory from /proc/<pid>/smaps_rollup. Dirty is what the process alone holds; clean
// pages are file pages only it maps (its images, fonts), which the system can drop and read again.
struct TPrivate {
    long long CleanKiB = -1;
    long long DirtyKiB = -1;
    long long TotalKiB() const { return CleanKiB < 0 ? -1 : CleanKiB + DirtyKiB; }
};

inline TPrivate PrivateMemory(const std::string& pid) {
    TPrivate memory;
    if (pid.empty()) return memory;
    const std::string rollup = ReadWholeFile("Z:\\proc\\" + pid + "\\smaps_rollup");
    if (rollup.empty()) return memory;
    memory.CleanKiB = ValueAfter(rollup, "\nPrivate_Clean:");
    memory.DirtyKiB = ValueAfter(rollup, "\nPrivate_Dirty:");
    return memory;
}

inline long long PrivateKiB(const std::string& pid) { return PrivateMemory(pid).TotalKiB(); }

// The kind of memory a mapping of /proc/<pid>/smaps holds, as the breakdown names it.
inline const char* UnixHeap = "Unix heap (brk: X11, fonts)";
inline const char* UnixLibraries = "Wine's Unix libraries (.so)";
inline const char* OtherFiles = "other files";
inline const char* Anonymous = "anonymous (heaps, bitmaps, stacks)";

// Private dirty KiB of a process by where it lies: each Windows module's image by its name (the
// Linux and Windows addresses of a Wine process are the same), Wine's Unix libraries, the Unix
// heap, other files and the anonymous rest. The process handle needs query and read rights.
inline std::map<std::string, long long> DirtyByPlace(const std::string& pid, HANDLE process) {
    struct TModule {
        ULONG_PTR Base, End;
        std::string Name;
    };
    std::vector<TModule> modules;
    HMODULE handles[512];
    DWORD needed = 0;
    if (process && EnumProcessModulesEx(process, handles, sizeof handles, &needed, LIST_MODULES_ALL)) {
        const DWORD count = std::min<DWORD>(needed / sizeof(HMODULE), 512);
        for (DWORD i = 0; i < count; ++i) {
            MODULEINFO info{};
            char name[MAX_PATH] = {};
            if (!GetModuleInformation(process, handles[i], &info, sizeof info)) continue;
            GetModuleBaseNameA(process, handles[i], name, MAX_PATH);
            // One module may be named in either case, as each loader asked for it.
            CharLowerA(name);
            const auto base = reinterpret_cast<ULONG_PTR>(info.lpBaseOfDll);
            modules.push_back({base, base + info.SizeOfImage, name});
        }
    }
    std::map<std::string, long long> places;
    if (pid.empty()) return places;
    const std::string smaps = ReadWholeFile("Z:\\proc\\" + pid + "\\smaps");
    std::string place;
    size_t at = 0;
    while (at < smaps.size()) {
        size_t end = smaps.find('\n', at);
        if (end == std::string::npos) end = smaps.size();
        const std::string line = smaps.substr(at, end - at);
        at = end + 1;
        const size_t dash = line.find('-');
        const bool header = dash != std::string::npos && dash > 0 &&
                            line.find_first_not_of("0123456789abcdef") == dash;
        if (header) {
            const ULONG_PTR start = std::strtoull(line.c_str(), nullptr, 16);
            // The sixth field, when present, names the mapped file.
            std::string path;
            size_t field = 0, i = 0;
            while (field < 5 && i < line.size()) {
                i = line.find(' ', i);
                if (i == std::string::npos) break;
                i = line.find_first_not_of(' ', i);
                if (i == std::string::npos) break;
                ++field;
            }
            if (field == 5 && i != std::string::npos) path = line.substr(i);
            place.clear();
            for (const TModule& module : modules)
                if (start >= module.Base && start < module.End) place = "image " + module.Name;
            if (!place.empty()) continue;
            if (path == "[heap]")
                place = UnixHeap;
            else if (path.find(".so") != std::string::npos && path[0] == '/')
                place = UnixLibraries;
            else if (!path.empty() && path[0] == '/')
                place = OtherFiles;
            else
                place = Anonymous;
        } else if (line.rfind("Private_Dirty:", 0) == 0 && !place.empty()) {
            places[place] += std::strtoll(line.c_str() + 14, nullptr, 10);
        }
    }
    return places;
}

// The Linux process of a program in the folder (a path ending with a backslash).
inline std::string LinuxProcessOf(const std::string& folder, const char* program) {
    std::string name = folder.substr(0, folder.size() - 1);
    name = name.substr(name.find_last_of('\\') + 1);
    return LinuxProcessWith(name.append("\\").append(program));
}

} // namespace bench
