#pragma once
// Stand-in programs for the running-program tests: the small window program built beside the
// tests (zlt_standin.exe) copied into a test folder under a browser's or messenger's executable
// name and started from there. Ended by the destructor if still running.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/wine/test_support.h"

class StandIn {
public:
    // Starts `executable` (e.g. "firefox.exe") with `args` and waits until it shows `windows`
    // top-level windows.
    StandIn(const TempFolder& folder, const std::string& executable, const std::vector<std::string>& args,
            int windows = 1);
    ~StandIn();
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

    bool started() const { return process_ != nullptr; }
    bool running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    bool WaitForExit(DWORD timeoutMs = 10000) const {
        return process_ && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
    }
    DWORD exitCode() const;
    DWORD processId() const { return processId_; }
    // The stand-in's top-level windows, in z-order.
    std::vector<HWND> Windows() const;
    // Ends it as a user would: closes every window.
    void CloseAll() const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// Runs the stand-in in its key mode (SendInput of modifiers + key from another process) and waits.
bool PressHotKeyFromAnotherProcess(const TempFolder& folder, unsigned virtualKey, unsigned modifiers);
