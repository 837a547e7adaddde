// RemoveFile and its overwrite passes.
#include "engine/history_cleaner.h"

#include <ntsecapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>

#include "engine/file_entry.h"
#include "engine/run_gate.h"
#include "engine/shred_placement.h"
#include "platform/handles.h"

bool OverwriteFile::Open(const std::string& path) {
    Close();
    FileEntry entry;
    if (!entry.Open(path, GENERIC_READ | GENERIC_WRITE, 0, FILE_FLAG_SEQUENTIAL_SCAN)) return false;
    // Checked on the handle the passes write through: held without sharing, it cannot be swapped
    // for a link or gain a name between the check and the writes.
    const FileEntry::Kind kind = pinned != INVALID_HANDLE_VALUE ? entry.IdentifyAs(pinned) : entry.Identify(path, folderFinal);
    if (kind != FileEntry::Kind::Plain) {
        SetLastError(ERROR_SUCCESS); // not the system's refusal: the entry changed under us
        return false;
    }
    attributes = entry.attributes();
    size = entry.size();
    handle = entry.Release();
    return true;
}

void OverwriteFile::Close() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
}

namespace {

// The passes may overwrite a read-only file: drop only that attribute, keep the others. Only on
// the entry itself: through a link it would change a file outside the folder being cleaned.
void ClearReadOnly(const std::string& path, const std::string& folderFinal) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return;
    FileEntry entry;
    if (!entry.Open(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) ||
        entry.Identify(path, folderFinal) != FileEntry::Kind::Plain)
        return;
    entry.Close();
    const DWORD rest = attributes & ~FILE_ATTRIBUTE_READONLY;
    SetFileAttributesA(path.c_str(), rest ? rest : FILE_ATTRIBUTE_NORMAL);
}

// A fresh seed for every file. The tick count alone repeats for every file of one millisecond, and
// as a signed number it turns negative after 24.8 days of uptime, where every seed becomes 1 and
// every file gets the same pattern.
int32_t FreshShredSeed() {
    static uint32_t counter = 0;
    uint32_t bits = 0;
    if (!RtlGenRandom(&bits, sizeof bits)) bits = GetTickCount() ^ (++counter * 2654435761u);
    bits &= 0x7FFFFFFF;
    return bits ? static_cast<int32_t>(bits) : 1;
}

uint64_t FileLength(HANDLE file) {
    LARGE_INTEGER size{};
    return GetFileSizeEx(file, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
}

void Rewind(HANDLE file) {
    LARGE_INTEGER zero{};
    SetFilePointerEx(file, zero, nullptr, FILE_BEGIN);
}

} // namespace

bool HistoryCleaner::ShredStopRequested() const {
    return settings->stopRequested && settings->runActive && threadedRun;
}

bool HistoryCleaner::DeleteEntry(const std::string& path) { return DeleteEntryIn(path, {}); }

bool HistoryCleaner::DeleteEntryIn(const std::string& path, const std::string& folderFinal) {
    return DeleteEntryIn(path, folderFinal, Overwritten{});
}

bool HistoryCleaner::DeleteEntryIn(const std::string& path, const std::string& folderFinal, const Overwritten& shred) {
    FileEntry entry;
    if (!entry.Open(path, DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)) {
        RecordLeft(ItemKind::File, path, GetLastError());
        return false;
    }
    RecordItem item;
    item.path = path;
    // After the passes of RemoveFile, the file they overwrote is what goes, or nothing.
    const HANDLE pinned = shred.wanted ? overwriteFile.pinned : INVALID_HANDLE_VALUE;
    switch (pinned != INVALID_HANDLE_VALUE ? entry.IdentifyAs(pinned) : entry.Identify(path, folderFinal)) {
    case FileEntry::Kind::Missing: RecordLeft(ItemKind::File, path, LeftReason::NotFound); return false;
    case FileEntry::Kind::Link: RecordLeft(ItemKind::File, path, LeftReason::Link); return false;
    case FileEntry::Kind::Placeholder: RecordLeft(ItemKind::File, path, LeftReason::CloudPlaceholder); return false;
    case FileEntry::Kind::SeveralNames:
        // Only this name goes; its bytes belong to the others too and are never overwritten.
        item.reason = LeftReason::SecondName;
        if (shred.wanted) {
            item.overwrite = Overwrite::NotGuaranteed;
            item.overwriteNote = "the file has other names, which keep its data";
        }
        break;
    case FileEntry::Kind::Plain:
        item.overwrite = shred.overwrite;
        item.overwriteNote = shred.note;
        break;
    }
    item.bytes = entry.size();
    if (!dryRun && !entry.Delete(path)) {
        RecordLeft(ItemKind::File, path, GetLastError());
        return false;
    }
    Record(std::move(item));
    return true;
}

void HistoryCleaner::RemoveFile(const std::string& path) { RemoveFileIn(path, {}); }

void HistoryCleaner::RemoveFileIn(const std::string& path, const std::string& folderFinal) {
    random_.Seed(FreshShredSeed());
    settings->SetCurrentFileText(path);
    Report().FileStarted();

    if (settings->shredMethods.empty() || !settings->shredFiles || ShredStopRequested()) {
        DeleteEntryIn(path, folderFinal);
        return;
    }
    // The folder is looked up once for the file's every open: Wine takes a third of a millisecond
    // for each lookup. A folder swapped for a link between two passes no longer matches it.
    const std::string folder = folderFinal.empty() ? FinalPathOfFolderOf(path) : folderFinal;
    FileEntry entry;
    if (!entry.Open(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)) {
        RecordLeft(ItemKind::File, path, GetLastError());
        return;
    }
    const FileEntry::Kind kind = entry.Identify(path, folder);
    const uint64_t size = entry.size();
    // Kept open (it asks for no access that sharing counts) until the file is gone: the passes'
    // opens and the deletion are checked against it.
    switch (kind) {
    case FileEntry::Kind::Missing: RecordLeft(ItemKind::File, path, LeftReason::NotFound); return;
    case FileEntry::Kind::Link: RecordLeft(ItemKind::File, path, LeftReason::Link); return;
    case FileEntry::Kind::Placeholder: RecordLeft(ItemKind::File, path, LeftReason::CloudPlaceholder); return;
    case FileEntry::Kind::SeveralNames: DeleteEntryIn(path, folder, Overwritten{true, Overwrite::None, {}}); return;
    case FileEntry::Kind::Plain: break;
    }
    if (dryRun) {
        // The passes need the file to themselves: one that another program has open stays.
        ScopedHandle alone(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!alone.valid()) {
            RecordLeft(ItemKind::File, path, GetLastError());
            return;
        }
        RecordItem item;
        item.path = path;
        item.bytes = size;
        Record(std::move(item));
        return;
    }
    passPattern = BuildPassPattern(settings->shredMethods.front(), random_);
    struct FolderOfShredding {
        OverwriteFile& file;
        ~FolderOfShredding() {
            file.folderFinal.clear();
            file.pinned = INVALID_HANDLE_VALUE;
        }
    } scope{overwriteFile};
    overwriteFile.folderFinal = folder;
    overwriteFile.pinned = entry.handle();
    if (ShredFile(path) || shredEndRecorded_) return;
    // The passes did not all reach the disk: the file stays, and the report says why.
    if (ShredStopRequested())
        RecordLeft(ItemKind::File, path, LeftReason::Cancelled, "partly overwritten");
    else if (lastPassError_ != ERROR_SUCCESS)
        RecordLeft(ItemKind::File, path, lastPassError_);
    else if (PathFileExistsA(path.c_str()))
        RecordLeft(ItemKind::File, path, LeftReason::Failed, "a pass could not be written whole");
}

bool HistoryCleaner::ShredFile(const std::string& path) {
    const ShredMethod& method = settings->shredMethods.front();
    const int passes = std::min<int>(method.passCount, static_cast<int>(passPattern.size()));
    bool allChecksPassed = true;
    lastPassError_ = ERROR_SUCCESS;
    shredEndRecorded_ = false;
    overwriteFile.before = overwriteFile.after = FilePlacement{};
    // false: stop now, the file stays.
    auto check = [&](uint8_t value) {
        if (ShredStopRequested()) return false;
        const VerifyResult verified = VerifyPass(path, value);
        if (verified == VerifyDiffers) allChecksPassed = false;
        return verified == VerifyDiffers || verified == VerifyMatched;
    };
    for (int pass = 0; pass < passes; ++pass) {
        if (ShredStopRequested()) return false;
        // Where the data lies is read on the handle of the first pass, before it writes, and of the
        // last, after its flush.
        overwriteFile.placementPass = pass == 0 ? OverwriteFile::First : pass == passes - 1 ? OverwriteFile::Last
                                                                                             : OverwriteFile::Middle;
        if (passes == 1) overwriteFile.placementPass = OverwriteFile::Only;
        if (WritePass(path, passPattern[pass]) != PassDone) return false;
        if (shredProbe) shredProbe->PassWritten(path, pass + 1);
        if (method.verifyMode == 2 && !check(passPattern[pass])) return false;
    }
    if (method.verifyMode == 1 && passes > 0 && !check(passPattern[passes - 1])) return false;
    if (method.deleteMode == 0 || method.deleteMode == 2 || allChecksPassed) {
        Overwritten shred{true, Overwrite::Guaranteed, {}};
        if (passes > 0)
            shred.note = OverwriteNotGuaranteedBecause(overwriteFile.before, overwriteFile.after, SeekPenaltyOf(path));
        else
            shred.note = "the shredding method has no pass";
        if (!shred.note.empty()) shred.overwrite = Overwrite::NotGuaranteed;
        shredEndRecorded_ = true; // removed or left, the deletion says which
        return DeleteEntryIn(path, overwriteFile.folderFinal, shred);
    }
    return false;
}

PassResult HistoryCleaner::WritePass(const std::string& path, uint8_t value) {
    ClearReadOnly(path, overwriteFile.folderFinal);
    if (!overwriteFile.Open(path)) {
        lastPassError_ = GetLastError();
        return PassNotOpened;
    }
    if (shredProbe) shredProbe->Opened(overwriteFile, true);
    const HANDLE file = overwriteFile.handle;
    const auto pass = overwriteFile.placementPass;
    if (pass == OverwriteFile::First || pass == OverwriteFile::Only) overwriteFile.before = PlacementOf(file, overwriteFile.attributes, overwriteFile.size);
    std::memset(overwriteFile.pattern, value, sizeof overwriteFile.pattern);
    const PassLayout layout = LayoutPass(FileLength(file));
    Report().PassStarted(layout.barRange);
    uint64_t counter = layout.barStart;
    Rewind(file);
    // A pass that did not reach the disk whole has not overwritten the file: it must not be
    // deleted as if it had.
    auto writeBlock = [&](DWORD bytes) {
        DWORD written = 0;
        const bool ok = WriteFile(overwriteFile.handle, overwriteFile.pattern, bytes, &written, nullptr) &&
                        written == bytes;
        if (ok && shredProbe) shredProbe->BlockWritten(value, bytes);
        return ok;
    };
    for (uint64_t block = 0; block < layout.fullWrites; ++block) {
        if (!writeBlock(PassLayout::kBlock)) {
            overwriteFile.Close();
            return PassFailed;
        }
        Report().PassMoved(++counter);
        Gate().WaitWhilePaused();
        if (ShredStopRequested()) {
            overwriteFile.Close();
            return PassStopped;
        }
    }
    Report().PassMoved(counter + 1);
    Gate().WaitWhilePaused(); // the last block too: a file under 4 KiB has no other
    if (layout.lastWrite && !writeBlock(layout.lastWrite)) {
        overwriteFile.Close();
        return PassFailed;
    }
    // Every pass reaches the disk before the next one starts; without this the cache may keep
    // only the last pattern, or write nothing before the file is deleted.
    const bool flushed = FlushFileBuffers(overwriteFile.handle) != FALSE;
    if (flushed && (pass == OverwriteFile::Last || pass == OverwriteFile::Only)) overwriteFile.after = PlacementOf(file, overwriteFile.attributes, overwriteFile.size);
    overwriteFile.Close();
    if (!flushed) return PassFailed;
    if (shredProbe) shredProbe->Flushed();
    return PassDone;
}

VerifyResult HistoryCleaner::VerifyPass(const std::string& path, uint8_t value) {
    ClearReadOnly(path, overwriteFile.folderFinal);
    if (!overwriteFile.Open(path)) return VerifyNotOpened;
    if (shredProbe) shredProbe->Opened(overwriteFile, false);
    const HANDLE file = overwriteFile.handle;
    const PassLayout layout = LayoutPass(FileLength(file));
    Report().PassStarted(layout.barRange);
    uint64_t counter = layout.barStart;
    std::memset(overwriteFile.pattern, value, sizeof overwriteFile.pattern);
    Rewind(file);
    VerifyResult result = VerifyMatched;
    for (;;) {
        Gate().WaitWhilePaused();
        DWORD got = 0;
        // A read that fails is a check that failed, not the end of the file.
        if (!ReadFile(overwriteFile.handle, overwriteFile.readBack, PassLayout::kBlock, &got, nullptr)) {
            result = VerifyFailed;
            break;
        }
        if (got == 0) break;
        if (ShredStopRequested()) {
            result = VerifyStopped;
            break;
        }
        if (std::memcmp(overwriteFile.readBack, overwriteFile.pattern, got) != 0) {
            result = VerifyDiffers;
            break;
        }
        Report().PassMoved(++counter);
    }
    if (result == VerifyMatched) Report().PassMoved(counter + 1);
    overwriteFile.Close();
    return result;
}
