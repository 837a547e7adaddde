#pragma once
// Which Windows this is. Header only.
#include <windows.h>

// GetVersionExA with the extended structure, or the plain one where that is refused; false when
// neither answers.
inline bool GetWindowsVersion(OSVERSIONINFOEXA& version) {
    version = {};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) return true;
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)) != FALSE;
}
