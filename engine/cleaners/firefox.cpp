// The Firefox family as it is today: every profile Firefox itself knows of (profiles.ini and
// installs.ini, the Profiles folder, the Microsoft Store build, LibreWolf, Waterfox and Floorp), with
// its local folder, and the traces it keeps there beyond the files of older versions.
#include <shlobj.h>

#include <algorithm>

#include "engine/cleaners/cookie_stores.h"
#include "engine/cleaners/firefox_profiles.h"
#include "engine/cleaners/mozilla_edits.h"
#include "engine/cleaners/profile_files.h"
#include "engine/database_cleaning.h"
#include "engine/file_entry.h"
#include "engine/history_cleaner.h"
#include "engine/recording.h"
#include "platform/handles.h"

namespace {

// One browser of the family: its roots below the roaming and the local application data.
struct MozillaFamilyRoot {
    const char* browser;
    const char* roaming; // below CSIDL_APPDATA
    const char* local;   // below CSIDL_LOCAL_APPDATA
};
const MozillaFamilyRoot kRoots[] = {
    {"Firefox", "\\Mozilla\\Firefox", "\\Mozilla\\Firefox"},
    {"LibreWolf", "\\librewolf", "\\librewolf"},
    {"Waterfox", "\\Waterfox", "\\Waterfox"},
    {"Floorp", "\\Floorp", "\\Floorp"},
};

struct Profile {
    std::string browser, name;
    std::string folder; // the roaming profile: databases, sessions, passwords
    std::string local;  // where its caches are
};

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string ReadSmallFile(const std::string& path) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text;
    if (file.valid()) ReadWholeTextFile(file.get(), text);
    return text;
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// The profiles below one pair of roots: those profiles.ini and installs.ini name, and every folder
// of "Profiles". A profile reached through a link is not the family's own.
void AddProfiles(HistoryCleaner& cleaner, const char* browser, const std::string& roaming, const std::string& local,
                 std::vector<Profile>& profiles) {
    auto add = [&](const std::string& folder, const std::string& localFolder) {
        if (folder.empty() || !IsFolderOfItsOwn(folder)) return;
        for (const Profile& known : profiles)
            if (Lower(known.folder) == Lower(folder)) return;
        profiles.push_back({browser, NameOf(folder), folder, localFolder});
    };
    for (const ProfileReference& reference :
         ProfilesFromIni(ReadSmallFile(roaming + "\\profiles.ini"), ReadSmallFile(roaming + "\\installs.ini"))) {
        const std::string folder = ProfileFolder(roaming, reference);
        add(folder, reference.relative ? ProfileFolder(local, reference) : folder);
    }
    FolderList listed;
    cleaner.ListSubfolders(roaming + "\\Profiles", listed);
    for (const std::string& folder : listed) add(folder, local + "\\Profiles\\" + NameOf(folder));
}

// Another program has the profile open: Firefox holds "parent.lock" without sharing while it runs.
bool InUse(const std::string& folder) {
    const std::string lock = folder + "\\parent.lock";
    if (GetFileAttributesA(lock.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    ScopedHandle file(CreateFileA(lock.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return !file.valid() && GetLastError() == ERROR_SHARING_VIOLATION;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

} // namespace

void ClearFirefoxCookieFiles(HistoryCleaner& cleaner, const std::string& folder) {
    const std::string cookies = folder + "\\cookies.sqlite";
    const std::optional<CookieKeepList> keep = cleaner.CookiesToKeepFor(cookies);
    if (!keep) {
        cleaner.CookiesToKeepFor(folder + "\\cookies.txt");
        return;
    }
    // The text file of older versions names each cookie's host, but nothing reads it any more.
    if (!cleaner.LeavesWholeCookieStore(folder + "\\cookies.txt")) cleaner.RemoveFileInEachFolder("cookies.txt", {folder});
    if (keep->Empty())
        RemoveDatabaseInEachFolder(cleaner, "cookies.sqlite", {folder});
    else
        CleanDatabase(cleaner, cookies, {FirefoxCookieStatements(*keep)});
}

std::vector<std::string> AllFirefoxHistoryStatements() {
    std::vector<std::string> statements = FirefoxHistoryStatements();
    for (std::string& sql : FirefoxCurrentHistoryStatements()) statements.push_back(std::move(sql));
    return statements;
}

std::vector<HistoryCleaner::FirefoxProfileFolders> HistoryCleaner::FindFirefoxProfiles() {
    std::vector<Profile> profiles;
    const std::string roaming = ShellFolder(CSIDL_APPDATA), local = ShellFolder(CSIDL_LOCAL_APPDATA);
    for (const MozillaFamilyRoot& root : kRoots)
        if (!roaming.empty() && !local.empty())
            AddProfiles(*this, root.browser, roaming + root.roaming, local + root.local, profiles);
    // The Microsoft Store build keeps both roots in its package's private folders.
    if (!local.empty()) {
        FolderList packages;
        ListSubfolders(local + "\\Packages", packages);
        for (const std::string& package : packages)
            if (NameOf(package).rfind("Mozilla.Firefox_", 0) == 0)
                AddProfiles(*this, "Firefox", package + "\\LocalCache\\Roaming\\Mozilla\\Firefox",
                            package + "\\LocalCache\\Local\\Mozilla\\Firefox", profiles);
    }
    std::vector<FirefoxProfileFolders> found;
    for (Profile& profile : profiles)
        found.push_back({std::move(profile.browser), std::move(profile.name), std::move(profile.folder),
                         std::move(profile.local)});
    return found;
}

void HistoryCleaner::CleanFirefoxProfiles(FirefoxTrace trace, const FolderList& done) {
    auto isDone = [&](const std::string& folder) {
        return std::any_of(done.begin(), done.end(), [&](const std::string& d) { return Lower(d) == Lower(folder); });
    };
    for (const FirefoxProfileFolders& profile : FindFirefoxProfiles()) {
        const RecordingContext context(*this, {profile.browser, profile.name, this->context.category});
        const std::string& f = profile.folder;
        // Caches go whether Firefox runs or not; its databases and session files only when it
        // does not: it would write them back, or hold them.
        if (trace == FirefoxTrace::Cache) {
            // The files of older versions' "Cache", as in the Profiles folders, then today's caches.
            for (const std::string& folder : {f, profile.local}) {
                if (isDone(folder)) continue;
                FolderList files;
                ListFiles(folder + "\\Cache", files);
                for (const std::string& file : files) RemoveFile(file);
            }
            for (const char* cache : {"\\cache2", "\\startupCache", "\\thumbnails", "\\jumpListCache"})
                EmptyBrowserFolder(*this, profile.local + cache);
            continue;
        }
        if (InUse(f)) {
            RecordLeft(ItemKind::File, f + "\\parent.lock", ERROR_SHARING_VIOLATION, "the profile is in use");
            continue;
        }
        switch (trace) {
        case FirefoxTrace::History:
            if (!isDone(f)) {
                RemoveFileInEachFolder("history.dat", {f});
                if (settings->bookmarksMask & BrowserFirefox) {
                    RemoveDatabaseInEachFolder(*this, "places.sqlite", {f});
                    RemoveFilesByPrefix(f + "\\bookmarkbackups", "bookmarks-", true);
                } else {
                    CleanDatabase(*this, f + "\\places.sqlite", {AllFirefoxHistoryStatements()});
                }
                RemoveFileInEachFolder("formhistory.dat", {f});
                RemoveDatabaseInEachFolder(*this, "formhistory.sqlite", {f});
                ClearPrefsDownloadDirs({f});
            }
            // The icons of the pages that went; with the bookmarks gone too, all of them.
            if (settings->bookmarksMask & BrowserFirefox || !Exists(f + "\\places.sqlite"))
                RemoveDatabaseInEachFolder(*this, "favicons.sqlite", {f});
            else
                CleanDatabase(*this, f + "\\favicons.sqlite", {FirefoxFaviconStatements(), {{"places", f + "\\places.sqlite"}}});
            break;
        case FirefoxTrace::Cookies:
            if (!isDone(f)) ClearFirefoxCookieFiles(*this, f);
            break;
        case FirefoxTrace::Passwords:
            if (!isDone(f))
                for (const char* name : {"signons.txt", "signons2.txt", "signons3.txt"}) RemoveFileInEachFolder(name, {f});
            // Never key4.db: it guards the certificates' keys as well.
            for (const char* name : {"logins.json", "logins-backup.json"}) RemoveFileInEachFolder(name, {f});
            break;
        case FirefoxTrace::Downloads:
            if (!isDone(f)) {
                RemoveFileInEachFolder("downloads.rdf", {f});
                RemoveDatabaseInEachFolder(*this, "downloads.sqlite", {f});
            }
            // With the history the whole of it goes already.
            if (!(settings->historyMask & BrowserFirefox))
                CleanDatabase(*this, f + "\\places.sqlite", {FirefoxDownloadStatements()});
            break;
        case FirefoxTrace::Sessions:
            RemoveFileInEachFolder("sessionstore.jsonlz4", {f});
            RemoveFileInEachFolder("sessionstore.js", {f});
            EmptyBrowserFolder(*this, f + "\\sessionstore-backups");
            break;
        case FirefoxTrace::FormData:
            RemoveDatabaseInEachFolder(*this, "formhistory.sqlite", {f});
            break;
        case FirefoxTrace::Cache: break;
        }
    }
}

void HistoryCleaner::ClearFirefoxSessions() { CleanFirefoxProfiles(FirefoxTrace::Sessions, {}); }

void HistoryCleaner::ClearFirefoxFormData() { CleanFirefoxProfiles(FirefoxTrace::FormData, {}); }
