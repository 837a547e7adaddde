// The history that applications other than browsers keep: toolbars, Office, Paint and WordPad,
// Media Player, Google Desktop, Skype, and Adobe Reader and Acrobat.
#include "engine/history_cleaner.h"

#include <shlobj.h>
#include <sqlite3.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/cleaners/applications_edits.h"
#include "engine/file_entry.h"
#include "engine/walk_rules.h"

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

// The UTF-8 form of a path in the ANSI code page, which is what sqlite3_open expects; empty when
// it cannot be converted.
std::string Utf8Path(const std::string& ansi) {
    const int wideLength =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (wideLength <= 0) return {};
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string utf8(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs `statements` in order on the database at `path` (ANSI). A database that cannot be opened is
// left alone; a statement that fails (the owner holds a lock, a table is missing) is passed over
// and the next one tried. No busy handler is set, so a locked database costs no wait.
void RunOnDatabase(const std::string& path, const std::vector<std::string>& statements) {
    // sqlite3_open creates a file it does not find: a database gone since it was listed (a
    // journal that its owner has removed, say) must not come back as an empty one.
    if (!Exists(path)) return;
    // SQLite opens what a link leads to: a database elsewhere is not this profile's to clean.
    {
        FileEntry entry;
        if (!entry.Open(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) ||
            entry.Identify(path) == FileEntry::Kind::Link)
            return;
    }
    const std::string utf8 = Utf8Path(path);
    if (utf8.empty()) return;
    sqlite3* db = nullptr;
    char* error = nullptr;
    if (sqlite3_open(utf8.c_str(), &db) == SQLITE_OK) {
        for (const std::string& sql : statements) {
            sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
            // Every failing statement hands out a new message: free each, not only the last.
            sqlite3_free(error);
            error = nullptr;
        }
        // A database in write-ahead mode keeps the pages it had before the statements in its
        // "-wal" file until a checkpoint; with the owner's connection still open, our close does
        // not make one. Copy the scrubbed pages back and cut the file to nothing now.
        sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, &error);
        sqlite3_free(error);
    }
    sqlite3_close(db); // also after a failed open, which may still hand out a connection
}

// Runs `statements` on every "main.db" directly in the listed folders.
void RunOnEachMainDb(const FolderList& folders, const std::vector<std::string>& statements) {
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        RunOnDatabase(folder + "\\main.db", statements);
    }
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
    officeKeys({"Access\\Settings"});

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
    RunOnEachMainDb(folders, SkypeCallsStatements());
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
    RunOnEachMainDb(folders, SkypeChatsStatements());
}

void HistoryCleaner::PurgeSkypeDatabase() {
    RunOnEachMainDb(SkypeFolders(*this, ShellFolder(CSIDL_APPDATA)), SkypePurgeStatements());
}

void HistoryCleaner::ClearSkypeLastDialed(const FolderList& folders) {
    // Far beyond any real "config.xml"; a larger file is not one to read whole into memory.
    constexpr LONGLONG kLargestConfig = 64LL << 20;
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        const std::string path = folder + "\\config.xml";
        if (!Exists(path)) continue;
        FileEntry entry;
        // Skype running keeps the file open with sharing; one locked or unreadable file leaves the
        // other accounts still to be done. A link is never written through.
        if (!entry.Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE) ||
            entry.Identify(path) == FileEntry::Kind::Link)
            continue;
        const HANDLE file = entry.handle();
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file, &size) || size.QuadPart > kLargestConfig) continue;
        std::string text(static_cast<size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        if (!text.empty() && (!ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr) ||
                              got != text.size()))
            continue;
        const auto edited = SkypeConfigWithoutLastDialed(text);
        if (!edited) continue;
        LARGE_INTEGER start{};
        if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) continue;
        DWORD written = 0;
        if (!WriteFile(file, edited->data(), static_cast<DWORD>(edited->size()), &written, nullptr) ||
            written != edited->size())
            continue;
        SetEndOfFile(file);
    }
}

// ---------------------------------------------------------------------------------------------
// Adobe Reader and Acrobat

void HistoryCleaner::ClearAcrobatReaderRecentFiles() {
    DeleteSubkeyUnderEach("Software\\Adobe\\Acrobat Reader", "AVGeneral\\cRecentFiles");
}

void HistoryCleaner::ClearAdobeAcrobatRecentFiles() {
    DeleteSubkeyUnderEach("Software\\Adobe\\Adobe Acrobat", "AVGeneral\\cRecentFiles");
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
        if (MatchesPrefix(name, "Organizer")) RunOnDatabase(path, statements);
    }
    FolderList subfolders;
    cleaner.ListSubfolders(folder, subfolders);
    for (const std::string& subfolder : subfolders) RunOnOrganizerDatabases(cleaner, subfolder, statements);
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
    const std::string folder = AcrobatDataFolder(ShellFolder(CSIDL_APPDATA));
    if (!folder.empty()) EmptyFolder(folder, true);
}
