// The "index.dat" files of WinINet: their content cleared in place, those of a few Internet
// Explorer folders deleted, and a batch file that deletes the rest at the next Windows start.
#include <shlobj.h>

#include <algorithm>
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

// The "index" value goes only when it names one of `ours`: a value of that name that another
// program wrote is none of this program's business.
void DeleteStartupValueNaming(HKEY root, const char* key, const std::string (&ours)[2]) {
    const std::string value = StartupValue(root, key);
    if (!NamesFile(value, ours[0]) && !NamesFile(value, ours[1])) return;
    RegKey opened;
    if (opened.Open(root, key, kStartupAccess) == ERROR_SUCCESS) RegDeleteValueA(opened.get(), kStartupValue);
}

// cmd reads a batch file in the console's code page, which is the OEM code page (437, 850, 866...)
// unless a "chcp" changes it, while the shell gives this program its paths in the ANSI code page
// (1252, 1251...): "é" is 0xE9 in 1252 and 0x82 in 850, so ANSI bytes send "cd/d" to a folder that
// does not exist. A "chcp 65001" line with UTF-8 paths instead makes cmd before Windows 8 stop
// reading the file after that line; a chcp to the ANSI code page would need the console's font to
// have those letters. Each path is therefore written in the OEM code page. A path that has no
// exact spelling there, or that the ANSI code page itself could not spell ('?'), gets no line: a
// best-fit letter could name another folder, and cmd's "cd" takes '?' for a wildcard.
std::string OemPath(const std::string& path) {
    if (path.empty() || path.find_first_of("?*") != std::string::npos) return {};
    const int wideLength = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()),
                                               nullptr, 0);
    if (wideLength <= 0) return {};
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), wideLength);
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0,
                                           nullptr, &lossy);
    if (length <= 0 || lossy) return {};
    std::string oem(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, oem.data(), length, nullptr, &lossy);
    return lossy ? std::string() : oem;
}

bool WriteAll(HANDLE file, const std::string& text) {
    DWORD count = 0;
    return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &count, nullptr) && count == text.size() &&
           FlushFileBuffers(file);
}

// Whether `path` is a plain file (no link, no second name) holding exactly `text`.
bool HoldsExactly(const std::string& path, const std::string& text) {
    FileEntry entry;
    if (!entry.Open(path, GENERIC_READ, FILE_SHARE_READ) || entry.Identify(path) != FileEntry::Kind::Plain)
        return false;
    std::string held(text.size() + 1, '\0');
    DWORD got = 0;
    return ReadFile(entry.handle(), held.data(), static_cast<DWORD>(held.size()), &got, nullptr) &&
           held.compare(0, got, text) == 0 && got == text.size();
}

// The batch file is written as a new file beside its place and then moved there in one step: a
// link or a file with a second name at the place is replaced, never written through, and a failed
// write never leaves half a batch file to run at logon.
bool WriteBatchFile(const std::string& folder, const std::string& batch, const std::string& text) {
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    char temp[MAX_PATH] = {};
    if (!GetTempFileNameA(folder.c_str(), "idx", 0, temp)) return false; // a new, empty file of its own
    bool written = false;
    {
        FileEntry entry;
        written = entry.Open(temp, GENERIC_WRITE, 0) && entry.Identify(temp) == FileEntry::Kind::Plain &&
                  WriteAll(entry.handle(), text);
    }
    if (written && MoveFileExA(temp, batch.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return HoldsExactly(batch, text);
    FileEntry leftover;
    if (leftover.Open(temp, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) &&
        leftover.Identify(temp) == FileEntry::Kind::Plain)
        leftover.Delete(temp);
    return false;
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
        const size_t recordedBefore = record ? record->items.size() : 0;
        RemoveFile(path);
        // Cleared in place, the file is done as its option says: the removal that failed on the way
        // leaves nothing behind that the record should count, nor does an earlier step's (the
        // cookies' folder walk meets the cookies' index.dat, which WinINet holds, before this step
        // clears it).
        const auto clearedInstead = [&](uint64_t bytes) {
            itemsLeft_ = leftBefore;
            if (record) {
                const auto begin = record->items.begin();
                const auto earlier = begin + static_cast<std::ptrdiff_t>(recordedBefore);
                const auto leftHere = [&](const RecordItem& item) {
                    return item.action == ItemAction::Left && item.path == path;
                };
                itemsLeft_ -= static_cast<uint64_t>(std::count_if(begin, earlier, leftHere));
                record->items.erase(std::remove_if(begin, record->items.end(), leftHere), record->items.end());
            }
            RecordCleared(path, bytes);
        };
        if (dryRun) {
            // The removal would have failed: the content would be cleared instead.
            if (itemsLeft_ == leftBefore) continue;
            // Opened as the clearing would open it, so that a file locked whole shows as left; an
            // open that writes nothing changes neither the bytes nor the times.
            FileEntry held;
            if (!held.Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) ||
                held.Identify(path) != FileEntry::Kind::Plain)
                continue;
            const uint64_t end = plan.ClearEnd(held.size());
            clearedInstead(end > IndexDatPlan::kKeptHeader ? end - IndexDatPlan::kKeptHeader : 0);
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
        clearedInstead(cleared);
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
    // The index is every cookie's WinINet entry: emptied, the kept sites' cookies would go too.
    const std::string cookies = ShellFolder(CSIDL_COOKIES);
    if (cookies.empty() || LeavesWholeCookieStore(cookies + "\\index.dat")) return;
    ClearIndexDatContent(FolderAndBelow(*this, cookies));
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
    // The batch file deletes the user's own files and runs with the user's rights at the user's
    // next logon: it lives in the user's own folder, and only the user's own RunOnce names it. An
    // older version kept it in the program's folder, which every user could write, and entered it
    // for the machine: an entry of the machine's that names either file is taken back.
    const std::string batch = IndexBatPath(settings->localDataFolder);
    const std::string ours[2] = {batch, IndexBatPath(settings->installFolder)};
    DeleteStartupValueNaming(HKEY_LOCAL_MACHINE, kRunOnce, ours);
    DeleteStartupValueNaming(HKEY_LOCAL_MACHINE, kRun, ours);
    // The cookies' index.dat holds every cookie's entry, the kept sites' too.
    if (cookies && LeavesWholeCookieStore(ShellFolder(CSIDL_COOKIES) + "\\index.dat")) cookies = false;
    if (!history && !cache && !cookies) {
        DeleteStartupValueNaming(HKEY_CURRENT_USER, kRunOnce, ours);
        if (!batch.empty() && GetFileAttributesA(batch.c_str()) != INVALID_FILE_ATTRIBUTES) RemoveFile(batch);
        return;
    }
    IndexBatFolders folders;
    if (history) folders.history = OemPath(ShellFolder(CSIDL_HISTORY));
    if (cache) folders.cache = OemPath(ShellFolder(CSIDL_INTERNET_CACHE));
    if (cookies) folders.cookies = OemPath(ShellFolder(CSIDL_COOKIES));

    // The entry comes only after the file is there whole, and goes when it could not be written:
    // Windows would otherwise run whatever lies at the path at the next logon.
    if (batch.empty() || !WriteBatchFile(settings->localDataFolder, batch, IndexBatText(folders))) {
        DeleteStartupValueNaming(HKEY_CURRENT_USER, kRunOnce, ours);
        Report().Message("", "Couldn't create the file \"index.bat\"!");
        return;
    }
    RegKey runOnce;
    if (runOnce.Create(HKEY_CURRENT_USER, kRunOnce, kStartupAccess) == ERROR_SUCCESS) {
        const std::string command = StartupCommand(batch);
        RegSetValueExA(runOnce.get(), kStartupValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
    }
}
