// Firefox, Mozilla and Netscape: the traces they keep in the user's profile folders.
#include <shlobj.h>

#include <cstdio>

#include "engine/cleaners/mozilla_edits.h"
#include "engine/cleaners/profile_files.h"
#include "engine/database_cleaning.h"
#include "engine/file_entry.h"
#include "engine/history_cleaner.h"

// The cause number that "File open error %d" shows, from the portable mapping the settings file
// uses for its own open errors.
int FileErrorCauseFromWin32(unsigned long error);

namespace {

const char kFirefoxProfiles[] = "\\Mozilla\\Firefox\\Profiles";
const char kMozillaProfiles[] = "\\Mozilla\\Profiles";
const char kMozillaKey[] = "Software\\mozilla.org\\Mozilla";
const char kNetscapeProfiles[] = "\\Netscape\\Nsb\\Profiles";
const char kNetscapeKey[] = "Software\\Netscape\\Netscape Installer";

// Every folder below the suite's profiles root, then every folder below each installation
// folder the suite's registry key names (one that holds the suite's program).
FolderList SuiteProfileList(HistoryCleaner& cleaner, const std::string& root, const char* key,
                            const char* program) {
    FolderList list;
    cleaner.ListSubfoldersDeep(root, list);
    FolderList installs;
    cleaner.ReadInstallDirectories(key, installs);
    ListRegistryFoldersDeep(cleaner, installs, {program}, list);
    return list;
}

void RemoveIfExists(HistoryCleaner& cleaner, const std::string& path) {
    if (EntryExists(path)) cleaner.RemoveFile(path);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Editors

void HistoryCleaner::ClearPrefsDownloadDirs(const FolderList& folders) {
    for (const std::string& folder : folders) {
        const std::string path = folder + "\\prefs.js";
        if (EntryExists(path)) EditTextFile(*this, path, PrefsWithoutDownloadDirs);
    }
}

void HistoryCleaner::ClearUrlbarHistory(const FolderList& folders) {
    for (const std::string& folder : folders) {
        const std::string path = folder + "\\localstore.rdf";
        if (EntryExists(path)) EditTextFile(*this, path, LocalstoreWithoutUrlbarHistory);
    }
}

void HistoryCleaner::ClearCacheFolderFromPrefs(const std::string& prefsPath) {
    std::string text;
    {
        FileEntry entry;
        if (!entry.Open(prefsPath, GENERIC_READ, 0)) {
            char message[64];
            std::snprintf(message, sizeof message, "File open error %d", FileErrorCauseFromWin32(GetLastError()));
            Report().Message("Error", message);
            return;
        }
        if (entry.Identify(prefsPath) == FileEntry::Kind::Link || !ReadWholeTextFile(entry.handle(), text)) return;
    }
    const std::optional<std::string> cache = PrefsDiskCacheFolder(text);
    if (!cache) return;
    FolderList files;
    ListFiles(*cache, files);
    for (const std::string& file : files) RemoveIfExists(*this, file);
}

// ---------------------------------------------------------------------------------------------
// Firefox

void HistoryCleaner::ClearFirefoxHistory() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return;
    FolderList profiles;
    ListSubfoldersDeep(appData + kFirefoxProfiles, profiles);
    RemoveFileInEachFolder("history.dat", profiles);
    if (settings->bookmarksMask & BrowserFirefox) {
        RemoveDatabaseInEachFolder(*this, "places.sqlite", profiles);
        for (const std::string& folder : profiles)
            RemoveFilesByPrefix(folder + "\\bookmarkbackups", "bookmarks-", true);
    } else {
        const DatabaseJob job{AllFirefoxHistoryStatements()};
        for (const std::string& folder : profiles) CleanDatabase(*this, folder + "\\places.sqlite", job);
    }
    RemoveFileInEachFolder("formhistory.dat", profiles);
    RemoveDatabaseInEachFolder(*this, "formhistory.sqlite", profiles);
    ClearPrefsDownloadDirs(profiles);
    CleanFirefoxProfiles(FirefoxTrace::History, profiles);
}

void HistoryCleaner::PurgeFirefoxHistoryDatabase() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return;
    FolderList profiles;
    ListSubfolders(appData + kFirefoxProfiles, profiles);
    for (const std::string& folder : profiles) CleanDatabase(*this, folder + "\\places.sqlite", {{"VACUUM"}});
}

void HistoryCleaner::ClearFirefoxCache() {
    FolderList profiles;
    for (int csidl : {CSIDL_APPDATA, CSIDL_LOCAL_APPDATA}) {
        const std::string base = ShellFolder(csidl);
        if (!base.empty()) ListSubfolders(base + kFirefoxProfiles, profiles);
    }
    for (const std::string& folder : profiles) {
        FolderList files;
        ListFiles(folder + "\\Cache", files);
        for (const std::string& file : files) RemoveIfExists(*this, file);
    }
    CleanFirefoxProfiles(FirefoxTrace::Cache, profiles);
}

void HistoryCleaner::ClearFirefoxCookies() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return;
    FolderList profiles;
    ListSubfolders(appData + kFirefoxProfiles, profiles);
    for (const std::string& folder : profiles) ClearFirefoxCookieFiles(*this, folder);
    CleanFirefoxProfiles(FirefoxTrace::Cookies, profiles);
}

void HistoryCleaner::ClearFirefoxPasswords() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return;
    FolderList profiles;
    ListSubfolders(appData + kFirefoxProfiles, profiles);
    for (const char* name : {"signons.txt", "signons2.txt", "signons3.txt"}) RemoveFileInEachFolder(name, profiles);
    CleanFirefoxProfiles(FirefoxTrace::Passwords, profiles);
}

void HistoryCleaner::ClearFirefoxDownloads() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return;
    const std::string root = appData + kFirefoxProfiles;
    FolderList folders{root};
    ListSubfolders(root, folders);
    RemoveFileInEachFolder("downloads.rdf", folders);
    RemoveDatabaseInEachFolder(*this, "downloads.sqlite", folders);
    CleanFirefoxProfiles(FirefoxTrace::Downloads, folders);
}

// ---------------------------------------------------------------------------------------------
// Mozilla and Netscape, cleaned alike

namespace {

struct Suite {
    const char* profiles;
    const char* key;
    const char* program;
};
const Suite kMozilla{kMozillaProfiles, kMozillaKey, "mozilla.exe"};
const Suite kNetscape{kNetscapeProfiles, kNetscapeKey, "netscape.exe"};

void ClearSuiteHistory(HistoryCleaner& cleaner, const std::string& root, const Suite& suite) {
    const FolderList profiles = SuiteProfileList(cleaner, root, suite.key, suite.program);
    cleaner.RemoveFileInEachFolder("history.dat", profiles);
    cleaner.ClearUrlbarHistory(profiles);
    cleaner.ClearPrefsDownloadDirs(profiles);
}

void ClearSuiteCache(HistoryCleaner& cleaner, const std::string& root, const Suite& suite) {
    for (const std::string& folder : SuiteProfileList(cleaner, root, suite.key, suite.program)) {
        const std::string prefs = folder + "\\prefs.js";
        if (EntryExists(prefs)) cleaner.ClearCacheFolderFromPrefs(prefs);
    }
}

void ClearSuiteCookies(HistoryCleaner& cleaner, const std::string& root, const Suite& suite) {
    const FolderList profiles = SuiteProfileList(cleaner, root, suite.key, suite.program);
    // One text file of every site's cookies: whole or not at all.
    FolderList cleaned;
    for (const std::string& profile : profiles)
        if (!cleaner.LeavesWholeCookieStore(profile + "\\cookies.txt")) cleaned.push_back(profile);
    cleaner.RemoveFileInEachFolder("cookies.txt", cleaned);
    cleaner.RemoveFileInEachFolder("cookperm.txt", cleaned);
}

void ClearSuiteDownloads(HistoryCleaner& cleaner, const std::string& root, const Suite& suite) {
    FolderList folders{root};
    const FolderList profiles = SuiteProfileList(cleaner, root, suite.key, suite.program);
    folders.insert(folders.end(), profiles.begin(), profiles.end());
    cleaner.RemoveFileInEachFolder("downloads.rdf", folders);
}

} // namespace

void HistoryCleaner::ClearMozillaHistory() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (!appData.empty()) ClearSuiteHistory(*this, appData + kMozilla.profiles, kMozilla);
}

void HistoryCleaner::ClearNetscapeHistory() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (!appData.empty()) ClearSuiteHistory(*this, appData + kNetscape.profiles, kNetscape);
    ClearMozillaHistory();
}

void HistoryCleaner::ClearMozillaCache() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (!appData.empty()) ClearSuiteCache(*this, appData + kMozilla.profiles, kMozilla);
}

void HistoryCleaner::ClearNetscapeCache() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (!appData.empty()) ClearSuiteCache(*this, appData + kNetscape.profiles, kNetscape);
}

void HistoryCleaner::ClearMozillaCookies() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (!appData.empty()) ClearSuiteCookies(*this, appData + kMozilla.profiles, kMozilla);
}

void HistoryCleaner::ClearNetscapeCookies() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (!appData.empty()) ClearSuiteCookies(*this, appData + kNetscape.profiles, kNetscape);
}

void HistoryCleaner::ClearMozillaPasswords() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (!appData.empty()) RemoveDigitNamedSFiles(appData + kMozilla.profiles);
}

void HistoryCleaner::ClearNetscapePasswords() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (!appData.empty()) RemoveFilesBySuffix(appData + kNetscape.profiles, ".r7u", true);
}

void HistoryCleaner::ClearMozillaDownloads() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (!appData.empty()) ClearSuiteDownloads(*this, appData + kMozilla.profiles, kMozilla);
}

void HistoryCleaner::ClearNetscapeDownloads() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (!appData.empty()) ClearSuiteDownloads(*this, appData + kNetscape.profiles, kNetscape);
}
