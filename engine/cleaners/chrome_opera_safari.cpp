// Opera before it was built on Chromium, and Safari for Windows. Chrome, and today's Opera, are
// the Chromium family's (chromium.cpp).
#include <shlobj.h>

#include "engine/cleaners/chrome_opera_safari_edits.h"
#include "engine/cleaners/profile_files.h"
#include "engine/history_cleaner.h"

namespace {

const char kOpera[] = "\\Opera";
const char kOperaKey[] = "Software\\Opera Software";
const char kSafari[] = "\\Apple Computer\\Safari";
// What makes a folder the registry names Opera's own: its program or its preferences.
const std::initializer_list<const char*> kOperaOwnFiles = {"opera.exe", "operaprefs.ini", "opera6.ini"};

// Every folder below `opera`, then every folder below the folders Opera's registry key
// remembers ("Last Directory2", "Last Directory3").
FolderList OperaList(HistoryCleaner& cleaner, const std::string& opera) {
    FolderList list;
    cleaner.ListSubfoldersDeep(opera, list);
    FolderList remembered;
    cleaner.ReadLastDirectories(kOperaKey, remembered);
    ListRegistryFoldersDeep(cleaner, remembered, kOperaOwnFiles, list);
    return list;
}

// The Safari folder itself and the folders directly in it.
FolderList SafariList(HistoryCleaner& cleaner, const std::string& root) {
    FolderList list{root};
    cleaner.ListSubfolders(root, list);
    return list;
}

void RemoveIfExists(HistoryCleaner& cleaner, const std::string& path) {
    if (EntryExists(path)) cleaner.RemoveFile(path);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Editors

void HistoryCleaner::ClearOperaIniDirs(const FolderList& folders) {
    for (std::string_view ini : kOperaIniFiles) {
        for (const std::string& folder : folders) {
            const std::string path = folder + "\\" + std::string(ini);
            if (EntryExists(path)) EditTextFile(*this, path, OperaIniWithoutDirs);
        }
    }
}

void HistoryCleaner::ClearSafariPlistEntries(const FolderList& folders) {
    for (const SafariPlistPass& pass : kSafariPlistPasses) {
        for (const std::string& folder : folders) {
            const std::string path = folder + "\\" + std::string(pass.file);
            if (EntryExists(path))
                EditTextFile(*this, path, [&pass](std::string_view text) { return SafariPlistWithEmptyValue(text, pass); });
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Opera

void HistoryCleaner::ClearOperaHistory() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return;
    const FolderList list = OperaList(*this, appData + kOpera);
    // "vlink4.datt" and "typed_history.hml.win" are names no Opera writes: the visited-links file
    // is "vlink4.dat". All are asked for; a name that is not there costs nothing.
    for (const char* name : {"opera.dir", "global.dat", "global_history.dat", "vlink4.datt", "vlink4.dat",
                             "autosave.win", "autosave.win.bak", "typed_history.hml.win", "typed_history.xml"})
        RemoveFileInEachFolder(name, list);
    ClearOperaIniDirs(list);
}

void HistoryCleaner::ClearOperaCache() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
    FolderList list;
    if (!appData.empty()) ListSubfoldersDeep(appData + kOpera, list);
    if (!local.empty()) ListSubfoldersDeep(local + kOpera, list);
    FolderList remembered;
    ReadLastDirectories(kOperaKey, remembered);
    ListRegistryFoldersDeep(*this, remembered, kOperaOwnFiles, list);
    for (const std::string& folder : list)
        for (const char* sub : {"\\cache4", "\\images", "\\opcache", "\\cache", "\\icons", "\\vps"})
            EmptyBrowserFolder(*this, folder + sub);
}

void HistoryCleaner::ClearOperaCookies() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return;
    for (const std::string& folder : OperaList(*this, appData + kOpera))
        if (!LeavesWholeCookieStore(folder + "\\cookies4.dat")) RemoveIfExists(*this, folder + "\\cookies4.dat");
}

void HistoryCleaner::ClearOperaPasswords() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return;
    RemoveFileInEachFolder("wand.dat", OperaList(*this, appData + kOpera));
}

void HistoryCleaner::ClearOperaDownloads() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return;
    FolderList folders{appData + kOpera};
    const FolderList list = OperaList(*this, appData + kOpera);
    folders.insert(folders.end(), list.begin(), list.end());
    RemoveFileInEachFolder("download.dat", folders);
}

void HistoryCleaner::ClearOperaSpeedDial() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return;
    const FolderList list = OperaList(*this, appData + kOpera);
    for (const std::string& folder : list) EmptyBrowserFolder(*this, folder + "\\thumbnails");
    RemoveFileInEachFolder("speeddial.ini", list);
    RemoveFileInEachFolder("opthumb.dat", list);
}

// ---------------------------------------------------------------------------------------------
// Safari

void HistoryCleaner::ClearSafariHistory() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (!appData.empty()) {
        const FolderList list = SafariList(*this, appData + kSafari);
        for (const char* name : {"History.plist", "LastSession.plist", "Form Values.plist"})
            RemoveFileInEachFolder(name, list);
        ClearSafariPlistEntries(list);
    }
    const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
    if (!local.empty()) EmptyBrowserFolder(*this, local + kSafari + "\\History");
}

void HistoryCleaner::ClearSafariCache() {
    const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
    if (local.empty()) return;
    const FolderList list = SafariList(*this, local + kSafari);
    RemoveDatabaseInEachFolder(*this, "Cache.db", list);
    RemoveDatabaseInEachFolder(*this, "WebpageIcons.db", list);
    EmptyBrowserFolder(*this, local + kSafari + "\\Webpage Previews");
}

void HistoryCleaner::ClearSafariCookies() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return;
    const std::string cookies = appData + kSafari + "\\Cookies";
    if (!LeavesWholeCookieStore(cookies, ItemKind::Folder)) EmptyBrowserFolder(*this, cookies);
}

void HistoryCleaner::ClearSafariPasswords() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return;
    RemoveFileInEachFolder("keychain.plist", SafariList(*this, appData + kSafari + "\\Preferences"));
}

void HistoryCleaner::ClearSafariDownloads() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return;
    RemoveFileInEachFolder("Downloads.plist", SafariList(*this, appData + kSafari));
}
