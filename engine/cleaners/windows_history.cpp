// The history that Windows itself keeps for the current user.
#include "engine/history_cleaner.h"

#include <shellapi.h>
#include <shlobj.h>

#include "engine/cleaners/profile_files.h"
#include "engine/holders.h"
#include "engine/walk_rules.h"
#include "platform/handles.h"

namespace {
const char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const char kExplorerBars[] = "Software\\Microsoft\\Internet Explorer\\Explorer Bars";

std::string ExplorerKey(const char* name) {
    return std::string(kExplorer) + "\\" + name;
}
} // namespace

void HistoryCleaner::EmptyRecycleBin() {
    SHQUERYRBINFO before{};
    before.cbSize = sizeof before;
    const bool known = SUCCEEDED(SHQueryRecycleBinA(nullptr, &before));
    if (!dryRun) {
        SHEmptyRecycleBinA(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
        SHEmptyRecycleBinA(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
    }
    if (!known || before.i64NumItems <= 0) return;
    SHQUERYRBINFO after{};
    after.cbSize = sizeof after;
    if (!dryRun && SUCCEEDED(SHQueryRecycleBinA(nullptr, &after)) && after.i64NumItems > 0)
        RecordLeft(ItemKind::RecycleBin, "Recycle Bin", LeftReason::Failed,
                   std::to_string(after.i64NumItems) + " items could not be removed");
    RecordItem item;
    item.action = ItemAction::Emptied;
    item.kind = ItemKind::RecycleBin;
    item.path = "Recycle Bin";
    item.detail = std::to_string(before.i64NumItems - (dryRun ? 0 : after.i64NumItems)) + " items";
    item.bytes = static_cast<uint64_t>(before.i64Size - (dryRun ? 0 : after.i64Size));
    Record(std::move(item));
}

void HistoryCleaner::ClearRecentDocuments() {
    if (!dryRun) SHAddToRecentDocs(SHARD_PATHA, nullptr);
    DeleteAllSubkeys(ExplorerKey("RecentDocs"));
    DeleteRegistryTree(HKEY_CURRENT_USER, ExplorerKey("RecentDocs"));
}

void HistoryCleaner::EmptyRecentItems() {
    const std::string appData = ShellFolder(CSIDL_APPDATA);
    if (appData.empty()) return; // never "\Microsoft\Windows\Recent" on the current drive
    // Only the shortcuts: the jump lists in AutomaticDestinations and CustomDestinations beside
    // them hold the user's pins and Quick Access. Their recent and frequent entries go through the
    // shell, which keeps the pins.
    RemoveFilesBySuffix(appData + "\\Microsoft\\Windows\\Recent", ".lnk", true);
    ClearJumpListEntries();
}

void HistoryCleaner::ClearClipboard(HWND owner) {
    RecordItem item;
    item.action = ItemAction::Emptied;
    item.kind = ItemKind::Clipboard;
    item.path = "Clipboard";
    if (dryRun) {
        if (CountClipboardFormats() > 0) Record(std::move(item));
        return;
    }
    if (!OpenClipboard(owner)) {
        // Another program has it open: say which.
        RecordItem left = item;
        left.action = ItemAction::Left;
        left.reason = LeftReason::Held;
        DWORD pid = 0;
        if (HWND holder = GetOpenClipboardWindow()) GetWindowThreadProcessId(holder, &pid);
        left.holderPid = pid;
        left.holder = pid ? ProgramOfProcess(pid) : std::string();
        Record(std::move(left));
        return;
    }
    const bool hadSomething = CountClipboardFormats() > 0;
    EmptyClipboard();
    CloseClipboard();
    if (hadSomething) Record(std::move(item));
}

void HistoryCleaner::EmptyTempFolders() {
    // XP: History and Temp both lie in "Local Settings", so this is the user's temporary folder;
    // Vista and later: Microsoft\Windows\Temp below the local application data.
    const std::string history = ShellFolder(CSIDL_HISTORY);
    const std::string besideHistory = history.empty() ? std::string() : TempBesideHistory(history);
    if (!besideHistory.empty()) {
        EmptyFolder(besideHistory, true);
        FolderList folders;
        ListSubfoldersDeep(besideHistory, folders);
        folders.push_back(history);
        ClearIndexDatContent(folders);
    }
    // Vista and later: the user's temporary folder AppData\Local\Temp.
    const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
    if (!local.empty() && LocalAppDataHasTemp(local)) EmptyFolder(local + "\\Temp", false);
    const std::string windows = ShellFolder(CSIDL_WINDOWS);
    if (!windows.empty()) EmptyFolder(windows + "\\Temp", false);
    // The user's temporary folder is wherever TMP or TEMP says: a roaming profile's, a redirected
    // one, Wine's "C:\users\<user>\Temp".
    const std::string temp = UserTempFolder();
    if (temp.empty()) return;
    FolderList userFolders;
    for (int csidl : {CSIDL_PROFILE, CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA,
                      CSIDL_MYPICTURES, CSIDL_MYMUSIC, CSIDL_MYVIDEO, CSIDL_FAVORITES, CSIDL_STARTMENU,
                      CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_DOCUMENTS})
        userFolders.push_back(ShellFolder(csidl));
    char program[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        std::string own = program;
        userFolders.push_back(own.substr(0, own.find_last_of('\\')));
    }
    if (!MayEmptyTempFolder(temp, SystemFoldersOfThisMachine(), userFolders)) return;
    const std::string folder = NormalisedFolder(temp);
    if ((!local.empty() && folder == NormalisedFolder(local + "\\Temp")) ||
        (!windows.empty() && folder == NormalisedFolder(windows + "\\Temp")))
        return; // emptied above
    EmptyFolder(temp, false);
}

std::string HistoryCleaner::UserTempFolder() const {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) return {};
    // Short names ("C:\Users\ANNSMI~1\...") compared with the shell's long ones would match none.
    char longPath[MAX_PATH] = {};
    const DWORD longLength = GetLongPathNameA(buffer, longPath, MAX_PATH);
    std::string temp = longLength > 0 && longLength < MAX_PATH ? longPath : buffer;
    while (temp.size() > 3 && temp.back() == '\\') temp.pop_back();
    return temp;
}

void HistoryCleaner::ClearRunHistory() {
    DeleteRegistryTree(HKEY_CURRENT_USER, ExplorerKey("RunMRU"));
    DeleteRegistryTree(HKEY_CURRENT_USER, ExplorerKey("TypedPaths"));
}

void HistoryCleaner::ClearSearchFilesHistory() {
    DeleteRegistryTree(HKEY_CURRENT_USER, ExplorerKey("Doc Find Spec MRU"));
    DeleteSubkeyUnderEach(kExplorerBars, "ContainingTextMRU");
    DeleteSubkeyUnderEach(kExplorerBars, "FilesNamedMRU");
    DeleteAllSubkeys("Software\\Microsoft\\Search Assistant\\ACMru");
}

void HistoryCleaner::ClearSearchComputersHistory() {
    DeleteRegistryTree(HKEY_CURRENT_USER, ExplorerKey("FindComputerMRU"));
    DeleteSubkeyUnderEach(kExplorerBars, "ComputerNameMRU");
}

void HistoryCleaner::ClearUserAssist() {
    DeleteAllSubkeys("Software\\Microsoft\\UserAssist");
    // Where Windows keeps it: one key per kind of item ({GUID}), the counts as values of its
    // "Count" key. The keys stay; Windows writes the next counts into them.
    const std::string userAssist = ExplorerKey("UserAssist");
    RegKey kinds;
    if (kinds.Open(HKEY_CURRENT_USER, userAssist, KEY_READ) != ERROR_SUCCESS) return;
    for (const std::string& kind : kinds.SubkeyNames()) DeleteValuesByPrefix(userAssist + "\\" + kind + "\\Count", "");
}

void HistoryCleaner::ClearStreams() {
    DeleteRegistryTree(HKEY_CURRENT_USER, ExplorerKey("StreamMRU"));
    DeleteAllSubkeys(ExplorerKey("Streams"));
}

void HistoryCleaner::ClearOpenSaveHistory() {
    DeleteRegistryTree(HKEY_CURRENT_USER, ExplorerKey("ComDlg32\\LastVisitedMRU"));
    DeleteRegistryTree(HKEY_CURRENT_USER, ExplorerKey("ComDlg32\\LastVisitedPidlMRU"));
    DeleteAllSubkeys(ExplorerKey("ComDlg32\\OpenSaveMRU"));
    DeleteRegistryTree(HKEY_CURRENT_USER, ExplorerKey("ComDlg32\\OpenSaveMRU"));
    DeleteAllSubkeys(ExplorerKey("ComDlg32\\OpenSavePidlMRU"));
    DeleteRegistryTree(HKEY_CURRENT_USER, ExplorerKey("ComDlg32\\OpenSavePidlMRU"));
}

void HistoryCleaner::WritePageFileSetting(bool on) {
    // Needs administrator rights; without them nothing changes and nothing is said.
    const char path[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
    const REGSAM access = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
    RegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, path, access) != ERROR_SUCCESS &&
        key.Create(HKEY_LOCAL_MACHINE, path, access) != ERROR_SUCCESS)
        return;
    const DWORD value = on ? 1 : 0;
    RegSetValueExA(key.get(), "ClearPageFileAtShutdown", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
}
