#pragma once
// HtmlHelpA of the system's HTML Help control, looked up when it is first needed: the library that
// is registered for the control's class when that lies in the system folder, or else "hhctrl.ocx"
// from the system folder, and its export ordinal 14. Without either, every call answers 0, and the
// library is not looked for again.
#include <windows.h>

#include <string>

class HtmlHelpLibrary {
public:
    // The system's control.
    HtmlHelpLibrary();
    // Another class key (below HKEY_CLASSES_ROOT) and library name (in the system folder): for tests.
    HtmlHelpLibrary(std::string classKey, std::string libraryName);

    HWND Call(HWND caller, const char* file, UINT command, DWORD_PTR data);
    // Loads on first use; false when HtmlHelpA cannot be had.
    bool Available();
    // How many times the library was looked for (never more than once).
    int lookups() const { return lookups_; }

private:
    using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    HMODULE LoadRegistered() const;

    std::string classKey_, libraryName_;
    int lookups_ = 0;
    HtmlHelpFunction function_ = nullptr;
};

// The process's HTML Help.
HtmlHelpLibrary& ProcessHtmlHelp();
