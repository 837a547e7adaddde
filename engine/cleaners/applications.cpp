// The history that applications other than browsers keep: toolbars, Office, Paint and WordPad,
// Media Player, Google Desktop, Skype, and Adobe Reader and Acrobat.
#include "engine/history_cleaner.h"

#include <shlobj.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/cleaners/applications_edits.h"
#include "engine/cleaners/profile_files.h"
#include "engine/database_cleaning.h"
#include "engine/file_entry.h"
#include "engine/walk_rules.h"
#include "platform/handles.h"

namespace {

const char kOffice[] = "Software\\Microsoft\\Office";

// The file dialogs whose lists Office keeps per application under "Common\Open Find".
const char* const kOfficeDialogs[] = {
    "Add Custom Dictionary",
    "Add Template",
    "Answer",
    "Attach Template",
    "Browse",
    "Create custom dictionary",
    "Change Source",
    "File New Database",
    "Insert File",
    "Insert Picture",
    "Insert Subdocument",
    "Merge Revisions",
    "Modify Location",
    "New from Existing Document",
    "Open",
    "Open Data Source",
    "Save As",
    "Save As HTML",
    "Select File to Compare With Current Document",
};
const char* const kOfficeDialogLists[] = {"File Name MRU", "Any Text MRU"};

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs `statements` on every "main.db" directly in the listed folders.
void CleanEachMainDb(HistoryCleaner& cleaner, const FolderList& folders, const std::vector<std::string>& statements) {
    const DatabaseJob job{statements, {}};
    for (const std::string& folder : folders)
        if (!folder.empty()) CleanDatabase(cleaner, folder + "\\main.db", job);
}

} // namespace

void HistoryCleaner::ClearToolbarHistory() {
    DeleteRegistryKey(HKEY_CURRENT_USER, "Software\\Google\\NavClient\\1.1\\History");
    DeleteRegistryKey(HKEY_LOCAL_MACHINE, "Software\\Google\\NavClient\\1.1\\History");
    DeleteRegistryKey(HKEY_CURRENT_USER, "Software\\Yahoo\\Companion\\SearchHistory");
    DeleteRegistryValue("Software\\Microsoft\\MSN Apps\\SearchBox", "History");
    const std::string roaming = ShellFolder(CSIDL_APPDATA);
    if (!roaming.empty()) EmptyFolder(roaming + "\\Google\\Local Search History", true);
}

void HistoryCleaner::ClearOfficeHistory() {
    const std::string roaming = ShellFolder(CSIDL_APPDATA);
    if (!roaming.empty()) EmptyFolder(roaming + "\\Microsoft\\Office\\Recent", true);

    // One subkey of "Software\Microsoft\Office" per installed version ("11.0", "12.0", ...).
    auto officeKeys = [this](std::initializer_list<const char*> keys) {
        for (const char* key : keys) DeleteSubkeyUnderEach(kOffice, key);
    };
    auto dialogBlock = [this](const std::string& prefix) {
        for (const char* dialog : kOfficeDialogs)
            for (const char* list : kOfficeDialogLists)
                DeleteSubkeyUnderEach(kOffice, prefix + dialog + "\\" + list);
    };

    officeKeys({"Common\\Open Find\\Office\\Settings\\Open Office Document\\File Name MRU",
                "Common\\Open Find\\Office\\Settings\\Open Office Document\\Any Text MRU"});

    dialogBlock("Common\\Open Find\\Microsoft Word\\Settings\\");
    officeKeys({"Word\\Data", "Word\\Recent Templates", "Word\\File MRU", "Word\\Place MRU"});

    dialogBlock("Common\\Open Find\\Microsoft Excel\\Settings\\");
    officeKeys({"Excel\\Recent File List", "Excel\\Recent Files", "Excel\\Recent Templates",
                "Excel\\File MRU", "Excel\\Place MRU"});

    dialogBlock("Common\\Open Find\\Microsoft FrontPage\\Settings\\");
    for (const char* key :
         {"Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent File List",
          "Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent Page List",
          "Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent Web List",
          "Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recently Created Servers",
          "Software\\Microsoft\\FrontPage\\Editor\\Recently Used URLs"})
        DeleteRegistryTree(HKEY_CURRENT_USER, key);

    dialogBlock("Common\\Open Find\\Microsoft PowerPoint\\Settings\\");
    officeKeys({"PowerPoint\\Recent File List", "PowerPoint\\Recent File", "PowerPoint\\Recent Templates",
                "PowerPoint\\File MRU", "PowerPoint\\Place MRU"});

    dialogBlock("Common\\Open Find\\Microsoft Access\\Settings\\");
    RegKey versions;
    if (versions.Open(HKEY_CURRENT_USER, kOffice, KEY_READ) == ERROR_SUCCESS)
        for (const std::string& version : versions.SubkeyNames()) {
            const std::string versionKey = std::string(kOffice) + "\\" + version;
            // Access keeps its recent files as values among all its other options: only those go.
            DeleteValuesByPrefix(versionKey + "\\Access\\Settings", "MRU");
            // Office 2016 and later keep the lists of each signed-in identity (a Microsoft
            // account, a work account) apart: "<application>\User MRU\<identity>".
            RegKey applications;
            if (applications.Open(HKEY_CURRENT_USER, versionKey, KEY_READ) != ERROR_SUCCESS) continue;
            for (const std::string& application : applications.SubkeyNames()) {
                const std::string userMru = versionKey + "\\" + application + "\\User MRU";
                RegKey identities;
                if (identities.Open(HKEY_CURRENT_USER, userMru, KEY_READ) != ERROR_SUCCESS) continue;
                for (const std::string& identity : identities.SubkeyNames())
                    for (const char* list : {"File MRU", "Place MRU"})
                        DeleteRegistryTree(HKEY_CURRENT_USER, userMru + "\\" + identity + "\\" + list);
            }
        }

    dialogBlock("Common\\Open Find\\Microsoft Document Imaging\\Settings\\");
    officeKeys({"Publisher\\Recent File List"});

    DeleteRegistryTree(HKEY_CURRENT_USER,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List");
    DeleteRegistryTree(HKEY_CURRENT_USER,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List");
}

void HistoryCleaner::ClearMediaPlayerHistory() {
    DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList");
    DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList");
}

void HistoryCleaner::ClearGoogleDesktopHistory() {
    if (!PromptCloseGoogleDesktop()) return;
    const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
    if (!local.empty()) EmptyFolder(local + "\\Google\\Google Desktop", true);
}

// ---------------------------------------------------------------------------------------------
// Skype: one folder per account below "Skype" in the roaming application data, each with its
// "main.db", its "config.xml" and, in older versions, the ".dbb" files.

namespace {

FolderList SkypeFolders(HistoryCleaner& cleaner, const std::string& roaming) {
    FolderList folders;
    if (!roaming.empty()) cleaner.ListSubfoldersDeep(roaming + "\\Skype", folders);
    return folders;
}

} // namespace

void HistoryCleaner::ClearSkypeCalls() {
    const FolderList folders = SkypeFolders(*this, ShellFolder(CSIDL_APPDATA));
    RemoveFileInEachFolder("call256.dbb", folders);
    RemoveFileInEachFolder("callmember256.dbb", folders);
    CleanEachMainDb(*this, folders, SkypeCallsStatements());
    ClearSkypeLastDialed(folders);
}

void HistoryCleaner::ClearSkypeChats() {
    const FolderList folders = SkypeFolders(*this, ShellFolder(CSIDL_APPDATA));
    for (const std::string& folder : folders) {
        const std::string chatsync = folder + "\\chatsync";
        if (Exists(chatsync)) EmptyFolder(chatsync, true);
    }
    for (const char* name : {"chat512.dbb", "chatmember256.dbb", "chatmsg256.dbb", "chat256.dbb"})
        RemoveFileInEachFolder(name, folders);
    CleanEachMainDb(*this, folders, SkypeChatsStatements());
}

void HistoryCleaner::PurgeSkypeDatabase() {
    CleanEachMainDb(*this, SkypeFolders(*this, ShellFolder(CSIDL_APPDATA)), SkypePurgeStatements());
}

void HistoryCleaner::ClearSkypeLastDialed(const FolderList& folders) {
    // Skype running keeps the file open with sharing; one locked or unreadable file leaves the
    // other accounts still to be done.
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        const std::string path = folder + "\\config.xml";
        if (Exists(path)) EditTextFile(*this, path, SkypeConfigWithoutLastDialed);
    }
}

// ---------------------------------------------------------------------------------------------
// Adobe Reader and Acrobat

// The DC versions keep the folders files were opened from beside the files themselves.
void HistoryCleaner::ClearAcrobatReaderRecentFiles() {
    DeleteSubkeyUnderEach("Software\\Adobe\\Acrobat Reader", "AVGeneral\\cRecentFiles");
    DeleteSubkeyUnderEach("Software\\Adobe\\Acrobat Reader", "AVGeneral\\cRecentFolders");
}

void HistoryCleaner::ClearAdobeAcrobatRecentFiles() {
    DeleteSubkeyUnderEach("Software\\Adobe\\Adobe Acrobat", "AVGeneral\\cRecentFiles");
    DeleteSubkeyUnderEach("Software\\Adobe\\Adobe Acrobat", "AVGeneral\\cRecentFolders");
}

namespace {

// Runs `statements` on every file below `folder`, at any depth, whose name begins with
// "Organizer". A folder's files are listed before any of them is opened, so that the journals
// SQLite makes and removes meanwhile are never taken for databases of their own.
void RunOnOrganizerDatabases(HistoryCleaner& cleaner, const std::string& folder,
                             const std::vector<std::string>& statements) {
    FolderList files;
    cleaner.ListFiles(folder, files);
    for (const std::string& path : files) {
        const std::string name = path.substr(path.find_last_of('\\') + 1);
        if (MatchesPrefix(name, "Organizer")) CleanDatabase(cleaner, path, {statements, {}});
    }
    FolderList subfolders;
    cleaner.ListSubfolders(folder, subfolders);
    for (const std::string& subfolder : subfolders) RunOnOrganizerDatabases(cleaner, subfolder, statements);
}

// Removes every file below `folder` whose name begins with "Organizer", with its journals.
void RemoveOrganizerDatabases(HistoryCleaner& cleaner, const std::string& folder) {
    FolderList files;
    cleaner.ListFiles(folder, files);
    for (const std::string& path : files) {
        const std::string name = path.substr(path.find_last_of('\\') + 1);
        if (MatchesPrefix(name, "Organizer")) RemoveDatabaseFile(cleaner, path);
    }
    FolderList subfolders;
    cleaner.ListSubfolders(folder, subfolders);
    for (const std::string& subfolder : subfolders) RemoveOrganizerDatabases(cleaner, subfolder);
}

} // namespace

void HistoryCleaner::ClearAcrobatOrganizerHistory() {
    const std::string folder = AcrobatDataFolder(ShellFolder(CSIDL_APPDATA));
    if (!folder.empty()) RunOnOrganizerDatabases(*this, folder, AcrobatOrganizerHistoryStatements());
}

void HistoryCleaner::ClearAcrobatCollections() {
    const std::string folder = AcrobatDataFolder(ShellFolder(CSIDL_APPDATA));
    if (!folder.empty()) RunOnOrganizerDatabases(*this, folder, AcrobatCollectionsStatements());
}

void HistoryCleaner::ClearAcrobatDataFolder() {
    const std::string roaming = ShellFolder(CSIDL_APPDATA);
    const std::string folder = AcrobatDataFolder(roaming);
    if (folder.empty()) return;
    if (AcrobatDataFolderIsOwn(roaming)) {
        EmptyFolder(folder, true);
        return;
    }
    // Beside the Organizer here lie the user's trusted identities, stamps and scripts: only the
    // databases that hold the history and the collections go.
    RemoveOrganizerDatabases(*this, folder);
}
