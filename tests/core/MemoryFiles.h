#pragma once
// A file system in memory for the core's tests: paths are plain keys, so every byte that is read
// or written shows.
#include <map>
#include <string>

#include "frame/Platform.h"

class TMemoryFiles : public TPlatform {
public:
    bool FileExists(const std::string& path) const override { return Files.count(path) > 0; }
    bool ReadWholeFile(const std::string& path, std::string& bytes) const override {
        const auto found = Files.find(path);
        if (found == Files.end()) return false;
        bytes = found->second;
        return true;
    }
    bool ReadFileWithin(const std::string& path, std::size_t limit,
                        std::string& bytes) const override {
        const auto found = Files.find(path);
        if (found == Files.end() || found->second.size() > limit) return false;
        bytes = found->second;
        return true;
    }
    void WriteWholeFile(const std::string& path, const std::string& bytes) override {
        Files[path] = bytes;
    }
    bool RemoveFile(const std::string& path) override { return Files.erase(path) > 0; }

    std::map<std::string, std::string> Files;
};
