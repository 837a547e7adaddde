// Clearing the content of "index.dat" files in place.
#include <string>

#include "engine/cleaners/index_dat_plan.h"
#include "engine/file_entry.h"
#include "engine/history_cleaner.h"

namespace {

void Seek(HANDLE file, uint64_t position) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(position);
    SetFilePointerEx(file, to, nullptr, FILE_BEGIN);
}

} // namespace

void HistoryCleaner::ClearIndexDatContent(const FolderList& folders) {
    const IndexDatPlan plan(settings->maxIndexDatSizeMb);
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        const std::string path = folder + "\\index.dat";
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        // A file that WinINet does not hold open simply goes; one in use is cleared in place.
        RemoveFile(path);
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
        for (uint64_t position = IndexDatPlan::kKeptHeader; position < end;
             position += IndexDatPlan::kBlock) {
            Seek(file, position);
            DWORD got = 0;
            if (!ReadFile(file, block, sizeof block, &got, nullptr) || got == 0) break;
            Seek(file, position);
            DWORD written = 0;
            WriteFile(file, zeros, got, &written, nullptr);
        }
        entry.Close();
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
