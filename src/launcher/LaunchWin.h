#pragma once
// Starting a launcher entry on Win32.
#include <windows.h>

#include <string>

#include "launcher/Launch.h"
#include "launcher/LaunchItem.h"

// The companion program that opens shortcut entries: "Support.exe" beside the program.
std::string CompanionProgramPath();

// Starts entry index of the table: the shell's default action for addresses and folders, the
// companion for shortcuts, the shell's "open" verb or a new process for programs and documents.
// Shows no message. Returns false on failure with the system's last error telling why (never 0
// after a failure).
bool LaunchItem(const TLaunchItemTable& table, int index);
// The same with another companion program.
bool LaunchItem(const TLaunchItemTable& table, int index, const std::string& companion);

// The platform's answers to the launch decision, with this companion program.
TLaunchEnvironment Win32LaunchEnvironment(const std::string& companion);
// Carries out a launch decision; false on failure with the system's last error telling why.
bool RunLaunchPlan(const TLaunchPlan& plan);

// Tells the user that launching the entry with this path failed with the error: the setting to
// check when the file was not found, then that no process could be created (stop icon).
void ShowLaunchFailure(HWND owner, const std::string& path, DWORD error);
