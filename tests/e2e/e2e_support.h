#pragma once
// Running the real zlt.exe: installing the package, starting the program, finding its windows.
#include <windows.h>

#include <string>

extern const char kInstalledProgram[];
extern const char kInstallFolder[];

// Runs msiexec on the package beside this test program; true when the program is then installed.
bool InstallPackage();
// Starts a program; the caller closes the handle.
HANDLE StartProgram(const std::string& path);
// Waits for a process to end; its exit code, or -1 after the timeout.
long WaitForExit(HANDLE process, DWORD timeoutMs = 20000);
// The running program's main window (its class and title), or null after the timeout.
HWND WaitForMainWindow(DWORD timeoutMs = 15000);
// Number of running processes named zlt.exe.
int CountProgramProcesses();
// Ends every zlt.exe that a failed test left running.
void KillProgramProcesses();
// True when the tray holds the program's icon (NIM_MODIFY succeeds only for an existing icon).
bool TrayIconExists(HWND mainWindow);
// The text of the rich-edit message in one of the program's boxes.
std::string BoxText(HWND box);
