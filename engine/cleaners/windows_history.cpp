// The history that Windows itself keeps for the current user.
#include "engine/history_cleaner.h"

#include <shellapi.h>
#include <shlobj.h>

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
    EmptyFolder(appData + "\\Microsoft\\Windows\\Recent", true);
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
