// The Chromium family as it is found today: Chrome in each of its channels, Chromium, Edge, Brave,
// Vivaldi and today's Opera, every profile each keeps, and the files of today's layout. One table
// of browsers and one walk over their profiles; a new browser is a row.
#include <shlobj.h>

#include <algorithm>
#include <iterator>

#include "app/option_keys.h"
#include "engine/cleaners/chromium_edits.h"
#include "engine/cleaners/cookie_stores.h"
#include "engine/cleaners/local_storage.h"
#include "engine/cleaners/profile_files.h"
#include "engine/database_cleaning.h"
#include "engine/history_cleaner.h"
#include "engine/recording.h"
#include "platform/handles.h"

namespace {

// One browser of the family. `root` is below the shell folder `base`: its "User Data" folder, or
// for Opera the profile itself, whose caches lie at the same path below the local data.
struct ChromiumBrowser {
    const char* name;
    uint32_t page; // the page bit whose options select it
    int base;
    const char* root;
    bool rootIsProfile = false;
};
constexpr int kLocal = CSIDL_LOCAL_APPDATA, kRoaming = CSIDL_APPDATA;
constexpr ChromiumBrowser kBrowsers[] = {
    {"Google Chrome", BrowserChrome, kLocal, "\\Google\\Chrome\\User Data"},
    {"Google Chrome Beta", BrowserChrome, kLocal, "\\Google\\Chrome Beta\\User Data"},
    {"Google Chrome Dev", BrowserChrome, kLocal, "\\Google\\Chrome Dev\\User Data"},
    {"Google Chrome Canary", BrowserChrome, kLocal, "\\Google\\Chrome SxS\\User Data"},
    {"Chromium", BrowserChrome, kLocal, "\\Chromium\\User Data"},
    {"Microsoft Edge", BrowserEdge, kLocal, "\\Microsoft\\Edge\\User Data"},
    {"Microsoft Edge Beta", BrowserEdge, kLocal, "\\Microsoft\\Edge Beta\\User Data"},
    {"Microsoft Edge Dev", BrowserEdge, kLocal, "\\Microsoft\\Edge Dev\\User Data"},
    {"Microsoft Edge Canary", BrowserEdge, kLocal, "\\Microsoft\\Edge SxS\\User Data"},
    {"Brave", BrowserBrave, kLocal, "\\BraveSoftware\\Brave-Browser\\User Data"},
    {"Brave Beta", BrowserBrave, kLocal, "\\BraveSoftware\\Brave-Browser-Beta\\User Data"},
    {"Brave Nightly", BrowserBrave, kLocal, "\\BraveSoftware\\Brave-Browser-Nightly\\User Data"},
    {"Vivaldi", BrowserVivaldi, kLocal, "\\Vivaldi\\User Data"},
    {"Vivaldi Snapshot", BrowserVivaldi, kLocal, "\\Vivaldi Snapshot\\User Data"},
    {"Opera", BrowserOperaToday, kRoaming, "\\Opera Software\\Opera Stable", true},
    {"Opera Beta", BrowserOperaToday, kRoaming, "\\Opera Software\\Opera Beta", true},
    {"Opera Developer", BrowserOperaToday, kRoaming, "\\Opera Software\\Opera Developer", true},
    {"Opera GX", BrowserOperaToday, kRoaming, "\\Opera Software\\Opera GX Stable", true},
};

// The history option of each page: with it the download list goes with the whole History file.
struct PageHistory {
    uint32_t page;
    SettingRef history;
};
constexpr PageHistory kPageHistory[] = {
    {BrowserChrome, MaskBit(&ProgramSettings::historyMask, BrowserChrome)},
    {BrowserEdge, IniFlag(OptionKeys::kEdgePage, OptionKeys::kHistory)},
    {BrowserBrave, IniFlag(OptionKeys::kBravePage, OptionKeys::kHistory)},
    {BrowserVivaldi, IniFlag(OptionKeys::kVivaldiPage, OptionKeys::kHistory)},
    {BrowserOperaToday, IniFlag(OptionKeys::kOperaPage, OptionKeys::kHistory)},
};

std::string ReadSmallFile(const std::string& path) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    std::string text;
    if (file.valid()) ReadWholeTextFile(file.get(), text);
    return text;
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

bool SameFolder(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// The databases of the history that go whole, each with what SQLite keeps beside it.
constexpr const char* kHistoryDatabases[] = {"History",   "Archived History", "Favicons",
                                             "Top Sites", "Shortcuts",        "Network Action Predictor"};
constexpr const char* kHistoryFiles[] = {"Visited Links", "History Provider Cache", "Current Session",
                                         "Last Session",  "Current Tabs",           "Last Tabs"};
// Below a profile's cache side. "Cache" holds "Cache_Data" since 2020; older profiles keep the
// cache's files in "Cache" itself.
constexpr const char* kCaches[] = {"\\Code Cache", "\\GPUCache", "\\Media Cache", "\\DawnWebGPUCache",
                                   "\\DawnGraphiteCache"};
constexpr const char* kRootCaches[] = {"\\GrShaderCache", "\\ShaderCache"};

} // namespace

std::vector<HistoryCleaner::ChromiumProfileFolders> HistoryCleaner::FindChromiumProfiles(uint32_t browsers) {
    std::vector<ChromiumProfileFolders> found;
    const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA), roaming = ShellFolder(CSIDL_APPDATA);
    for (const ChromiumBrowser& browser : kBrowsers) {
        if (!(browser.page & browsers)) continue;
        const std::string& base = browser.base == kLocal ? local : roaming;
        if (base.empty() || local.empty()) continue;
        const std::string root = base + browser.root;
        // A root reached through a link leads to somebody else's folders, and so does a profile.
        if (!IsFolderOfItsOwn(root)) continue;
        if (browser.rootIsProfile) {
            const std::string cacheRoot = local + browser.root;
            found.push_back({browser.name, browser.name, root, cacheRoot, root, cacheRoot});
            continue;
        }
        std::vector<ChromiumProfileName> profiles = ProfilesFromLocalState(ReadSmallFile(root + "\\Local State"));
        FolderList folders;
        ListSubfolders(root, folders);
        for (const std::string& folder : folders) {
            const std::string name = NameOf(folder);
            if (!IsChromiumProfileFolder(name) || !EntryExists(folder + "\\Preferences")) continue;
            if (std::none_of(profiles.begin(), profiles.end(),
                             [&](const ChromiumProfileName& p) { return SameFolder(p.folder, name); }))
                profiles.push_back({name, ""});
        }
        for (const ChromiumProfileName& profile : profiles) {
            const std::string folder = root + "\\" + profile.folder;
            if (!IsFolderOfItsOwn(folder)) continue;
            found.push_back({browser.name, profile.name.empty() ? profile.folder : profile.name, folder, folder, root,
                             root});
        }
    }
    return found;
}

void HistoryCleaner::CleanChromiumProfiles(ChromiumTrace trace, uint32_t browsers) {
    bool historySelected = false;
    for (const PageHistory& page : kPageHistory)
        if ((page.page & browsers) && settings && page.history.Read(*settings)) historySelected = true;
    FolderList rootsDone;
    for (const ChromiumProfileFolders& profile : FindChromiumProfiles(browsers)) {
        const RecordingContext recordingContext(*this, {profile.browser, profile.name, this->context.category});
        const std::string& f = profile.folder;
        switch (trace) {
        case ChromiumTrace::History:
            for (const char* name : kHistoryDatabases) RemoveDatabaseFile(*this, f + "\\" + name);
            for (const char* name : kHistoryFiles) RemoveFileInEachFolder(name, {f});
            // "History Index 2009-11" and its journal; the blank keeps out names that merely go on.
            RemoveFilesByPrefix(f, "History Index ", true);
            // The servers reached lately, with the time of each visit; the other preferences stay.
            if (EntryExists(f + "\\Preferences"))
                EditTextFile(*this, f + "\\Preferences", PreferencesWithoutServerProperties);
            break;
        case ChromiumTrace::Cache:
            RemoveDatabaseFile(*this, f + "\\Thumbnails");
            RemoveFileInEachFolder("History Provider Cache", {f});
            RemoveDatabaseFile(*this, f + "\\Favicons");
            // Web sites' storage is no cache: "Local Storage" goes with the cookies' site data, and
            // holds the extensions' settings too.
            for (const std::string& side : SameFolder(profile.cache, f) ? FolderList{f} : FolderList{f, profile.cache}) {
                EmptyBrowserFolder(*this, side + (EntryExists(side + "\\Cache\\Cache_Data") ? "\\Cache\\Cache_Data" : "\\Cache"));
                for (const char* cache : kCaches) EmptyBrowserFolder(*this, side + cache);
            }
            for (const std::string& root : {profile.root, profile.cacheRoot}) {
                if (std::any_of(rootsDone.begin(), rootsDone.end(), [&](const std::string& d) { return SameFolder(d, root); }))
                    continue;
                rootsDone.push_back(root);
                for (const char* cache : kRootCaches) EmptyBrowserFolder(*this, root + cache);
            }
            break;
        case ChromiumTrace::Cookies: {
            // Nothing of the profile's cookies or site data goes while the sites to keep are unknown.
            const std::string network = f + "\\Network\\Cookies";
            const std::optional<CookieKeepList> keep = CookiesToKeepFor(EntryExists(network) ? network : f + "\\Cookies");
            if (!keep) break;
            // "Cookies" beside History is where an older version left it.
            for (const std::string& cookies : {network, f + "\\Cookies"}) {
                if (keep->Empty())
                    RemoveDatabaseFile(*this, cookies);
                else
                    CleanDatabase(*this, cookies, {ChromiumCookieStatements(*keep)});
            }
            // Web sites' storage, each site in folders of its own; an extension's and a kept site's stay.
            for (const char* store : {"\\IndexedDB", "\\databases"}) {
                FolderList origins;
                ListSubfolders(f + store, origins);
                for (const std::string& origin : origins) {
                    const std::string name = NameOf(origin);
                    if (!IsWebOriginFolder(name)) continue;
                    if (!keep->Empty()) {
                        // A name that cannot be read as a site may be a kept one's.
                        const std::optional<SiteOrigin> site = OriginOfChromiumSiteFolder(name);
                        if (!site || keep->KeepsOrigin(site->host, site->port)) continue;
                    }
                    RemoveBrowserFolder(*this, origin);
                }
            }
            CleanDatabase(*this, f + "\\databases\\Databases.db", {ChromiumWebDatabaseIndexStatements(*keep)});
            // Every origin's local storage in one database: the web sites' keys go, the
            // extensions' and the kept sites' stay.
            CleanChromiumLocalStorage(*this, f + "\\Local Storage\\leveldb", *keep);
            // One folder for every origin's files, mapped by a database only: emptied only when
            // that database names no extension and no site is kept.
            const std::string fileSystem = f + "\\File System";
            if (IsFolderOfItsOwn(fileSystem)) {
                FolderList origins;
                ListFiles(fileSystem + "\\Origins", origins);
                bool extension = false;
                for (const std::string& file : origins) extension = extension || MayNameAnExtension(ReadSmallFile(file));
                if (extension)
                    RecordLeft(ItemKind::Folder, fileSystem, LeftReason::NotCleaned, "an extension keeps files here too");
                else if (!keep->Empty())
                    RecordLeft(ItemKind::Folder, fileSystem, LeftReason::KeptSites, "the sites' files cannot be told apart");
                else
                    EmptyBrowserFolder(*this, fileSystem);
            }
            // Web sites' and extensions' workers share one database and folders named by hashes:
            // which is whose cannot be read from the names.
            if (IsFolderOfItsOwn(f + "\\Service Worker"))
                RecordLeft(ItemKind::Folder, f + "\\Service Worker", LeftReason::NotCleaned,
                           "web sites' and extensions' workers cannot be told apart");
            break;
        }
        case ChromiumTrace::Passwords:
            RemoveDatabaseFile(*this, f + "\\Login Data");
            RemoveDatabaseFile(*this, f + "\\Login Data For Account");
            break;
        case ChromiumTrace::Downloads:
            // With the history the whole History file goes already.
            if (!historySelected) CleanDatabase(*this, f + "\\History", {ChromiumDownloadStatements()});
            break;
        case ChromiumTrace::Sessions:
            EmptyBrowserFolder(*this, f + "\\Sessions");
            EmptyBrowserFolder(*this, f + "\\Sessions_Encrypted");
            break;
        case ChromiumTrace::FormData:
            CleanDatabase(*this, f + "\\Web Data", {ChromiumFormDataStatements()});
            break;
        }
    }
}

// Google Chrome's page: the five kinds of settings.dat, and today's sessions and form data.
void HistoryCleaner::ClearChromeHistory() { CleanChromiumProfiles(ChromiumTrace::History, BrowserChrome); }
void HistoryCleaner::ClearChromeCache() { CleanChromiumProfiles(ChromiumTrace::Cache, BrowserChrome); }
void HistoryCleaner::ClearChromeCookies() { CleanChromiumProfiles(ChromiumTrace::Cookies, BrowserChrome); }
void HistoryCleaner::ClearChromePasswords() { CleanChromiumProfiles(ChromiumTrace::Passwords, BrowserChrome); }
void HistoryCleaner::ClearChromeSessions() { CleanChromiumProfiles(ChromiumTrace::Sessions, BrowserChrome); }
void HistoryCleaner::ClearChromeFormData() { CleanChromiumProfiles(ChromiumTrace::FormData, BrowserChrome); }

#define CHROMIUM_CLEANERS(Name, bit)                                                                          \
    void HistoryCleaner::Clear##Name##History() { CleanChromiumProfiles(ChromiumTrace::History, bit); }     \
    void HistoryCleaner::Clear##Name##Cache() { CleanChromiumProfiles(ChromiumTrace::Cache, bit); }         \
    void HistoryCleaner::Clear##Name##Cookies() { CleanChromiumProfiles(ChromiumTrace::Cookies, bit); }     \
    void HistoryCleaner::Clear##Name##Passwords() { CleanChromiumProfiles(ChromiumTrace::Passwords, bit); } \
    void HistoryCleaner::Clear##Name##Downloads() { CleanChromiumProfiles(ChromiumTrace::Downloads, bit); } \
    void HistoryCleaner::Clear##Name##Sessions() { CleanChromiumProfiles(ChromiumTrace::Sessions, bit); }   \
    void HistoryCleaner::Clear##Name##FormData() { CleanChromiumProfiles(ChromiumTrace::FormData, bit); }
CHROMIUM_CLEANERS(Edge, BrowserEdge)
CHROMIUM_CLEANERS(Brave, BrowserBrave)
CHROMIUM_CLEANERS(Vivaldi, BrowserVivaldi)
CHROMIUM_CLEANERS(OperaToday, BrowserOperaToday)
#undef CHROMIUM_CLEANERS
