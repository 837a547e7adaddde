#pragma once
// The pure parts of the "index.dat" cleaners: which bytes are zeroed when a file's content is
// cleared, and the text of the batch file that deletes the files at the next Windows start.
// Portable: no Windows header.
#include <cstdint>
#include <string>
#include <string_view>

struct IndexDatPlan {
    static constexpr uint64_t kKeptHeader = 32; // the first 32 bytes are never overwritten
    static constexpr uint64_t kBlock = 512;

    explicit IndexDatPlan(int32_t maxSizeMb)
        : limit(maxSizeMb > 0 ? static_cast<uint64_t>(maxSizeMb) * 1000000u : 0) {}

    // End (exclusive) of the zeroed range of a file of `length` bytes: the file's end, or the end
    // of the block whose start was the last one below the limit, whichever comes first. At least
    // one block is cleared.
    uint64_t ClearEnd(uint64_t length) const;
    // The warning is due: the file is above the limit or its length does not fit in 32 bits.
    bool TooLarge(uint64_t length) const { return length > limit || length > 0xFFFFFFFFu; }
    static uint64_t SizeMb(uint64_t length) { return length / 1000000u; }

    uint64_t limit;
};

// Internet Explorer's DOM storage: the roaming application-data folder with every "Roaming"
// replaced by "LocalLow\\Microsoft\\Internet Explorer\\DOMStore". Empty on a layout without
// "Roaming" (XP): there the unchanged folder would be the whole of "Application Data", and every
// other program's "index.dat" below it would go too.
std::string DomStoreFolder(const std::string& roamingAppData);

// The folders whose "index.dat" files the start-up batch file deletes; an empty path is not
// selected (or could not be looked up) and gets no line.
struct IndexBatFolders {
    std::string history;
    std::string cache; // Temporary Internet Files
    std::string cookies;
};

// "index.bat" in `folder` (which may end with a backslash, as Windows Installer reports folders):
// the user's own local application-data folder, or where older versions put it, the program's.
std::string IndexBatPath(const std::string& folder);

// The start-up value's data for the batch file: its path in quotes, as a command line.
std::string StartupCommand(const std::string& batch);
// Whether a start-up value's data names `file` (quoted or not, letters in any case).
bool NamesFile(std::string_view value, std::string_view file);

// The batch file's bytes: "@echo off\r\n", then one line per selected folder in the order history,
// cache, cookies that deletes "index.dat" below that folder only if changing to it succeeded.
std::string IndexBatText(const IndexBatFolders& folders);
