// RemoveFile and its overwrite passes.
#include "engine/history_cleaner.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>

#include "app/messages.h"
#include "engine/run_gate.h"

bool OverwriteFile::Open(const std::string& path) {
    Close();
    handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return handle != INVALID_HANDLE_VALUE;
}

void OverwriteFile::Close() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
}

namespace {

// The passes may overwrite a read-only file: drop only that attribute, keep the others.
void ClearReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return;
    const DWORD rest = attributes & ~FILE_ATTRIBUTE_READONLY;
    SetFileAttributesA(path.c_str(), rest ? rest : FILE_ATTRIBUTE_NORMAL);
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

// The bar and the file name belong to the UI thread. Posting keeps the worker from waiting on it
// (a cross-thread SendMessage costs about 0.3 ms under Wine), and the throttle batches the updates.
void HistoryCleaner::PostProgress() {
    const HWND window = progressWindow, bar = progressBar;
    if (!window && !bar) return;
    const ProgressThrottle::Posts due = throttle_.Due(GetTickCount());
    if (due.name && window) PostMessageA(window, MsgShowCurrentFile, 0, 0);
    if (!bar) return;
    if (due.range) PostMessageA(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(due.rangeValue));
    if (due.position) PostMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(due.positionValue), 0);
}

void HistoryCleaner::StartPassProgress(const PassLayout& layout) {
    RECT client{};
    if (HWND bar = progressBar) GetClientRect(bar, &client);
    throttle_.StartRange(layout.barRange,
                         static_cast<uint32_t>(std::max<LONG>(0, client.right - client.left)));
    PostProgress();
}

void HistoryCleaner::MoveProgress(uint64_t position) {
    throttle_.Move(position);
    PostProgress();
}

void HistoryCleaner::RemoveFile(const std::string& path) {
    random_.Seed(static_cast<int32_t>(GetTickCount()));
    settings->SetCurrentFileText(path);
    throttle_.NameChanged();
    PostProgress();

    // Deleting or overwriting through a link would reach a file outside the folder being cleaned.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return;

    if (settings->shredMethods.empty() || !settings->shredFiles || ShredStopRequested()) {
        DeleteFileA(path.c_str());
        return;
    }
    passPattern = BuildPassPattern(settings->shredMethods.front(), random_);
    if (PathFileExistsA(path.c_str())) ShredFile(path);
}

bool HistoryCleaner::ShredFile(const std::string& path) {
    const ShredMethod& method = settings->shredMethods.front();
    const int passes = std::min<int>(method.passCount, static_cast<int>(passPattern.size()));
    bool allChecksPassed = true;
    // false: stop now, the file stays.
    auto check = [&](uint8_t value) {
        if (ShredStopRequested()) return false;
        const int verified = VerifyPass(path, value);
        if (verified == 2) allChecksPassed = false;
        return verified == 2 || verified == 3;
    };
    for (int pass = 0; pass < passes; ++pass) {
        if (ShredStopRequested()) return false;
        if (WritePass(path, passPattern[pass]) != 2) return false;
        if (shredProbe) shredProbe->PassWritten(path, pass + 1);
        if (method.verifyMode == 2 && !check(passPattern[pass])) return false;
    }
    if (method.verifyMode == 1 && passes > 0 && !check(passPattern[passes - 1])) return false;
    if (method.deleteMode == 0 || method.deleteMode == 2 || allChecksPassed)
        return DeleteFileA(path.c_str()) != FALSE;
    return false;
}

int HistoryCleaner::WritePass(const std::string& path, uint8_t value) {
    ClearReadOnly(path);
    if (!overwriteFile.Open(path)) return 0;
    const HANDLE file = overwriteFile.handle;
    std::memset(overwriteFile.pattern, value, sizeof overwriteFile.pattern);
    const PassLayout layout = LayoutPass(FileLength(file));
    StartPassProgress(layout);
    uint64_t counter = layout.barStart;
    Rewind(file);
    DWORD written = 0;
    for (uint64_t block = 0; block < layout.fullWrites; ++block) {
        WriteFile(file, overwriteFile.pattern, PassLayout::kBlock, &written, nullptr);
        if (shredProbe) shredProbe->BlockWritten(value, PassLayout::kBlock);
        MoveProgress(++counter);
        Gate().WaitWhilePaused();
        if (ShredStopRequested()) {
            overwriteFile.Close();
            return 1;
        }
    }
    MoveProgress(counter + 1);
    Gate().WaitWhilePaused(); // the last block too: a file under 4 KiB has no other
    if (layout.lastWrite) {
        WriteFile(file, overwriteFile.pattern, layout.lastWrite, &written, nullptr);
        if (shredProbe) shredProbe->BlockWritten(value, layout.lastWrite);
    }
    // Every pass reaches the disk before the next one starts; without this the cache may keep
    // only the last pattern, or write nothing before the file is deleted.
    FlushFileBuffers(file);
    overwriteFile.Close();
    return 2;
}

int HistoryCleaner::VerifyPass(const std::string& path, uint8_t value) {
    ClearReadOnly(path);
    if (!overwriteFile.Open(path)) return 0;
    const HANDLE file = overwriteFile.handle;
    const PassLayout layout = LayoutPass(FileLength(file));
    StartPassProgress(layout);
    uint64_t counter = layout.barStart;
    std::memset(overwriteFile.pattern, value, sizeof overwriteFile.pattern);
    Rewind(file);
    int result = 3;
    for (;;) {
        Gate().WaitWhilePaused();
        DWORD got = 0;
        if (!ReadFile(file, overwriteFile.readBack, PassLayout::kBlock, &got, nullptr) || got == 0) break;
        if (ShredStopRequested()) {
            result = 1;
            break;
        }
        if (std::memcmp(overwriteFile.readBack, overwriteFile.pattern, got) != 0) {
            result = 2;
            break;
        }
        MoveProgress(++counter);
    }
    if (result == 3) MoveProgress(counter + 1);
    overwriteFile.Close();
    return result;
}
