// The sites that have cookies now, for the list of sites to keep: read from every store the cookie
// options clean, and never written.
#include <windows.h>
#include <shlobj.h>
#include <wininet.h>

#include <algorithm>
#include <set>

#include "engine/cleaners/cookie_stores.h"
#include "engine/cleaners/profile_files.h"
#include "engine/database_cleaning.h"
#include "engine/history_cleaner.h"
#include "platform/handles.h"

namespace {

void AddHost(std::set<std::string>& sites, std::string_view host) {
    const std::string key = CookieHostKey(host);
    if (!key.empty()) sites.insert(key);
}

void AddWinInetCookies(std::set<std::string>& sites) {
    std::vector<uint64_t> storage(4096 / sizeof(uint64_t));
    DWORD capacity = 4096;
    HANDLE search = nullptr;
    for (;;) {
        auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(storage.data());
        entry->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOA);
        DWORD size = capacity;
        const bool found = search ? FindNextUrlCacheEntryA(search, entry, &size) != FALSE
                                  : (search = FindFirstUrlCacheEntryA("Cookie:", entry, &size)) != nullptr;
        if (!found) {
            if (GetLastError() == ERROR_INSUFFICIENT_BUFFER && size > capacity) {
                storage.assign((size + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0);
                capacity = size;
                continue;
            }
            break;
        }
        if ((entry->CacheEntryType & COOKIE_CACHE_ENTRY) && entry->lpszSourceUrlName)
            if (const std::optional<std::string> host = HostOfWinInetCookie(entry->lpszSourceUrlName)) AddHost(sites, *host);
    }
    if (search) FindCloseUrlCache(search);
}

} // namespace

std::vector<std::string> HistoryCleaner::SitesWithCookies() {
    std::set<std::string> sites;
    for (const ChromiumProfileFolders& profile :
         FindChromiumProfiles(BrowserChrome | BrowserEdge | BrowserBrave | BrowserVivaldi | BrowserOperaToday))
        for (const char* name : {"\\Network\\Cookies", "\\Cookies"})
            for (const std::string& host : ReadDatabaseColumn(profile.folder + name, "SELECT DISTINCT host_key FROM cookies"))
                AddHost(sites, host);
    for (const FirefoxProfileFolders& profile : FindFirefoxProfiles())
        for (const std::string& host :
             ReadDatabaseColumn(profile.folder + "\\cookies.sqlite", "SELECT DISTINCT host FROM moz_cookies"))
            AddHost(sites, host);
    const std::string ieCookies = ShellFolder(CSIDL_COOKIES);
    if (!ieCookies.empty()) {
        FolderList folders{ieCookies};
        ListSubfoldersDeep(ieCookies, folders);
        for (const std::string& folder : folders) {
            FolderList files;
            ListFiles(folder, files);
            for (const std::string& file : files) {
                std::string text;
                ScopedHandle opened(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
                if (!opened.valid() || !ReadWholeTextFile(opened.get(), text)) continue;
                if (const auto hosts = HostsOfIECookieFile(text))
                    for (const std::string& host : *hosts) AddHost(sites, host);
            }
        }
    }
    AddWinInetCookies(sites);
    return {sites.begin(), sites.end()};
}
