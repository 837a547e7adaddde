#pragma once
// Running the real zlt.exe: installing the package, starting the program, finding its windows.
#include <windows.h>

#include <string>
#include <vector>

extern const char kInstalledProgram[];
extern const char kInstallFolder[];

// A file in this test program's folder.
std::string BesideTestProgram(const char* name);
// Runs ZLTSetup.exe beside this test program to its end, as a user would; true when the program is
// then installed.
bool InstallPackage();
// Starts ZLTSetup.exe beside this test program, with its temporary folder at `tempFolder` when given
// (TMP and TEMP replaced in a copy of this process's environment). The caller closes the handle.
HANDLE StartSetup(const std::string& tempFolder = {});
// The installer package that ZLTSetup.exe carries (resource "EXE"/104), read from the file.
std::vector<char> EmbeddedPackage();
// Waits until no msiexec.exe is running any more; false after the timeout.
bool WaitForInstallerEnd(DWORD timeoutMs = 120000);
// A system message box of any process whose text begins with `textStart`; null after the timeout.
HWND WaitForMessageBox(const std::string& textStart, DWORD timeoutMs = 60000);
// The text of a system message box.
std::string MessageBoxText(HWND box);
// The product's "InstallLocation" as Windows Installer reports it; empty when it is not installed.
std::string InstalledLocation();
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
