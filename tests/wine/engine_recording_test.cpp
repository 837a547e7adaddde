// What a clearing records and what its preview promises: on one seeded profile a preview changes no
// byte, time or registry value, and names exactly what the run then removes and leaves, with the
// holder of a file another program keeps open; the run's reports land in the reports folder.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "engine/clearing_run.h"
#include "engine/recording.h"
#include "tests/wine/engine_support.h"
#include "tests/wine/places_fixture.h"

namespace {

// Every file below `folder`: its bytes and its last write time.
using FileState = std::map<std::string, std::pair<std::vector<uint8_t>, uint64_t>>;
void Snapshot(const std::string& folder, FileState& state) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            state[path + "\\"] = {};
            Snapshot(path, state);
        } else {
            const uint64_t written =
                (static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime;
            state[path] = {ReadFileBytes(path), written};
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// Every value below HKCU\key, with its data.
using RegistryState = std::map<std::string, std::vector<uint8_t>>;
void Snapshot(const std::string& key, RegistryState& state) {
    HKEY opened;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return;
    state[key + "\\"] = {};
    for (DWORD i = 0;; ++i) {
        char name[512];
        DWORD length = sizeof name, size = 0;
        if (RegEnumValueA(opened, i, name, &length, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) break;
        std::vector<uint8_t> data(size);
        length = sizeof name;
        RegEnumValueA(opened, i, name, &length, nullptr, nullptr, data.data(), &size);
        state[key + "\\" + name] = data;
    }
    const std::vector<std::string> subkeys = SubkeyNames(HKEY_CURRENT_USER, key);
    RegCloseKey(opened);
    for (const std::string& sub : subkeys) Snapshot(key + "\\" + sub, state);
}

// An item as two records of the same clearing must both have it.
using Fact = std::tuple<std::string, std::string, std::string, std::string, uint64_t, int64_t, std::string>;
std::vector<Fact> Facts(const RunRecord& record) {
    std::vector<Fact> facts;
    for (const RecordItem& item : record.items)
        facts.emplace_back(ActionName(item.action), KindName(item.kind), item.path, item.detail, item.bytes, item.rows,
                           ReasonName(item.reason));
    std::sort(facts.begin(), facts.end());
    return facts;
}

const char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

} // namespace

TEST(AnotherProcess, DISABLED_HoldsAFile) { HeldByAnotherProcess::Serve(); }

TEST(Recording, APreviewChangesNothingAndNamesWhatTheRunRemovesAndLeaves) {
    ProgramSettings settings;
    settings.ApplyDefaults();
    HistoryCleaner cleaner(&settings);
    const std::string roaming = ShellFolderPath(CSIDL_APPDATA), local = ShellFolderPath(CSIDL_LOCAL_APPDATA);
    // The user's TEMP is emptied too: a folder of the test's own, outside the one the reports go to.
    const std::string ownTemp = MakeFolder("C:\\zlt-recording-temp");
    MakeFile(ownTemp + "\\b.tmp", 77);
    const TempFolder reports;
    const TempVariables temporary(ownTemp);

    // Firefox: a places database with history to delete, form history, cookies, cache files.
    const std::string firefox = MakeFolder(roaming + "\\Mozilla\\Firefox\\Profiles\\r3c0rd.default");
    const PlacesContent places = MakePlaces(firefox + "\\places.sqlite", PlacesSchema::Current, 60);
    MakeFile(firefox + "\\formhistory.sqlite", 3000);
    MakeFile(firefox + "\\cookies.sqlite", 5000);
    MakeFile(firefox + "\\prefs.js", 100); // kept: no folder preference in it
    const std::string cache = MakeFolder(local + "\\Mozilla\\Firefox\\Profiles\\r3c0rd.default\\Cache");
    for (int i = 0; i < 5; ++i) MakeFile(cache + "\\entry" + std::to_string(i), 1000 + i);
    // Chrome: history and cookies, and a session file that another program keeps open.
    const std::string chrome = MakeFolder(local + "\\Google\\Chrome\\User Data\\Default");
    WriteTextFile(chrome + "\\Preferences", "{}");
    MakeFile(chrome + "\\History", 7000);
    MakeFile(chrome + "\\Cookies", 6000);
    MakeFile(chrome + "\\Current Session", 900);
    MakeFile(MakeFolder(chrome + "\\Cache\\sub") + "\\data_1", 2000);
    // Opera: a remembered folder in its preferences.
    const std::string opera = MakeFolder(roaming + "\\Opera\\Opera\\profile");
    WriteTextFile(opera + "\\operaprefs.ini", "[User Prefs]\r\nSave Dir=C:\\secret\r\nColor=1\r\n");
    // Windows: temporary files and the Run list.
    const std::string temp = MakeFolder(local + "\\Temp\\zlt-recording");
    MakeFile(temp + "\\a.tmp", 123);
    SetString(HKEY_CURRENT_USER, std::string(kExplorer) + "\\RunMRU", "a", "notepad\\1");
    SetString(HKEY_CURRENT_USER, std::string(kExplorer) + "\\RunMRU", "MRUList", "a");

    settings.historyMask = BrowserFirefox | BrowserChrome | BrowserOpera;
    settings.cacheMask = BrowserFirefox | BrowserChrome;
    settings.cookiesMask = BrowserFirefox | BrowserChrome;
    settings.emptyTempFolders = 1;
    settings.clearRunHistory = 1;
    auto clear = [&] {
        ClearSelectedBrowserItems(cleaner, settings);
        ClearSelectedWindowsHistory(cleaner, settings, nullptr);
    };

    HeldByAnotherProcess holder(chrome + "\\Current Session");
    ASSERT_TRUE(holder.holding());
    FileState filesBefore;
    for (const std::string& root : {roaming, local}) Snapshot(root, filesBefore);
    RegistryState registryBefore;
    Snapshot(kExplorer, registryBefore);

    const auto preview = RecordedClearing(cleaner, "page", true, "", clear);

    FileState filesAfter;
    for (const std::string& root : {roaming, local}) Snapshot(root, filesAfter);
    RegistryState registryAfter;
    Snapshot(kExplorer, registryAfter);
    EXPECT_TRUE(filesAfter == filesBefore) << "the preview changed a file";
    EXPECT_TRUE(registryAfter == registryBefore) << "the preview changed the registry";
    EXPECT_TRUE(preview->preview);
    EXPECT_EQ(cleaner.LastRecord(), preview);

    const auto run = RecordedClearing(cleaner, "page", false, reports.path(), clear);

    EXPECT_EQ(Facts(*preview), Facts(*run));
    EXPECT_EQ(preview->Totals().bytes, run->Totals().bytes);
    EXPECT_EQ(run->Totals().rows, preview->Totals().rows);
    // What the run says it removed is gone; what it left is there, with its holder named.
    int heldItems = 0;
    for (const RecordItem& item : run->items) {
        if (item.kind == ItemKind::File && item.action == ItemAction::Removed) {
            EXPECT_FALSE(PathExists(item.path)) << item.path;
        }
        if (item.action == ItemAction::Left) {
            EXPECT_TRUE(PathExists(item.path)) << item.path;
            EXPECT_EQ(item.reason, LeftReason::Held) << item.path;
            EXPECT_EQ(item.holder, ThisProgramName());
            EXPECT_EQ(item.holderPid, holder.pid());
            ++heldItems;
        }
    }
    EXPECT_EQ(heldItems, 1);
    auto has = [&](ItemKind kind, const std::string& path, const std::string& detail = {}) {
        return std::any_of(run->items.begin(), run->items.end(), [&](const RecordItem& item) {
            return item.kind == kind && item.path == path && (detail.empty() || item.detail == detail);
        });
    };
    EXPECT_TRUE(has(ItemKind::File, chrome + "\\Cookies"));
    EXPECT_TRUE(has(ItemKind::File, cache + "\\entry3"));
    EXPECT_TRUE(has(ItemKind::DatabaseTable, firefox + "\\places.sqlite", "moz_places"));
    EXPECT_TRUE(has(ItemKind::TextFile, opera + "\\operaprefs.ini"));
    EXPECT_TRUE(has(ItemKind::RegistryKey, "HKEY_CURRENT_USER\\" + std::string(kExplorer) + "\\RunMRU"));
    EXPECT_TRUE(has(ItemKind::Folder, temp));
    EXPECT_TRUE(has(ItemKind::File, ownTemp + "\\b.tmp"));
    for (const RecordItem& item : run->items)
        if (item.path == cache + "\\entry3") {
            EXPECT_EQ(item.bytes, 1003u);
        }
    for (const RecordItem& item : run->items)
        if (item.detail == "moz_places") {
            EXPECT_EQ(item.rows, static_cast<int64_t>(places.removed.size()));
        }
    // Its context: the browser and kind of trace of the option that removed it.
    for (const RecordItem& item : run->items)
        if (item.path == chrome + "\\Cookies") {
            EXPECT_EQ(item.group, "Google Chrome");
            EXPECT_EQ(item.category, "Cookies");
        }

    // The report, as text and JSON, in the reports folder.
    FolderList saved;
    cleaner.ListFiles(reports.path(), saved);
    ASSERT_EQ(saved.size(), 2u);
    const std::vector<uint8_t> bytes = ReadFileBytes(saved[0].ends_with(".json") ? saved[0] : saved[1]);
    const std::string json(bytes.begin(), bytes.end());
    EXPECT_NE(json.find("\"trigger\":\"page\""), std::string::npos);
    EXPECT_NE(json.find("History\",\"detail\":\"\",\"bytes\":7000"), std::string::npos);
}

TEST(Recording, OnlyTheNewestReportsAreKept) {
    TempFolder reports;
    RunRecord record;
    record.trigger = "watch";
    for (int i = 0; i < 5; ++i) {
        record.finished = "2026-12-08T17:01:4" + std::to_string(i) + "Z";
        ASSERT_TRUE(SaveRunReport(record, reports.path(), 3));
    }
    ProgramSettings settings;
    HistoryCleaner cleaner(&settings);
    FolderList saved;
    cleaner.ListFiles(reports.path(), saved);
    std::sort(saved.begin(), saved.end());
    ASSERT_EQ(saved.size(), 6u);
    EXPECT_TRUE(saved.front().ends_with("20261208-170142-watch.json")) << saved.front();
    EXPECT_TRUE(saved.back().ends_with("20261208-170144-watch.txt")) << saved.back();
}

TEST(Recording, AnIndexDatClearedInPlaceIsDoneAndOnlyOneLockedWholeIsLeft) {
    ProgramSettings settings;
    settings.ApplyDefaults();
    HistoryCleaner cleaner(&settings);
    TempFolder inUse, locked;
    MakeFile(inUse / "index.dat", 20000);
    MakeFile(locked / "index.dat", 20000);
    // As WinINet holds it: open for reading and writing by others, but not to be deleted.
    HeldFile wininet(inUse / "index.dat", FILE_SHARE_READ | FILE_SHARE_WRITE);
    HeldFile exclusive(locked / "index.dat", 0);
    ASSERT_TRUE(wininet.held() && exclusive.held());
    for (const bool preview : {true, false}) {
        const auto record = RecordedClearing(cleaner, "clear-all", preview, "",
                                             [&] { cleaner.ClearIndexDatContent({inUse.path(), locked.path()}); });
        ASSERT_EQ(record->items.size(), 2u) << preview;
        EXPECT_EQ(record->items[0].path, inUse / "index.dat");
        EXPECT_EQ(record->items[0].action, ItemAction::Edited);
        EXPECT_EQ(record->items[0].bytes, 20000u - 32u);
        EXPECT_EQ(record->items[1].path, locked / "index.dat");
        EXPECT_EQ(record->items[1].action, ItemAction::Left);
        EXPECT_EQ(record->Totals().left, 1u);
    }
    // A step before it that met the same file (the cookies' folder walk) and could not remove it
    // leaves no item behind once the file is cleared: the run did what it was asked.
    const auto record = RecordedClearing(cleaner, "clear-all", false, "", [&] {
        cleaner.RemoveFile(inUse / "index.dat");
        cleaner.ClearIndexDatContent({inUse.path()});
    });
    ASSERT_EQ(record->items.size(), 1u);
    EXPECT_EQ(record->items[0].action, ItemAction::Edited);
    EXPECT_EQ(record->Totals().left, 0u);
}
