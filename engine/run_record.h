#pragma once
// The record of one clearing or preview: every thing the engine removed, emptied, edited or left,
// with the reason for each thing left, and its report as text and as JSON (docs/report-format.md
// describes the JSON; it is a stable interface for scripts). Portable: no Windows header.
//
// Strings are UTF-8. Sizes are bytes; rows are database rows.
#include <cstdint>
#include <string>
#include <vector>

enum class ItemKind : uint8_t {
    File,
    Folder,
    DatabaseTable, // rows of one table of a database (detail: the table)
    RegistryKey,
    RegistryValue, // detail: the value's name
    TextFile,      // a file edited in place of being removed
    CacheEntry,    // a WinINet cache entry (path: its address)
    Clipboard,
    RecycleBin,
    Program,       // a running program a cleaner needed closed
};

enum class ItemAction : uint8_t {
    Removed,
    Emptied, // the clipboard, the recycle bin
    Edited,  // a text file rewritten without what the option names (bytes: how many went)
    Left,
};

// Why something was left (or, for a removed file, what stays of it).
enum class LeftReason : uint8_t {
    None,
    Held,             // another program has it open (holder, holderPid when known)
    AccessDenied,
    Link,             // a junction or symbolic link: what it leads to is not the folder's own
    SecondName,       // a file with other names: its data stays under them, it is never overwritten
    CloudPlaceholder, // removing it would remove the file from the user's cloud storage
    NotFound,
    KeptRunning,      // the user chose to keep the program running
    Cancelled,        // the user cancelled the run during this file
    NotCleaned,       // not a database, or no safe way to clean it
    Failed,           // any other error (detail: the system's error number)
    KeepListUnreadable, // a cookie store: the list of cookies to keep could not be read, so nothing of it went
    KeptSites,        // a cookie store that cannot be cleaned site by site while sites are kept
};

// What shredding did to a removed file's data.
enum class Overwrite : uint8_t {
    None,          // deleted without overwriting (shredding off)
    Guaranteed,    // three flushed passes reached the data in place
    NotGuaranteed, // passed, but the data may also lie elsewhere (note says why)
};

struct RecordItem {
    ItemAction action = ItemAction::Removed;
    ItemKind kind = ItemKind::File;
    std::string path;   // file, folder, database, "HKEY_CURRENT_USER\..." key, or address
    std::string detail; // the table, the value, or more about the reason
    uint64_t bytes = 0;
    int64_t rows = 0;
    Overwrite overwrite = Overwrite::None;
    std::string overwriteNote; // why an overwrite is not guaranteed
    LeftReason reason = LeftReason::None;
    std::string holder; // the program that holds it open
    uint32_t holderPid = 0;
    // Where it belongs: a browser or "Windows" or an application, its profile, and the kind of trace
    // (the option that removed it).
    std::string group, profile, category;
};

struct RunTotals {
    uint64_t items = 0, removed = 0, left = 0;
    uint64_t bytes = 0; // the sum of every item's bytes
    int64_t rows = 0;
};

struct GroupTotal {
    std::string group, profile, category;
    RunTotals totals;
};

struct RunRecord {
    bool preview = false;
    std::string trigger; // "clear-all", "page", "watch", "scheduler", "hot-key", "start", "exit", "command-line"
    std::string started, finished; // "2026-12-08T17:01:41Z"
    std::vector<RecordItem> items;

    RunTotals Totals() const;
    // One line per group, profile and category, in the order of their first item.
    std::vector<GroupTotal> Groups() const;
};

const char* ActionName(ItemAction action); // "removed", "emptied", "edited", "left"
const char* KindName(ItemKind kind);       // "file", "folder", "table", ...
const char* ReasonName(LeftReason reason); // "held", "access denied", ...

// Sizes for people: "0 bytes", "912 bytes", "1.4 KB", "56.7 MB", "2.31 GB".
std::string HumanSize(uint64_t bytes);
// One paragraph for the confirmation box: what went and what was left.
std::string RunSummary(const RunRecord& record);

std::string ReportJson(const RunRecord& record);
std::string ReportText(const RunRecord& record);
