// The entry sequence of Mirto.exe.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "system/SysText.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The runtime has already split the command line in the ANSI code page; switches are read
    // from these arguments, never from the raw line.
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i)
        arguments.emplace_back(__argv[i]);
    SetCommandLineArguments(std::move(arguments));
    return 0;
}
