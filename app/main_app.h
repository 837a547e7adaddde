#pragma once
#include <windows.h>

// The application object: start-up as the single instance, the message loop, and the end.
class CMainApp {
public:
    explicit CMainApp(HINSTANCE instance) : instance_(instance) {}
    // The whole start-up; false in every case, so that the process ends when it returns (the first
    // instance runs the message loop inside it).
    bool InitInstance();

private:
    HINSTANCE instance_;
};

extern const char kProductCode[];
extern const char kDisplayName[];
