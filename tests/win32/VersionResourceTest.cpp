#include <gtest/gtest.h>

#include "TestFolder.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "system/SysInfoWin.h"
#include "system/SysText.h"

#ifndef MIRTO_VERSION_TEXT
#error "MIRTO_VERSION_TEXT must give the project's version"
#endif

namespace {

std::string TempFile(const char* name, const std::string& content) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + name + std::to_string(GetCurrentProcessId());
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }
    return path;
}
} // namespace

TEST(FileVersion, ReadsTheProgramsOwnVersionText) {
    const std::string folder = BuiltProgramsFolder();
    const std::string program = folder + "\\Mirto.exe";
    ASSERT_NE(GetFileAttributesA(program.c_str()), INVALID_FILE_ATTRIBUTES) << program;

    long expected[4] = {0, 0, 0, 0};
    ASSERT_GE(std::sscanf(MIRTO_VERSION_TEXT, "%ld.%ld.%ld.%ld", &expected[0], &expected[1],
                          &expected[2], &expected[3]),
              2);
    long numbers[4] = {-1, -1, -1, -1};
    ASSERT_TRUE(GetFileVersionNumbers(program, numbers[0], numbers[1], numbers[2], numbers[3]));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(numbers[i], expected[i]) << i;
    EXPECT_EQ(GetVersionText(program),
              FormatVersionText(expected[0], expected[1], expected[2], expected[3]));
}

TEST(FileVersion, GivesNothingForAFileWithoutVersion) {
    const std::string text = TempFile("mirto-version", "no version here\r\n");
    long a = -1, b = -1, c = -1, d = -1;
    EXPECT_FALSE(GetFileVersionNumbers(text, a, b, c, d));
    EXPECT_EQ(GetVersionText(text), "");
    DeleteFileA(text.c_str());
    EXPECT_FALSE(GetFileVersionNumbers(text, a, b, c, d));
    EXPECT_EQ(GetVersionText(text), "");
}

TEST(WindowsVersion, DetectsTheRunningSystemAsTheNtLine) {
    TWindowsVersion version;
    ASSERT_TRUE(DetectWindowsVersion(version));
    EXPECT_EQ(version.Family, 16);
    EXPECT_GE(version.Major, 5);
    EXPECT_GE(version.Build, 0);
    EXPECT_FALSE(GetWindowsName(0).empty());
    const std::string dotted = std::to_string(version.Major) + "." + std::to_string(version.Minor) +
                               "." + std::to_string(version.Build);
    EXPECT_EQ(GetWindowsName(1).compare(0, dotted.size(), dotted), 0) << GetWindowsName(1);
    EXPECT_TRUE(UseThreadAttach());
}
