#pragma once
#include <windows.h>

#include <string>

#include "app/command_line.h"

// The application object: start-up as the single instance, the message loop, and the end; or,
// with arguments, the command line's run without a window.
class CMainApp {
public:
    explicit CMainApp(HINSTANCE instance) : instance_(instance) {}
    // The process's whole life from its arguments (WinMain's): the program with its window when
    // there are none, the command line's run otherwise. The process's exit code.
    int Run(const std::string& arguments);
    // The whole start-up; false in every case, so that the process ends when it returns (the first
    // instance runs the message loop inside it).
    bool InitInstance();

private:
    // True when this process has become the instance after all (the other one was ending).
    bool SecondInstance(HANDLE mutex, const std::string& installFolder);
    void ShowFirstInstance(HWND first, const std::string& installFolder);
    // How long a start waits for an instance that is ending, or for the window of one that is
    // still starting.
    static constexpr DWORD kFirstInstanceWaitMs = 30000;
    HINSTANCE instance_;
};

// "/clean", "/preview", "/help" and wrong arguments (app/command_line_run.cpp): before any window,
// without the single-instance mutex, so that a running program is never disturbed. The exit code.
int RunCommandLine(const CommandLine& line, const std::string& installFolder);

// Common controls, OLE, rich edit and Windows Sockets, as the program's windows need them.
void InitialiseLibraries();
// Before anything else: no library by bare name from the current or the program's folder.
void RestrictLibrarySearch();

extern const char kProductCode[];
extern const char kDisplayName[];
extern const char kMutexName[];
// The program's own folder + "zlt.chm".
extern std::string helpFilePath;
