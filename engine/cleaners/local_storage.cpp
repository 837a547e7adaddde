#include "engine/cleaners/local_storage.h"

#include <windows.h>
// windows.h renames DeleteFile, which leveldb's Env declares as a function of its own.
#undef DeleteFile

#include <leveldb/db.h>
#include <leveldb/env.h>
#include <leveldb/write_batch.h>
#include <memenv/memenv.h>

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "engine/cleaners/cookie_stores.h"
#include "engine/cleaners/profile_files.h"
#include "engine/database_cleaning.h"
#include "engine/history_cleaner.h"
#include "engine/recording.h"
#include "platform/handles.h"

namespace {

// leveldb's Windows environment takes UTF-8 names.
std::string AnsiFromUtf8(const std::string& utf8) {
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (wideLength <= 0) return {};
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

// Every file leveldb lets go of (the old log, the tables compacted away) holds what was removed:
// it goes through the cleaner's RemoveFile. leveldb may call this from its compaction thread.
class RemovingEnv : public leveldb::EnvWrapper {
public:
    explicit RemovingEnv(HistoryCleaner& cleaner) : EnvWrapper(leveldb::Env::Default()), cleaner_(cleaner) {}
    leveldb::Status DeleteFile(const std::string& name) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        // leveldb joins its folder and file names with "/": the path the entry is checked against
        // must be the one Windows gives back.
        std::string path = AnsiFromUtf8(name);
        for (char& c : path)
            if (c == '/') c = '\\';
        if (path.empty()) return leveldb::Status::IOError(name, "no ANSI name");
        cleaner_.RemoveFile(path);
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return leveldb::Status::IOError(name, "left");
        return leveldb::Status::OK();
    }

private:
    HistoryCleaner& cleaner_;
    std::mutex mutex_;
};

// leveldb's own log names the key ranges it compacts, which would name the sites removed: it is
// not written.
class NoLog : public leveldb::Logger {
public:
    void Logv(const char*, va_list) override {}
};

// The database read from a copy of its files in memory: the files are read and nothing is written
// anywhere. Gives the entries that stay, in key order, and how many go; -1 when the copy cannot be
// read as a database.
int64_t ReadOnACopy(const std::string& folder, const CookieKeepList& keep,
                    std::vector<std::pair<std::string, std::string>>& kept) {
    const std::unique_ptr<leveldb::Env> memory(leveldb::NewMemEnv(leveldb::Env::Default()));
    const std::string copy = "/local-storage";
    memory->CreateDir(copy);
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!search.valid()) return -1;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        ScopedHandle file(CreateFileA((folder + "\\" + found.cFileName).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file.valid()) return -1;
        std::string bytes;
        char block[65536];
        DWORD got = 0;
        while (ReadFile(file.get(), block, sizeof block, &got, nullptr) && got > 0) bytes.append(block, got);
        leveldb::WritableFile* out = nullptr;
        if (!memory->NewWritableFile(copy + "/" + found.cFileName, &out).ok()) return -1;
        const bool written = out->Append(bytes).ok() && out->Close().ok();
        delete out;
        if (!written) return -1;
    } while (FindNextFileA(search.get(), &found));

    NoLog noLog;
    leveldb::Options options;
    options.env = memory.get();
    options.info_log = &noLog;
    options.create_if_missing = false;
    options.paranoid_checks = true;
    leveldb::DB* db = nullptr;
    if (!leveldb::DB::Open(options, copy, &db).ok()) return -1;
    int64_t count = 0;
    {
        leveldb::ReadOptions read;
        read.fill_cache = false;
        std::unique_ptr<leveldb::Iterator> it(db->NewIterator(read));
        for (it->SeekToFirst(); it->Valid(); it->Next()) {
            if (IsRemovedLocalStorageKey(std::string_view(it->key().data(), it->key().size()), keep))
                ++count;
            else
                kept.emplace_back(it->key().ToString(), it->value().ToString());
        }
        if (!it->status().ok()) count = -1;
    }
    delete db;
    return count;
}

// A new database of `entries` in `folder`, everything in its tables: no log, manifest or table of
// it has ever held a removed key, not even as the first or last key of a table.
bool WriteNewDatabase(HistoryCleaner& cleaner, const std::string& folder,
                      const std::vector<std::pair<std::string, std::string>>& entries) {
    const std::string utf8 = Utf8FromAnsiPath(folder);
    if (utf8.empty()) return false;
    RemovingEnv env(cleaner);
    NoLog noLog;
    leveldb::Options options;
    options.env = &env;
    options.info_log = &noLog;
    options.create_if_missing = true;
    options.error_if_exists = true;
    leveldb::DB* db = nullptr;
    if (!leveldb::DB::Open(options, utf8, &db).ok()) return false;
    leveldb::WriteBatch batch;
    for (const auto& [key, value] : entries) batch.Put(key, value);
    leveldb::WriteOptions write;
    write.sync = true;
    const bool written = db->Write(write, &batch).ok();
    if (written) db->CompactRange(nullptr, nullptr);
    delete db;
    return written;
}

// Every file of `folder` through RemoveFile, then the folder; false when anything stays.
bool RemoveDatabaseFolder(HistoryCleaner& cleaner, const std::string& folder) {
    FolderList files;
    cleaner.ListFiles(folder, files);
    for (const std::string& file : files) cleaner.RemoveFile(file);
    return RemoveDirectoryA(folder.c_str()) != FALSE;
}

// Whether another process has the database open: its program holds the LOCK file while it runs.
bool HeldByAnother(const std::string& folder, DWORD& error) {
    ScopedHandle lock(CreateFileA((folder + "\\LOCK").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (lock.valid()) return false;
    error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND;
}

} // namespace

void CleanChromiumLocalStorage(HistoryCleaner& cleaner, const std::string& folder, const CookieKeepList& keep) {
    const std::string fresh = folder + ".zlt-new", old = folder + ".zlt-old";
    // A cleaning cut short (the machine went down) between the two moves below: the old database
    // goes back before anything else, for the browser would start an empty one in its place.
    if (!cleaner.dryRun && !EntryExists(folder) && EntryExists(old + "\\CURRENT")) MoveFileA(old.c_str(), folder.c_str());
    if (!IsFolderOfItsOwn(folder) || !EntryExists(folder + "\\CURRENT")) return;
    DWORD error = ERROR_SUCCESS;
    if (HeldByAnother(folder, error)) {
        cleaner.RecordLeft(ItemKind::Folder, folder + "\\LOCK", error, "local storage");
        return;
    }
    std::vector<std::pair<std::string, std::string>> kept;
    const int64_t count = ReadOnACopy(folder, keep, kept);
    if (count < 0) {
        cleaner.RecordLeft(ItemKind::Folder, folder, LeftReason::NotCleaned, "local storage that leveldb cannot read");
        return;
    }
    if (count == 0) return;
    RecordItem item;
    item.kind = ItemKind::DatabaseTable;
    item.path = folder;
    item.detail = "local storage";
    item.rows = count;
    if (cleaner.dryRun) {
        cleaner.Record(std::move(item));
        return;
    }
    // Deleting the keys in place would leave them named in the manifest's history of table
    // bounds and compaction points: the database is written anew beside the old one with what
    // stays, and takes its place. The old one is moved aside first, which fails while anyone
    // holds a file of it; only then is it removed, file by file.
    if (EntryExists(fresh)) RemoveDatabaseFolder(cleaner, fresh);
    // Cut short after the moves: what is left aside is the removed keys' old database.
    if (EntryExists(old)) RemoveDatabaseFolder(cleaner, old);
    if (!WriteNewDatabase(cleaner, fresh, kept)) {
        RemoveDatabaseFolder(cleaner, fresh);
        cleaner.RecordLeft(ItemKind::Folder, folder, LeftReason::NotCleaned, "local storage could not be written anew");
        return;
    }
    if (!MoveFileA(folder.c_str(), old.c_str())) {
        const DWORD moveError = GetLastError();
        RemoveDatabaseFolder(cleaner, fresh);
        cleaner.RecordLeft(ItemKind::Folder, folder, moveError, "local storage");
        return;
    }
    if (!MoveFileA(fresh.c_str(), folder.c_str())) {
        // Put back as it was: nothing is lost.
        MoveFileA(old.c_str(), folder.c_str());
        RemoveDatabaseFolder(cleaner, fresh);
        cleaner.RecordLeft(ItemKind::Folder, folder, LeftReason::NotCleaned, "local storage");
        return;
    }
    cleaner.Record(std::move(item));
    if (!RemoveDatabaseFolder(cleaner, old))
        cleaner.RecordLeft(ItemKind::Folder, old, LeftReason::NotCleaned, "the old local storage");
}
