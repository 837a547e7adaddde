#pragma once
#include <windows.h>

#include <string>

// The application object: start-up as the single instance, the message loop, and the end.
class CMainApp {
public:
    explicit CMainApp(HINSTANCE instance) : instance_(instance) {}
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

// Common controls, OLE, rich edit and Windows Sockets, as the program's windows need them.
void InitialiseLibraries();
// Before anything else: no library by bare name from the current or the program's folder.
void RestrictLibrarySearch();

extern const char kProductCode[];
extern const char kDisplayName[];
extern const char kMutexName[];
// The program's own folder + "zlt.chm".
extern std::string helpFilePath;
