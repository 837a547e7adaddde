#include "engine/cleaners/profile_files.h"

#include <shlobj.h>

#include <vector>

#include "engine/cleaners/browser_folders.h"
#include "engine/database_cleaning.h"
#include "engine/file_entry.h"
#include "platform/handles.h"

namespace {

// prefs.js, localstore.rdf, Opera's ini files and Safari's property lists are a few hundred
// kilobytes at most; anything far larger is not one of them.
constexpr LONGLONG kLargestTextFile = 64ll << 20;

} // namespace

bool ReadWholeTextFile(HANDLE file, std::string& text) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0 || size.QuadPart > kLargestTextFile) return false;
    text.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < text.size()) {
        DWORD got = 0;
        if (!ReadFile(file, text.data() + done, static_cast<DWORD>(text.size() - done), &got, nullptr) || got == 0)
            return false;
        done += got;
    }
    return true;
}

namespace {

bool WriteWhole(HANDLE file, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        DWORD wrote = 0;
        if (!WriteFile(file, text.data() + done, static_cast<DWORD>(text.size() - done), &wrote, nullptr) ||
            wrote == 0)
            return false;
        done += wrote;
    }
    return FlushFileBuffers(file) != FALSE;
}

// Writes `text` to a new file beside `path` and moves it over `path` in one step: a failed or
// short write leaves the original as it was, never half rewritten.
bool ReplaceWholeFile(const std::string& path, const std::string& text) {
    const size_t slash = path.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder.c_str(), "zlt", 0, temp)) return false;
    bool written;
    {
        ScopedHandle file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        written = file.valid() && WriteWhole(file.get(), text);
    }
    if (written && MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileA(temp);
    return false;
}

} // namespace

bool EntryExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

EditOutcome EditTextFile(HistoryCleaner& cleaner, const std::string& path, const TextEdit& edit) {
    std::string text;
    {
        // The browser may keep the file open meanwhile: its reads and writes are shared.
        FileEntry entry;
        if (!entry.Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)) {
            cleaner.RecordLeft(ItemKind::TextFile, path, GetLastError());
            return EditOutcome::NotOpened;
        }
        const FileEntry::Kind kind = entry.Identify(path);
        if (kind == FileEntry::Kind::Link || kind == FileEntry::Kind::Placeholder) {
            cleaner.RecordLeft(ItemKind::TextFile, path,
                               kind == FileEntry::Kind::Link ? LeftReason::Link : LeftReason::CloudPlaceholder);
            return EditOutcome::NotOpened;
        }
        if (!ReadWholeTextFile(entry.handle(), text)) {
            cleaner.RecordLeft(ItemKind::TextFile, path, LeftReason::NotCleaned, "too large or unreadable");
            return EditOutcome::NotOpened;
        }
    }
    const std::optional<std::string> edited = edit(text);
    if (!edited) return EditOutcome::Unchanged;
    if (!cleaner.dryRun && !ReplaceWholeFile(path, *edited)) {
        cleaner.RecordLeft(ItemKind::TextFile, path, GetLastError());
        return EditOutcome::NotWritten;
    }
    RecordItem item;
    item.action = ItemAction::Edited;
    item.kind = ItemKind::TextFile;
    item.path = path;
    item.bytes = text.size() > edited->size() ? text.size() - edited->size() : 0;
    cleaner.Record(std::move(item));
    return EditOutcome::Rewritten;
}

void RemoveDatabaseInEachFolder(HistoryCleaner& cleaner, const std::string& name, const FolderList& folders) {
    for (const std::string& folder : folders)
        if (!folder.empty()) RemoveDatabaseFile(cleaner, folder + "\\" + name);
}

void EmptyBrowserFolder(HistoryCleaner& cleaner, const std::string& folder) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return;
    cleaner.EmptyFolder(folder, true);
}

bool IsFolderOfItsOwn(const std::string& folder) {
    FileEntry entry;
    if (!entry.Open(folder, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)) return false;
    return entry.Identify(folder) == FileEntry::Kind::Plain && (entry.attributes() & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveBrowserFolder(HistoryCleaner& cleaner, const std::string& folder) {
    if (!IsFolderOfItsOwn(folder)) return;
    cleaner.EmptyFolder(folder, true);
    FolderList rest;
    cleaner.ListFiles(folder, rest);
    cleaner.ListSubfolders(folder, rest);
    // What could not be removed inside says so itself; the folder then stays quietly.
    if (!rest.empty() && !cleaner.dryRun) return;
    if (!cleaner.dryRun && !RemoveDirectoryA(folder.c_str())) {
        cleaner.RecordLeft(ItemKind::Folder, folder, GetLastError());
        return;
    }
    RecordItem item;
    item.kind = ItemKind::Folder;
    item.path = folder;
    cleaner.Record(std::move(item));
}

namespace {

std::string SystemFolder(int csidl) {
    char path[MAX_PATH] = "";
    return SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE) ? path : "";
}

} // namespace

SystemFolders SystemFoldersOfThisMachine() {
    SystemFolders system;
    for (int csidl : {CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86,
                      CSIDL_PROGRAM_FILES_COMMON, CSIDL_COMMON_APPDATA})
        system.exact.push_back(SystemFolder(csidl));
    const std::string profile = SystemFolder(CSIDL_PROFILE);
    const size_t slash = profile.find_last_of('\\');
    if (slash != std::string::npos && slash > 2) system.users = profile.substr(0, slash);
    return system;
}

void ListRegistryFoldersDeep(HistoryCleaner& cleaner, const FolderList& registryFolders,
                             std::initializer_list<const char*> ownFiles, FolderList& list) {
    const SystemFolders system = SystemFoldersOfThisMachine();
    for (const std::string& folder : registryFolders) {
        if (!IsWalkableRegistryFolder(folder) || IsSystemFolder(folder, system)) continue;
        bool own = false;
        for (const char* name : ownFiles) own = own || EntryExists(folder + "\\" + name);
        if (own) cleaner.ListSubfoldersDeep(folder, list);
    }
}
