// The "index.dat" files of WinINet: their content cleared in place, those of a few Internet
// Explorer folders deleted, and a batch file that deletes the rest at the next Windows start.
#include <shlobj.h>

#include <string>

#include "engine/cleaners/index_dat_plan.h"
#include "engine/file_entry.h"
#include "engine/history_cleaner.h"
#include "platform/handles.h"

namespace {

void Seek(HANDLE file, uint64_t position) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(position);
    SetFilePointerEx(file, to, nullptr, FILE_BEGIN);
}

const char kRunOnce[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kStartupValue[] = "index";
const REGSAM kStartupAccess = KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE;

// `folder` and every folder below it; nothing when the folder could not be looked up.
FolderList FolderAndBelow(HistoryCleaner& cleaner, const std::string& folder) {
    FolderList list;
    if (folder.empty()) return list;
    list.push_back(folder);
    cleaner.ListSubfoldersDeep(folder, list);
    return list;
}

std::string StartupValue(HKEY root, const char* key) {
    RegKey opened;
    if (opened.Open(root, key, KEY_READ) != ERROR_SUCCESS) return {};
    char data[MAX_PATH * 2] = "";
    DWORD size = sizeof data - 1;
    DWORD type = 0;
    if (RegQueryValueExA(opened.get(), kStartupValue, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    data[size] = '\0';
    return data;
}

void DeleteStartupValue(HKEY root, const char* key) {
    RegKey opened;
    if (opened.Open(root, key, kStartupAccess) == ERROR_SUCCESS) RegDeleteValueA(opened.get(), kStartupValue);
}

} // namespace

void HistoryCleaner::RecordCleared(const std::string& path, uint64_t bytes) {
    RecordItem item;
    item.action = ItemAction::Edited;
    item.kind = ItemKind::File;
    item.path = path;
    item.detail = "content cleared in place";
    item.bytes = bytes;
    Record(std::move(item));
}

void HistoryCleaner::ClearIndexDatContent(const FolderList& folders) {
    const IndexDatPlan plan(settings->maxIndexDatSizeMb);
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        const std::string path = folder + "\\index.dat";
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        // A file that WinINet does not hold open simply goes; one in use is cleared in place.
        const uint64_t leftBefore = itemsLeft_;
        RemoveFile(path);
        if (dryRun) {
            // The removal would have failed: the content would be cleared instead.
            if (itemsLeft_ == leftBefore) continue;
            FileEntry held;
            if (!held.Open(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) ||
                held.Identify(path) != FileEntry::Kind::Plain)
                continue;
            const uint64_t end = plan.ClearEnd(held.size());
            RecordCleared(path, end > IndexDatPlan::kKeptHeader ? end - IndexDatPlan::kKeptHeader : 0);
            continue;
        }
        FileEntry entry;
        // Removed above, or locked by someone: the other folders still get their turn. A link or
        // a file with other names is never written through.
        if (!entry.Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) ||
            entry.Identify(path) != FileEntry::Kind::Plain)
            continue;
        const HANDLE file = entry.handle();
        LARGE_INTEGER size{};
        const uint64_t length = GetFileSizeEx(file, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
        const uint64_t end = plan.ClearEnd(length);
        static const char zeros[IndexDatPlan::kBlock] = {};
        char block[IndexDatPlan::kBlock];
        uint64_t cleared = 0;
        for (uint64_t position = IndexDatPlan::kKeptHeader; position < end;
             position += IndexDatPlan::kBlock) {
            Seek(file, position);
            DWORD got = 0;
            if (!ReadFile(file, block, sizeof block, &got, nullptr) || got == 0) break;
            Seek(file, position);
            DWORD written = 0;
            if (WriteFile(file, zeros, got, &written, nullptr)) cleared += written;
        }
        entry.Close();
        RecordCleared(path, cleared);
        if (plan.TooLarge(length)) {
            const std::string text =
                path + " is too large (" + std::to_string(IndexDatPlan::SizeMb(length)) +
                "MB), only part of it has been cleaned. " +
                "You can change 'Max index.dat file size for clearing' in program Settings or "
                "you can use 'Delete index.dat' feature";
            Report().Message("Warning", text);
        }
    }
}

void HistoryCleaner::ClearHistoryIndexDat() {
    ClearIndexDatContent(FolderAndBelow(*this, ShellFolder(CSIDL_HISTORY)));
}

void HistoryCleaner::ClearCacheIndexDat() {
    ClearIndexDatContent(FolderAndBelow(*this, ShellFolder(CSIDL_INTERNET_CACHE)));
}

void HistoryCleaner::ClearCookiesIndexDat() {
    ClearIndexDatContent(FolderAndBelow(*this, ShellFolder(CSIDL_COOKIES)));
}

void HistoryCleaner::DeleteIEIndexDatFiles() {
    const std::string roaming = ShellFolder(CSIDL_APPDATA);
    if (roaming.empty()) return;
    FolderList folders;
    auto add = [&](const std::string& folder) {
        const FolderList below = FolderAndBelow(*this, folder);
        folders.insert(folders.end(), below.begin(), below.end());
    };
    if (settings->deleteIECompatCacheIndex) add(roaming + "\\Microsoft\\Windows\\IECompatCache");
    if (settings->deletePrivacIEIndex) {
        add(roaming + "\\Microsoft\\Windows\\PrivacIE");
        add(DomStoreFolder(roaming));
    }
    RemoveFileInEachFolder("index.dat", folders);
}

void HistoryCleaner::ScheduleIndexDatDeletion(bool history, bool cache, bool cookies) {
    const std::string batch = IndexBatPath(settings->installFolder);
    if (!history && !cache && !cookies) {
        DeleteStartupValue(HKEY_CURRENT_USER, kRunOnce);
        DeleteStartupValue(HKEY_LOCAL_MACHINE, kRunOnce);
        DeleteStartupValue(HKEY_LOCAL_MACHINE, kRun);
        if (GetFileAttributesA(batch.c_str()) != INVALID_FILE_ATTRIBUTES) RemoveFile(batch);
        return;
    }
    // The folders deleted from are the user's own, and the batch file lies where every user may
    // write: run at the machine's level it would run anybody's commands with an administrator's
    // rights. Only the user's own RunOnce runs it, and an entry of the machine's that names this
    // file is taken back.
    if (StartupValue(HKEY_LOCAL_MACHINE, kRunOnce) == batch) DeleteStartupValue(HKEY_LOCAL_MACHINE, kRunOnce);
    {
        RegKey runOnce;
        if (runOnce.Create(HKEY_CURRENT_USER, kRunOnce, kStartupAccess) == ERROR_SUCCESS)
            RegSetValueExA(runOnce.get(), kStartupValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(batch.c_str()),
                           static_cast<DWORD>(batch.size() + 1));
    }
    IndexBatFolders folders;
    if (history) folders.history = ShellFolder(CSIDL_HISTORY);
    if (cache) folders.cache = ShellFolder(CSIDL_INTERNET_CACHE);
    if (cookies) folders.cookies = ShellFolder(CSIDL_COOKIES);
    const std::string text = IndexBatText(folders);

    // A link put in the file's place would have the write land on whatever it points to.
    bool written = false;
    FileEntry existing;
    const bool isLink = existing.Open(batch, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) &&
                        existing.Identify(batch) == FileEntry::Kind::Link;
    existing.Close();
    if (!isLink) {
        ScopedHandle file(CreateFileA(batch.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid()) {
            DWORD count = 0;
            written = WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &count, nullptr) &&
                      count == text.size();
        }
    }
    if (!written) Report().Message("", "Couldn't create the file \"index.bat\"!");
}
