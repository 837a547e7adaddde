#include "engine/history_cleaner.h"

#include <shlobj.h>

#include "app/option_keys.h"
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

std::optional<CookieKeepList> HistoryCleaner::CookiesToKeep() const {
    if (!settings) return CookieKeepList{};
    // A damaged options.ini leaves an empty list behind: read as such, it would keep nothing and
    // sign the user out of every site. The load marks the list as lost (and the mark is saved)
    // until the user saves it again; a file that could not be read at all is never written over.
    if (settings->keepOptionsFile) return std::nullopt;
    if (settings->options.Get(OptionKeys::kCookiesToKeepPage, OptionKeys::kKeepListDamaged)) return std::nullopt;
    return CookieKeepList::FromStored(settings->options.GetAll(OptionKeys::kCookiesToKeepPage, OptionKeys::kKeepSite));
}

std::optional<CookieKeepList> HistoryCleaner::CookiesToKeepFor(const std::string& store, ItemKind kind) {
    std::optional<CookieKeepList> keep = CookiesToKeep();
    if (!keep && GetFileAttributesA(store.c_str()) != INVALID_FILE_ATTRIBUTES)
        RecordLeft(kind, store, LeftReason::KeepListUnreadable, "no cookie was removed");
    return keep;
}

bool HistoryCleaner::LeavesWholeCookieStore(const std::string& store, ItemKind kind) {
    const std::optional<CookieKeepList> keep = CookiesToKeepFor(store, kind);
    if (!keep) return true;
    if (keep->Empty()) return false;
    if (GetFileAttributesA(store.c_str()) != INVALID_FILE_ATTRIBUTES)
        RecordLeft(kind, store, LeftReason::KeptSites, "this store cannot be cleaned site by site");
    return true;
}
