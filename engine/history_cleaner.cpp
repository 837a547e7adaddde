#include "engine/history_cleaner.h"

#include <shlobj.h>

#include "platform/windows_version.h"

bool isWow64 = false;
REGSAM wow64OtherView = KEY_WOW64_64KEY;

void DetectWow64() {
    // IsWow64Process is missing before XP SP2: look it up rather than import it.
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    isWow64 = false;
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return;
    auto isWow64Process =
        reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    BOOL wow64 = FALSE;
    if (isWow64Process && isWow64Process(GetCurrentProcess(), &wow64)) isWow64 = wow64 != FALSE;
}

HistoryCleaner& Cleaner() {
    static HistoryCleaner cleaner(&Settings());
    return cleaner;
}

ClearingObserver& HistoryCleaner::Report() const {
    static ClearingObserver nobody;
    return observer_ ? *observer_ : nobody;
}

std::string HistoryCleaner::CurrentFileText() const {
    return settings ? settings->CurrentFileText() : std::string();
}

std::string HistoryCleaner::ShellFolder(int csidl) const {
    char path[MAX_PATH] = "";
    if (!SHGetSpecialFolderPathA(Report().OwnerWindow(), path, csidl, FALSE)) return {};
    return path;
}

bool HistoryCleaner::IsNT5OrLater() {
    OSVERSIONINFOEXA version;
    return GetWindowsVersion(version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           version.dwMajorVersion >= 5;
}
