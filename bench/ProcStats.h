#pragma once
// What the kernel knows of a Wine process: under Wine each Windows process is a Linux process,
// whose figures are read through drive Z: (Windows itself keeps no such count for another
// process, and Wine answers 0 for other processes' CPU times and private memory).
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

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

// The Linux process whose command line contains the text; empty when none (or no /proc).
inline std::string LinuxProcessWith(const std::string& needle) {
    std::string result;
    ForEachNumbered("Z:\\proc\\", [&](const std::string& pid) {
        std::string commandLine = ReadWholeFile("Z:\\proc\\" + pid + "\\cmdline");
        std::replace(commandLine.begin(), commandLine.end(), '\0', ' ');
        if (commandLine.find(needle) == std::string::npos) return true;
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

inline long long PrivateKiB(const std::string& pid) {
    if (pid.empty()) return -1;
    const std::string rollup = ReadWholeFile("Z:\\proc\\" + pid + "\\smaps_rollup");
    if (rollup.empty()) return -1;
    return ValueAfter(rollup, "\nPrivate_Clean:") + ValueAfter(rollup, "\nPrivate_Dirty:");
}

// The Linux process of a program in the folder (a path ending with a backslash).
inline std::string LinuxProcessOf(const std::string& folder, const char* program) {
    std::string name = folder.substr(0, folder.size() - 1);
    name = name.substr(name.find_last_of('\\') + 1);
    return LinuxProcessWith(name.append("\\").append(program));
}

} // namespace bench
