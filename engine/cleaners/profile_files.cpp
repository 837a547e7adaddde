#include "engine/cleaners/profile_files.h"

#include <vector>

#include "engine/cleaners/browser_folders.h"
#include "engine/file_entry.h"

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
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(file, zero, nullptr, FILE_BEGIN)) return false;
    size_t done = 0;
    while (done < text.size()) {
        DWORD wrote = 0;
        if (!WriteFile(file, text.data() + done, static_cast<DWORD>(text.size() - done), &wrote, nullptr) ||
            wrote == 0)
            return false;
        done += wrote;
    }
    return SetEndOfFile(file) != FALSE;
}

} // namespace

bool EntryExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

EditOutcome EditTextFile(const std::string& path, const TextEdit& edit) {
    FileEntry entry;
    if (!entry.Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE)) return EditOutcome::NotOpened;
    if (entry.Identify(path) == FileEntry::Kind::Link) return EditOutcome::NotOpened;
    std::string text;
    if (!ReadWholeTextFile(entry.handle(), text)) return EditOutcome::NotOpened;
    const std::optional<std::string> edited = edit(text);
    if (!edited) return EditOutcome::Unchanged;
    WriteWhole(entry.handle(), *edited);
    return EditOutcome::Rewritten;
}

void RemoveDatabaseInEachFolder(HistoryCleaner& cleaner, const std::string& name, const FolderList& folders) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) cleaner.RemoveFileInEachFolder(name + suffix, folders);
}

void EmptyBrowserFolder(HistoryCleaner& cleaner, const std::string& folder) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return;
    cleaner.EmptyFolder(folder, true);
}

void ListRegistryFoldersDeep(HistoryCleaner& cleaner, const FolderList& registryFolders, FolderList& list) {
    for (const std::string& folder : registryFolders)
        if (IsWalkableRegistryFolder(folder)) cleaner.ListSubfoldersDeep(folder, list);
}
