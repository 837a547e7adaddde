// Internet Explorer and the browsers that share its engine and its stores: MSN Explorer, AOL
// Explorer, Maxthon. Every step that cannot reach its target is skipped in silence.
#include <windows.h>
#include <shlobj.h>
#include <urlhist.h>
#include <wininet.h>

#include <algorithm>
#include <span>
#include <vector>

#include "engine/cleaners/cookie_stores.h"
#include "engine/cleaners/ie_edits.h"
#include "engine/cleaners/profile_files.h"
#include "engine/file_entry.h"
#include "engine/history_cleaner.h"
#include "platform/handles.h"

namespace {

const char kInternetExplorer[] = "Software\\Microsoft\\Internet Explorer";

// CLSID_CUrlHistory and IID_IUrlHistoryStg2, spelled out so that nothing depends on which
// import library of the toolchain happens to define them.
const CLSID kUrlHistoryClass = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
const IID kUrlHistoryStg2 = {0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

std::string IEKey(const char* sub) {
    return std::string(kInternetExplorer) + "\\" + sub;
}

// The "Display String" of a Protected Storage type or subtype; empty when the key or the value
// cannot be read.
std::string DisplayString(const std::string& key) {
    RegKey opened;
    if (opened.Open(HKEY_CURRENT_USER, key, KEY_READ) != ERROR_SUCCESS) return {};
    std::vector<char> buffer(16383, 0);
    DWORD size = static_cast<DWORD>(buffer.size());
    if (RegQueryValueExA(opened.get(), "Display String", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return {};
    return std::string(buffer.data(), size < buffer.size() ? size : buffer.size());
}

std::vector<std::string> SubkeysOf(HKEY root, const std::string& key) {
    RegKey opened;
    if (opened.Open(root, key, KEY_READ) != ERROR_SUCCESS) return {};
    return opened.SubkeyNames();
}

// The user's Protected Storage key below HKEY_CURRENT_USER, the SID it is named after (heap, for
// the caller to free) and the DACL it had before the cleaner took it over.
class TakenOverStorage {
public:
    explicit TakenOverStorage(HistoryCleaner& cleaner) : cleaner_(cleaner) {
        if (!cleaner.IsNT5OrLater()) return;
        sid_ = cleaner.GetCurrentUserSid();
        if (!sid_) return;
        key_ = ProtectedStorageKey(cleaner.FormatSid(sid_));
        saved_ = cleaner.SaveKeySecurity(HKEY_CURRENT_USER, key_);
        granted_ = cleaner.BuildFullAccessSecurity(sid_, &fullAccess_, &acl_);
    }
    ~TakenOverStorage() {
        HANDLE heap = GetProcessHeap();
        if (acl_) HeapFree(heap, 0, acl_);
        // The user's key gets its own rights back; "Data" keeps the ones given to it.
        if (saved_) {
            cleaner_.SetKeySecurity(HKEY_CURRENT_USER, key_, saved_, false);
            HeapFree(heap, 0, saved_);
        }
        if (sid_) HeapFree(heap, 0, sid_);
    }
    TakenOverStorage(const TakenOverStorage&) = delete;
    TakenOverStorage& operator=(const TakenOverStorage&) = delete;

    // Full access could be built: the keys may be taken over.
    bool ready() const { return granted_; }
    const std::string& key() const { return key_; }
    PSECURITY_DESCRIPTOR fullAccess() { return &fullAccess_; }

private:
    HistoryCleaner& cleaner_;
    PSID sid_ = nullptr;
    std::string key_;
    PSECURITY_DESCRIPTOR saved_ = nullptr;
    SECURITY_DESCRIPTOR fullAccess_{};
    PACL acl_ = nullptr;
    bool granted_ = false;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Shared steps

void HistoryCleaner::ClearUrlHistoryStore() {
    // Fails on a thread without COM; Wine's object answers E_NOTIMPL. Either way the files and
    // cache entries that the caller removes next are what really goes (and what is recorded).
    if (dryRun) return;
    IUrlHistoryStg2* history = nullptr;
    if (FAILED(CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                kUrlHistoryStg2, reinterpret_cast<void**>(&history))) ||
        !history)
        return;
    history->ClearHistory();
    history->Release();
}

void HistoryCleaner::DeleteUrlCacheEntries(bool cookies, const CookieKeepList* keep) {
    // A search without a pattern walks the content container only (Wine's walks them all): the
    // cookies are found under "cookie:" and the visited pages, which the cache option also
    // removes, under "visited:". Windows compares the pattern without regard to case, Wine
    // with it, and both name their containers "Cookie:" and "Visited:".
    static const char* const kCookieContainers[] = {"Cookie:"};
    static const char* const kOtherContainers[] = {nullptr, "Visited:"};
    const std::span<const char* const> containers =
        cookies ? std::span<const char* const>(kCookieContainers) : std::span<const char* const>(kOtherContainers);
    for (const char* pattern : containers) DeleteUrlCacheEntriesIn(pattern, cookies, keep);
}

void HistoryCleaner::DeleteUrlCacheEntriesIn(const char* pattern, bool cookies, const CookieKeepList* keep) {
    if (onUrlCacheSearch) onUrlCacheSearch(pattern);
    // 8-byte units keep the entry structure aligned however large the buffer grows.
    std::vector<uint64_t> storage;
    DWORD capacity = 0;
    auto allocate = [&](DWORD bytes) {
        storage.assign((bytes + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0);
        capacity = bytes;
        reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(storage.data())->dwStructSize =
            sizeof(INTERNET_CACHE_ENTRY_INFOA);
    };
    allocate(4096);
    HANDLE search = nullptr;
    for (;;) {
        auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(storage.data());
        DWORD size = capacity;
        bool found;
        if (!search) {
            search = FindFirstUrlCacheEntryA(pattern, entry, &size);
            found = search != nullptr;
        } else {
            found = FindNextUrlCacheEntryA(search, entry, &size) != FALSE;
        }
        if (!found) {
            // An entry larger than the buffer (long headers, a long address): the same call again
            // with the size it asked for. A size that does not grow would repeat for ever.
            if (GetLastError() == ERROR_INSUFFICIENT_BUFFER && size > capacity) {
                allocate(size);
                continue;
            }
            break; // normally ERROR_NO_MORE_ITEMS
        }
        const bool isCookie = (entry->CacheEntryType & COOKIE_CACHE_ENTRY) != 0;
        if (isCookie != cookies || !entry->lpszSourceUrlName) continue;
        if (cookies && keep) {
            // An address that names no host may be a kept site's.
            const std::optional<std::string> host = HostOfWinInetCookie(entry->lpszSourceUrlName);
            if (!host || keep->KeepsCookieHost(*host)) continue;
        }
        if (!dryRun && !DeleteUrlCacheEntryA(entry->lpszSourceUrlName)) {
            RecordLeft(ItemKind::CacheEntry, entry->lpszSourceUrlName, GetLastError());
            continue;
        }
        RecordItem item;
        item.kind = ItemKind::CacheEntry;
        item.path = entry->lpszSourceUrlName;
        item.bytes = (static_cast<uint64_t>(entry->dwSizeHigh) << 32) | entry->dwSizeLow;
        Record(std::move(item));
    }
    if (search) FindCloseUrlCache(search);
}

void HistoryCleaner::ClearIEProtectedStorage() {
    {
        TakenOverStorage storage(*this);
        if (storage.ready()) {
            const std::string data = storage.key() + "\\Data";
            const std::string autoComplete = data + "\\" + std::string(kIEAutoCompleteType);
            SetKeySecurity(HKEY_CURRENT_USER, storage.key(), storage.fullAccess(), false);
            SetKeySecurity(HKEY_CURRENT_USER, data, storage.fullAccess(), false);
            SetKeySecurity(HKEY_CURRENT_USER, autoComplete, storage.fullAccess(), true);
            DeleteRegistryTree(HKEY_CURRENT_USER, autoComplete);
        }
    }
    // Windows 9x keeps the same tree per logon name below the machine's key.
    char user[260] = "";
    DWORD length = sizeof user;
    if (!GetUserNameA(user, &length) || user[0] == '\0') return;
    DeleteRegistryTree(HKEY_LOCAL_MACHINE,
                       ProtectedStorageKey(user) + "\\Data\\" + std::string(kIEAutoCompleteType));
}

void HistoryCleaner::ClearMSNProtectedStorage() {
    TakenOverStorage storage(*this);
    if (!storage.ready()) return;
    const std::string data = storage.key() + "\\Data";
    SetKeySecurity(HKEY_CURRENT_USER, storage.key(), storage.fullAccess(), false);
    SetKeySecurity(HKEY_CURRENT_USER, data, storage.fullAccess(), false);
    const bool passwords = (settings->passwordsMask & BrowserIE) != 0;
    const bool history = (settings->historyMask & BrowserIE) != 0;

    // Names are collected before anything is deleted: deleting while enumerating by index would
    // skip the item after each one removed.
    FolderList items;
    for (const std::string& type : SubkeysOf(HKEY_CURRENT_USER, data)) {
        const std::string typeKey = data + "\\" + type;
        if (!IsMsnDisplayString(DisplayString(typeKey))) continue;
        for (const std::string& subtype : SubkeysOf(HKEY_CURRENT_USER, typeKey)) {
            const std::string subtypeKey = typeKey + "\\" + subtype;
            if (!IsMsnDisplayString(DisplayString(subtypeKey))) continue;
            for (const std::string& item : SubkeysOf(HKEY_CURRENT_USER, subtypeKey)) {
                if (!IsMsnItemToDelete(item, passwords, history)) continue;
                RegKey readable;
                if (readable.Open(HKEY_CURRENT_USER, subtypeKey + "\\" + item, KEY_READ) != ERROR_SUCCESS) continue;
                items.push_back(subtypeKey + "\\" + item);
            }
        }
    }
    for (const std::string& item : items) DeleteRegistryTree(HKEY_CURRENT_USER, item);
}

void HistoryCleaner::ClearMaxthonTypedUrls(const FolderList& folders) {
    // A file held by a running Maxthon, or a link: this profile is passed over, the others still
    // get their turn.
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        const std::string path = folder + "\\Config.ini";
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            EditTextFile(*this, path, MaxthonConfigWithoutTypedUrls);
    }
}

void HistoryCleaner::ClearMaxthonHistory() {
    FolderList roots;
    ReadFolderValue("Software\\Maxthon2", roots);
    const std::string roaming = ShellFolder(CSIDL_APPDATA);
    if (!roaming.empty()) roots.push_back(MaxthonVirtualStoreFolder(roaming));
    // An empty "Folder" value must not turn into "\SharedAccount\..." on the current drive.
    FolderList data;
    for (const std::string& root : roots)
        if (!root.empty()) data.push_back(root + "\\SharedAccount\\Data");
    for (const char* name : {"Dynamic.ini", "Form.dat", "History.dat", "LastSession.ini"})
        RemoveFileInEachFolder(name, data);
    ClearMaxthonTypedUrls(data);
    FolderList config;
    for (const std::string& root : roots)
        if (!root.empty()) config.push_back(root + "\\SharedAccount\\Config");
    ClearMaxthonTypedUrls(config);
}

void HistoryCleaner::ClearAOLHistory() {
    const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
    if (!local.empty()) EmptyFolder(local + "\\Aol\\UserProfiles", true);
}

// ---------------------------------------------------------------------------------------------
// Cleaners

void HistoryCleaner::ClearIEHistory() {
    ClearUrlHistoryStore();
    DeleteRegistryKey(HKEY_CURRENT_USER, IEKey("TypedURLs")); // values only: it goes whole
    DeleteRegistryValue(IEKey("Main"), "Save Directory");
    DeleteRegistryValue(kInternetExplorer, "Download Directory");
    EmptyFolder(ShellFolder(CSIDL_HISTORY), true);
    ClearIEProtectedStorage();
    ClearMSNProtectedStorage();
    ClearMaxthonHistory();
    ClearAOLHistory();
}

void HistoryCleaner::ClearIECache() {
    ClearUrlHistoryStore();
    EmptyFolder(ShellFolder(CSIDL_INTERNET_CACHE), true);
    DeleteUrlCacheEntries(false);
}

void HistoryCleaner::ClearIECookies() {
    const std::string folder = ShellFolder(CSIDL_COOKIES);
    const std::optional<CookieKeepList> keep = CookiesToKeepFor(folder, ItemKind::Folder);
    if (!keep) return;
    ClearUrlHistoryStore();
    if (keep->Empty()) {
        EmptyFolder(folder, true);
        DeleteUrlCacheEntries(true);
        return;
    }
    // Site by site: a cookie file goes unless it holds a kept site's cookie, and so does its
    // entry. "index.dat" indexes the kept ones too and stays.
    if (!folder.empty()) {
        FolderList folders{folder};
        ListSubfoldersDeep(folder, folders);
        for (const std::string& below : folders) {
            FolderList files;
            ListFiles(below, files);
            for (const std::string& file : files) {
                if (lstrcmpiA(file.substr(file.find_last_of('\\') + 1).c_str(), "index.dat") == 0) continue;
                std::string text;
                {
                    ScopedHandle opened(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                    nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
                    if (opened.valid()) ReadWholeTextFile(opened.get(), text);
                }
                const std::optional<std::vector<std::string>> hosts = HostsOfIECookieFile(text);
                if (hosts && std::any_of(hosts->begin(), hosts->end(),
                                         [&](const std::string& host) { return keep->KeepsCookieHost(host); }))
                    continue;
                RemoveFile(file);
            }
        }
    }
    DeleteUrlCacheEntries(true, &*keep);
}

void HistoryCleaner::ClearIEPasswords() {
    DeleteRegistryTree(HKEY_CURRENT_USER, IEKey("IntelliForms"));
    ClearMSNProtectedStorage();
}

void HistoryCleaner::ClearIEDownloads() {
    const std::string roaming = ShellFolder(CSIDL_APPDATA);
    if (roaming.empty()) return;
    const std::string downloads = roaming + "\\Microsoft\\Windows\\IEDownloadHistory";
    FolderList folders{downloads};
    ListSubfoldersDeep(downloads, folders);
    RemoveFileInEachFolder("index.dat", folders);
}

void HistoryCleaner::ClearIEMostPopularSites() {
    DeleteRegistryValue(IEKey("TabbedBrowsing\\NewTabPage"), "MFV");
}

void HistoryCleaner::ClearIELastSession() {
    const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
    if (local.empty()) return;
    const std::string recovery = local + "\\Microsoft\\Internet Explorer\\Recovery";
    for (const char* folder : {"\\Last Active", "\\High\\Active", "\\High\\Last Active"})
        RemoveFilesBySuffix(recovery + folder, ".dat", true);
}
