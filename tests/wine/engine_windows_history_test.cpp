// The Windows history cleaners against seeded registry trees and shell folders of the sandboxed
// prefix, and the in-place clearing of index.dat files.
#include <gtest/gtest.h>

#include "engine/history_cleaner.h"
#include "engine/recording.h"
#include "tests/wine/engine_support.h"
#include "tests/wine/places_fixture.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

namespace {

const std::string kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::string kBars = "Software\\Microsoft\\Internet Explorer\\Explorer Bars";
const HKEY kUser = HKEY_CURRENT_USER;

struct WindowsHistory : ::testing::Test {
    ProgramSettings settings;
    HistoryCleaner cleaner{&settings};
    void SetUp() override { settings.ApplyDefaults(); }
};

struct Blocks : ShredProbe {
    size_t count = 0;
    void BlockWritten(uint8_t, DWORD) override { ++count; }
};

bool IsEmptyFolder(HistoryCleaner& cleaner, const std::string& folder) {
    FolderList entries;
    cleaner.ListFiles(folder, entries);
    cleaner.ListSubfolders(folder, entries);
    return entries.empty();
}

bool ZeroFrom(const std::vector<uint8_t>& bytes, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (bytes[i] != 0) return false;
    return true;
}

} // namespace

// ---- Registry lists

TEST_F(WindowsHistory, RecentDocumentsKeyGoesWithValuesAndPerExtensionSubkeys) {
    const std::string key = kExplorer + "\\RecentDocs";
    SetString(kUser, key, "MRUListEx", "x");
    SetString(kUser, key + "\\.txt", "0", "letter.txt");
    SetString(kUser, key + "\\Folder\\deep", "0", "C:\\x");
    cleaner.ClearRecentDocuments();
    EXPECT_FALSE(KeyExists(kUser, key));
    EXPECT_TRUE(KeyExists(kUser, kExplorer));
}

TEST_F(WindowsHistory, RunHistoryAndTypedPaths) {
    SetString(kUser, kExplorer + "\\RunMRU", "a", "cmd\\1");
    SetString(kUser, kExplorer + "\\TypedPaths", "url1", "C:\\secret");
    SetString(kUser, kExplorer + "\\ZltNeighbour", "keep", "1");
    cleaner.ClearRunHistory();
    EXPECT_FALSE(KeyExists(kUser, kExplorer + "\\RunMRU"));
    EXPECT_FALSE(KeyExists(kUser, kExplorer + "\\TypedPaths"));
    EXPECT_TRUE(ValueExists(kUser, kExplorer + "\\ZltNeighbour", "keep"));
    DeleteKeyTree(kUser, kExplorer + "\\ZltNeighbour");
}

TEST_F(WindowsHistory, SearchHistoriesRemoveTheirListsUnderEveryExplorerBar) {
    const std::string bar1 = kBars + "\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}";
    const std::string bar2 = kBars + "\\{ZltSecondBar}";
    SetString(kUser, kExplorer + "\\Doc Find Spec MRU", "a", "*.doc");
    SetString(kUser, bar1 + "\\ContainingTextMRU", "a", "secret words");
    SetString(kUser, bar1 + "\\FilesNamedMRU", "a", "plans.doc");
    SetString(kUser, bar1 + "\\ComputerNameMRU", "a", "SERVER");
    SetString(kUser, bar1, "BarSize", "1");
    SetString(kUser, bar2 + "\\FilesNamedMRU\\deeper", "a", "b");
    SetString(kUser, "Software\\Microsoft\\Search Assistant\\ACMru", "kept", "1");
    SetString(kUser, "Software\\Microsoft\\Search Assistant\\ACMru\\5603", "000", "typed");
    SetString(kUser, "Software\\Microsoft\\Search Assistant\\ACMru\\5604\\x", "000", "typed");
    cleaner.ClearSearchFilesHistory();
    EXPECT_FALSE(KeyExists(kUser, kExplorer + "\\Doc Find Spec MRU"));
    EXPECT_FALSE(KeyExists(kUser, bar1 + "\\ContainingTextMRU"));
    EXPECT_FALSE(KeyExists(kUser, bar1 + "\\FilesNamedMRU"));
    EXPECT_FALSE(KeyExists(kUser, bar2 + "\\FilesNamedMRU"));
    EXPECT_TRUE(KeyExists(kUser, bar1 + "\\ComputerNameMRU"));
    EXPECT_TRUE(ValueExists(kUser, bar1, "BarSize"));
    EXPECT_TRUE(KeyExists(kUser, bar2));
    EXPECT_TRUE(ValueExists(kUser, "Software\\Microsoft\\Search Assistant\\ACMru", "kept"));
    EXPECT_TRUE(SubkeyNames(kUser, "Software\\Microsoft\\Search Assistant\\ACMru").empty());

    SetString(kUser, kExplorer + "\\FindComputerMRU", "a", "SERVER");
    cleaner.ClearSearchComputersHistory();
    EXPECT_FALSE(KeyExists(kUser, kExplorer + "\\FindComputerMRU"));
    EXPECT_FALSE(KeyExists(kUser, bar1 + "\\ComputerNameMRU"));
    EXPECT_TRUE(ValueExists(kUser, bar1, "BarSize"));
    DeleteKeyTree(kUser, kBars);
}

TEST_F(WindowsHistory, UserAssistCountsOfExplorerGoAndTheirKeysStay) {
    const std::string key = kExplorer + "\\UserAssist";
    const std::string programs = key + "\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}";
    const std::string shortcuts = key + "\\{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}";
    SetDword(kUser, programs, "Version", 5);
    SetString(kUser, programs + "\\Count", "HRZR_PGYFRFFVBA", "zlt-marker");
    SetString(kUser, programs + "\\Count", "{1NP14R77-02R7-4R5Q-O744-2RO1NR5198O7}\\abgrcnq.rkr", "zlt-marker");
    SetString(kUser, shortcuts + "\\Count", "HRZR_PGYFRFFVBA", "zlt-marker");
    cleaner.ClearUserAssist();
    for (const std::string& kind : {programs, shortcuts}) {
        EXPECT_TRUE(KeyExists(kUser, kind + "\\Count")) << kind;
        EXPECT_FALSE(ValueExists(kUser, kind + "\\Count", "HRZR_PGYFRFFVBA")) << kind;
    }
    EXPECT_FALSE(ValueExists(kUser, programs + "\\Count", "{1NP14R77-02R7-4R5Q-O744-2RO1NR5198O7}\\abgrcnq.rkr"));
    EXPECT_TRUE(ValueExists(kUser, programs, "Version"));
    DeleteKeyTree(kUser, key);
}

TEST_F(WindowsHistory, UserAssistKeepsTheKeyAndItsValues) {
    const std::string key = "Software\\Microsoft\\UserAssist";
    SetString(kUser, key, "Version", "3");
    SetString(kUser, key + "\\{75048700-EF1F-11D0-9888-006097DEACF9}\\Count", "HRZR_EHAPCY", "x");
    SetString(kUser, key + "\\{5E6AB780-7743-11CF-A12B-00AA004AE837}\\Count", "HRZR_EHAVQYR", "y");
    cleaner.ClearUserAssist();
    EXPECT_TRUE(ValueExists(kUser, key, "Version"));
    EXPECT_TRUE(SubkeyNames(kUser, key).empty());
}

TEST_F(WindowsHistory, StreamsKeyStaysWithoutSubkeysAndStreamMRUGoes) {
    SetString(kUser, kExplorer + "\\Streams", "Settings", "s");
    SetString(kUser, kExplorer + "\\Streams\\0", "ViewView2", "v");
    SetString(kUser, kExplorer + "\\Streams\\Desktop", "Toolbars", "t");
    SetString(kUser, kExplorer + "\\StreamMRU", "MRUListEx", "m");
    SetString(kUser, kExplorer + "\\StreamMRU\\x", "0", "m");
    cleaner.ClearStreams();
    EXPECT_TRUE(ValueExists(kUser, kExplorer + "\\Streams", "Settings"));
    EXPECT_TRUE(SubkeyNames(kUser, kExplorer + "\\Streams").empty());
    EXPECT_FALSE(KeyExists(kUser, kExplorer + "\\StreamMRU"));
}

TEST_F(WindowsHistory, OpenSaveListsGoAndTheRestOfComDlg32Stays) {
    const std::string dialogs = kExplorer + "\\ComDlg32";
    SetString(kUser, dialogs + "\\LastVisitedMRU", "a", "notepad.exe");
    SetString(kUser, dialogs + "\\LastVisitedPidlMRU", "a", "x");
    SetString(kUser, dialogs + "\\OpenSaveMRU", "MRUList", "a");
    SetString(kUser, dialogs + "\\OpenSaveMRU\\txt", "a", "C:\\letter.txt");
    SetString(kUser, dialogs + "\\OpenSaveMRU\\*", "a", "C:\\x.doc");
    SetString(kUser, dialogs + "\\OpenSavePidlMRU\\doc\\deep", "0", "x");
    SetString(kUser, dialogs + "\\CIDSizeMRU", "kept", "1");
    cleaner.ClearOpenSaveHistory();
    for (const char* gone : {"LastVisitedMRU", "LastVisitedPidlMRU", "OpenSaveMRU", "OpenSavePidlMRU"})
        EXPECT_FALSE(KeyExists(kUser, dialogs + "\\" + gone)) << gone;
    EXPECT_TRUE(ValueExists(kUser, dialogs + "\\CIDSizeMRU", "kept"));
}

TEST_F(WindowsHistory, PageFileValueIsWrittenAsOneOrZero) {
    const std::string key = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
    auto read = [&](DWORD& value) {
        HKEY h;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS)
            return false;
        DWORD type = 0, size = sizeof value;
        const bool ok = RegQueryValueExA(h, "ClearPageFileAtShutdown", nullptr, &type,
                                         reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
                        type == REG_DWORD && size == 4;
        RegCloseKey(h);
        return ok;
    };
    DWORD value = 7;
    cleaner.WritePageFileSetting(true);
    ASSERT_TRUE(read(value));
    EXPECT_EQ(value, 1u);
    cleaner.WritePageFileSetting(false);
    ASSERT_TRUE(read(value)); // switched off: written as 0, not deleted
    EXPECT_EQ(value, 0u);
}

// ---- Folders

TEST_F(WindowsHistory, RecentItemsLoseTheirShortcutsAndTheJumpListsKeepTheirPins) {
    const std::string recent = ShellFolderPath(CSIDL_APPDATA) + "\\Microsoft\\Windows\\Recent";
    const std::string automatic = recent + "\\AutomaticDestinations\\f01b4d95cf55d32a.automaticDestinations-ms";
    const std::string custom = recent + "\\CustomDestinations\\5d696d521de238c3.customDestinations-ms";
    MakeFolder(recent + "\\sub");
    MakeFolder(recent + "\\AutomaticDestinations");
    MakeFolder(recent + "\\CustomDestinations");
    MakeFile(recent + "\\letter.txt.lnk", 300);
    MakeFile(recent + "\\sub\\x.lnk", 300);
    // A jump list whose pinned entry must survive: its bytes stay as they are.
    MakeFile(automatic, 5000, 'P');
    MakeFile(custom, 700, 'C');
    const auto automaticBefore = ReadFileBytes(automatic), customBefore = ReadFileBytes(custom);
    cleaner.EmptyRecentItems();
    EXPECT_FALSE(PathExists(recent + "\\letter.txt.lnk"));
    EXPECT_FALSE(PathExists(recent + "\\sub\\x.lnk"));
    EXPECT_EQ(ReadFileBytes(automatic), automaticBefore);
    EXPECT_EQ(ReadFileBytes(custom), customBefore);

    // Only the reset takes them, pins and all; the folders stay for the shell.
    cleaner.ResetJumpLists();
    EXPECT_FALSE(PathExists(automatic));
    EXPECT_FALSE(PathExists(custom));
    EXPECT_TRUE(PathExists(recent + "\\AutomaticDestinations"));
    EXPECT_TRUE(PathExists(recent + "\\CustomDestinations"));
}

TEST_F(WindowsHistory, TempFoldersOnTheVistaLayout) {
    // Wine lays its shell folders out as Windows 7 does.
    const std::string history = ShellFolderPath(CSIDL_HISTORY);
    const std::string local = ShellFolderPath(CSIDL_LOCAL_APPDATA);
    ASSERT_EQ(history, local + "\\Microsoft\\Windows\\History");
    const std::string besideHistory = local + "\\Microsoft\\Windows\\Temp";
    const std::string userTemp = local + "\\Temp";
    const std::string windowsTemp = ShellFolderPath(CSIDL_WINDOWS) + "\\Temp";

    MakeFolder(besideHistory + "\\sub\\deeper");
    MakeFile(besideHistory + "\\a.tmp", 100);
    MakeFile(besideHistory + "\\sub\\b.tmp", 100);
    MakeFile(besideHistory + "\\sub\\deeper\\index.dat", 3000, 0xEE);
    MakeFolder(besideHistory + "\\gone\\too");
    MakeFolder(history);
    MakeFile(history + "\\index.dat", 2000, 0xAB);
    MakeFile(history + "\\visited.url", 10);
    MakeFolder(userTemp + "\\nested");
    MakeFile(userTemp + "\\nested\\x.tmp", 100);
    const std::string busy = userTemp + "\\busy\\inner\\held.tmp";
    MakeFolder(userTemp + "\\busy\\inner");
    MakeFile(busy, 10);
    MakeFile(windowsTemp + "\\zlt-engine.tmp", 10);
    {
        HeldFile heldTemp(busy, 0);
        // WinINet keeps its index.dat open, sharing reads and writes but not deletion.
        HeldFile heldIndex(besideHistory + "\\sub\\deeper\\index.dat", FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(heldTemp.held());
        ASSERT_TRUE(heldIndex.held());
        cleaner.EmptyTempFolders();
    }
    EXPECT_FALSE(PathExists(besideHistory + "\\a.tmp"));
    EXPECT_FALSE(PathExists(besideHistory + "\\sub\\b.tmp"));
    EXPECT_FALSE(PathExists(besideHistory + "\\gone"));
    const auto index = ReadFileBytes(besideHistory + "\\sub\\deeper\\index.dat");
    ASSERT_EQ(index.size(), 3000u);
    EXPECT_EQ(index[0], 0xEE);
    EXPECT_EQ(index[31], 0xEE);
    EXPECT_TRUE(ZeroFrom(index, 32, 3000));
    EXPECT_FALSE(PathExists(history + "\\index.dat"));  // not in use: simply removed
    EXPECT_TRUE(PathExists(history + "\\visited.url")); // the history folder itself is not emptied

    EXPECT_FALSE(PathExists(userTemp + "\\nested"));
    EXPECT_TRUE(PathExists(busy));
    EXPECT_FALSE(PathExists(windowsTemp + "\\zlt-engine.tmp"));
}

TEST_F(WindowsHistory, OnlyTheFolderBesideHistoryIsShredded) {
    const std::string local = ShellFolderPath(CSIDL_LOCAL_APPDATA);
    const std::string besideHistory = local + "\\Microsoft\\Windows\\Temp";
    RemoveTree(besideHistory);
    DeleteFileA((ShellFolderPath(CSIDL_HISTORY) + "\\index.dat").c_str());
    Blocks blocks;
    cleaner.shredProbe = &blocks;
    settings.shredFiles = 1;
    MakeFolder(local + "\\Temp");
    MakeFile(local + "\\Temp\\user.tmp", 20000);
    MakeFile(ShellFolderPath(CSIDL_WINDOWS) + "\\Temp\\system.tmp", 20000);
    cleaner.EmptyTempFolders();
    EXPECT_FALSE(PathExists(local + "\\Temp\\user.tmp"));
    EXPECT_EQ(blocks.count, 0u);

    MakeFolder(besideHistory);
    MakeFile(besideHistory + "\\shred.tmp", 20000);
    cleaner.EmptyTempFolders();
    EXPECT_FALSE(PathExists(besideHistory + "\\shred.tmp"));
    EXPECT_EQ(blocks.count, 15u); // three passes of five blocks
}

TEST_F(WindowsHistory, RecycleBinIsEmptied) {
    TempFolder folder;
    const std::string victim = folder / "thrown away.txt";
    MakeFile(victim, 50);
    std::string from = victim + '\0';
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    ASSERT_EQ(SHFileOperationA(&op), 0);
    SHQUERYRBINFO info{sizeof info, 0, 0};
    ASSERT_EQ(SHQueryRecycleBinA(nullptr, &info), S_OK);
    ASSERT_GT(info.i64NumItems, 0);
    cleaner.EmptyRecycleBin();
    ASSERT_EQ(SHQueryRecycleBinA(nullptr, &info), S_OK);
    EXPECT_EQ(info.i64NumItems, 0);
}

TEST_F(WindowsHistory, ClipboardIsEmptied) {
    PostedMessages owner;
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 7);
    std::memcpy(GlobalLock(text), "secret", 7);
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    cleaner.ClearClipboard(owner.window());
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

// ---- index.dat content

TEST_F(WindowsHistory, IndexDatOfEveryFolderGetsItsTurn) {
    TempFolder folder;
    for (const char* name : {"free", "locked", "in use", "none"}) MakeFolder(folder / name);
    MakeFile(folder / "free\\index.dat", 1000, 0x11);
    MakeFile(folder / "locked\\index.dat", 1000, 0x22);
    MakeFile(folder / "in use\\index.dat", 5000, 0x33);
    RecordingObserver observer;
    cleaner.SetObserver(&observer);
    {
        HeldFile locked(folder / "locked\\index.dat", 0);
        HeldFile inUse(folder / "in use\\index.dat", FILE_SHARE_READ | FILE_SHARE_WRITE);
        cleaner.ClearIndexDatContent(
            {folder / "free", folder / "none", folder / "locked", folder / "in use", folder / "missing"});
    }
    EXPECT_FALSE(PathExists(folder / "free\\index.dat"));
    const auto locked = ReadFileBytes(folder / "locked\\index.dat");
    EXPECT_EQ(locked, std::vector<uint8_t>(1000, 0x22));
    const auto inUse = ReadFileBytes(folder / "in use\\index.dat");
    ASSERT_EQ(inUse.size(), 5000u);
    EXPECT_EQ(std::vector<uint8_t>(inUse.begin(), inUse.begin() + 32), std::vector<uint8_t>(32, 0x33));
    EXPECT_TRUE(ZeroFrom(inUse, 32, 5000));
    EXPECT_TRUE(observer.warnings.empty());
    cleaner.SetObserver(nullptr);
}

TEST_F(WindowsHistory, IndexDatAboveTheLimitIsClearedInPartWithAWarning) {
    TempFolder folder;
    settings.maxIndexDatSizeMb = 1;
    const std::string path = folder / "index.dat";
    MakeFile(path, 2500000, 0x77);
    RecordingObserver observer;
    cleaner.SetObserver(&observer);
    {
        HeldFile inUse(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
        cleaner.ClearIndexDatContent({folder.path()});
    }
    const auto bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 2500000u);
    EXPECT_EQ(bytes[31], 0x77);
    EXPECT_TRUE(ZeroFrom(bytes, 32, 1000480));
    EXPECT_EQ(bytes[1000480], 0x77);
    EXPECT_EQ(bytes[2499999], 0x77);
    ASSERT_EQ(observer.warnings.size(), 1u);
    EXPECT_EQ(observer.warnings[0],
              "Warning: " + path + " is too large (2MB), only part of it has been cleaned. You can change "
                     "'Max index.dat file size for clearing' in program Settings or you can "
                     "use 'Delete index.dat' feature");
    cleaner.SetObserver(nullptr);
}

// ---- The user's temporary folder wherever TEMP puts it

TEST_F(WindowsHistory, TheFolderTempNamesIsEmptiedToo) {
    const std::string own = MakeFolder("C:\\zlt-redirected-temp");
    MakeFolder(own + "\\setup-1234\\deeper");
    MakeFile(own + "\\setup-1234\\deeper\\payload.tmp", 4000);
    MakeFile(own + "\\~DF1A2B.tmp", 100);
    {
        const TempVariables temp(own + "\\");
        cleaner.EmptyTempFolders();
    }
    EXPECT_TRUE(PathExists(own));
    EXPECT_TRUE(IsEmptyFolder(cleaner, own));
    RemoveTree(own);
}

TEST_F(WindowsHistory, ATempThatNamesTheProfileARootOrTheWindowsFolderEmptiesNothingThere) {
    const std::string profile = ShellFolderPath(CSIDL_PROFILE);
    ASSERT_FALSE(profile.empty());
    const std::string profileMarker = profile + "\\zlt-profile-marker.txt";
    const std::string documentsMarker = MakeFolder(ShellFolderPath(CSIDL_PERSONAL) + "\\zlt-kept") + "\\letter.txt";
    const std::string rootMarker = "C:\\zlt-root-marker.txt";
    const std::string appDataMarker = MakeFolder(profile + "\\AppData\\zlt-kept") + "\\settings.ini";
    for (const std::string& marker : {profileMarker, documentsMarker, rootMarker, appDataMarker})
        ASSERT_TRUE(MakeFile(marker, 64));
    for (const std::string& temp : {profile, profile + "\\", profile + "\\.", ShellFolderPath(CSIDL_PERSONAL),
                                    std::string("C:\\"), profile + "\\AppData", ShellFolderPath(CSIDL_WINDOWS) + "\\.."}) {
        const TempVariables variables(temp);
        cleaner.EmptyTempFolders();
        for (const std::string& marker : {profileMarker, documentsMarker, rootMarker, appDataMarker})
            EXPECT_TRUE(PathExists(marker)) << marker << " went with TEMP=" << temp;
    }
    for (const std::string& marker : {profileMarker, documentsMarker, rootMarker, appDataMarker})
        DeleteFileA(marker.c_str());
}

// ---- Windows 10 and 11

TEST_F(WindowsHistory, ExplorerListsLoseTheirValuesAndKeepTheirKeys) {
    const std::vector<std::string> lists = {kExplorer + "\\WordWheelQuery", kExplorer + "\\TypedPaths",
                                            kExplorer + "\\ComDlg32\\CIDSizeMRU", kExplorer + "\\Map Network Drive MRU"};
    for (const std::string& key : lists) {
        DeleteKeyTree(kUser, key);
        SetString(kUser, key, "0", "zlt-secret-search");
        SetString(kUser, key, "MRUListEx", "x");
    }
    SetString(kUser, kExplorer + "\\ComDlg32\\LastVisitedPidlMRU", "kept", "1");
    SetString(kUser, kExplorer + "\\ComDlg32", "Kept", "1");
    RunRecord record;
    {
        const RecordingScope scope(cleaner, record, false, "page");
        cleaner.ClearExplorerLists();
    }
    for (const std::string& key : lists) {
        EXPECT_TRUE(KeyExists(kUser, key)) << key;
        EXPECT_FALSE(ValueExists(kUser, key, "0")) << key;
        EXPECT_FALSE(ValueExists(kUser, key, "MRUListEx")) << key;
    }
    EXPECT_TRUE(ValueExists(kUser, kExplorer + "\\ComDlg32\\LastVisitedPidlMRU", "kept"));
    EXPECT_TRUE(ValueExists(kUser, kExplorer + "\\ComDlg32", "Kept"));
    EXPECT_EQ(record.items.size(), 2 * lists.size());
    DeleteKeyTree(kUser, kExplorer + "\\ComDlg32");
}

TEST_F(WindowsHistory, ThumbnailCachesGoUnlessHeldAndTheHeldOnesAreSaidOrScheduled) {
    const std::string explorer = MakeFolder(ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\Microsoft\\Windows\\Explorer");
    const std::string free = explorer + "\\thumbcache_256.db", icons = explorer + "\\iconcache_32.db";
    const std::string held = explorer + "\\thumbcache_idx.db", other = explorer + "\\ExplorerStartupLog.etl";
    auto seed = [&] {
        for (const std::string& path : {free, icons, held, other}) ASSERT_TRUE(MakeFile(path, 2048));
    };
    seed();
    RunRecord record;
    {
        HeldByAnotherProcess explorerHolds(held);
        ASSERT_TRUE(explorerHolds.holding());
        const RecordingScope scope(cleaner, record, false, "page");
        cleaner.RemoveThumbnailCaches(false);
    }
    EXPECT_FALSE(PathExists(free));
    EXPECT_FALSE(PathExists(icons));
    EXPECT_TRUE(PathExists(held));
    EXPECT_TRUE(PathExists(other)); // not a cache
    bool named = false;
    for (const RecordItem& item : record.items)
        if (item.path == held) {
            EXPECT_EQ(item.action, ItemAction::Left);
            EXPECT_EQ(item.reason, LeftReason::Held);
            named = item.holder == ThisProgramName();
        }
    EXPECT_TRUE(named) << "the held cache was not reported with its holder";

    // With the box for the next start: Windows is asked to remove it then, or the user is told that
    // this takes an administrator.
    seed();
    RunRecord scheduled;
    {
        HeldByAnotherProcess explorerHolds(held);
        ASSERT_TRUE(explorerHolds.holding());
        const RecordingScope scope(cleaner, scheduled, false, "page");
        cleaner.RemoveThumbnailCaches(true);
    }
    EXPECT_FALSE(PathExists(free));
    EXPECT_TRUE(PathExists(held));
    int told = 0;
    for (const RecordItem& item : scheduled.items)
        if (item.path == held) {
            ++told;
            EXPECT_TRUE(item.detail == "removed when Windows next starts" ||
                        item.detail == "removing it when Windows next starts needs administrator rights")
                << item.detail;
        }
    EXPECT_EQ(told, 1);
    DeleteFileA(held.c_str());
    DeleteFileA(other.c_str());
}

TEST_F(WindowsHistory, ErrorReportsPowerShellHistoryAndWhatStays) {
    const std::string wer = ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\Microsoft\\Windows\\WER";
    for (const char* folder : {"ReportArchive\\AppCrash_zlt.exe_1\\", "ReportQueue\\AppHang_zlt.exe_2\\", "Temp\\"})
        MakeFile(MakeFolder(wer + "\\" + folder) + "\\Report.wer", 900);
    const std::string kept = MakeFolder(wer + "\\ERC") + "\\statecache.lock";
    MakeFile(kept, 10);
    const std::string psReadLine =
        MakeFolder(ShellFolderPath(CSIDL_APPDATA) + "\\Microsoft\\Windows\\PowerShell\\PSReadLine");
    for (const char* name : {"ConsoleHost_history.txt", "Visual Studio Code Host_history.txt"})
        WriteTextFile(psReadLine + "\\" + name, "Invoke-WebRequest https://zlt-secret.example\r\n");
    const std::string psKept = psReadLine + "\\history-notes.txt";
    WriteTextFile(psKept, "keep");

    cleaner.ClearErrorReports();
    cleaner.ClearPowerShellHistory();
    for (const char* folder : {"ReportArchive", "ReportQueue", "Temp"}) {
        EXPECT_TRUE(PathExists(wer + "\\" + folder)) << folder;
        EXPECT_TRUE(IsEmptyFolder(cleaner, wer + "\\" + folder)) << folder;
    }
    EXPECT_TRUE(PathExists(kept));
    EXPECT_FALSE(PathExists(psReadLine + "\\ConsoleHost_history.txt"));
    EXPECT_FALSE(PathExists(psReadLine + "\\Visual Studio Code Host_history.txt"));
    EXPECT_TRUE(PathExists(psKept));
}

TEST_F(WindowsHistory, TimelineLosesItsActivitiesAndKeepsItsSettings) {
    const std::string account =
        MakeFolder(ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\ConnectedDevicesPlatform\\L.zltuser");
    const std::string database = account + "\\ActivitiesCache.db";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &db), SQLITE_OK);
    // The tables of the real database, as far as the cleaner and the keepers go.
    const char* schema =
        "CREATE TABLE Activity (Id GUID PRIMARY KEY, AppId TEXT, Payload BLOB, StartTime DATETIME);"
        "CREATE TABLE ActivityOperation (OperationOrder INTEGER PRIMARY KEY, Id GUID, AppId TEXT, Payload BLOB);"
        "CREATE TABLE Activity_PackageId (Id GUID, ActivityId GUID, Platform TEXT, PackageName TEXT);"
        "CREATE TABLE ActivityAssetCache (ResourceId INTEGER PRIMARY KEY, AssetUri TEXT);"
        "CREATE TABLE Metadata (Key TEXT PRIMARY KEY, Value TEXT);"
        "INSERT INTO Metadata VALUES ('Version', 'zlt-kept-version');";
    ASSERT_EQ(sqlite3_exec(db, schema, nullptr, nullptr, nullptr), SQLITE_OK);
    for (int i = 0; i < 50; ++i) {
        const std::string row = std::to_string(i);
        const std::string sql =
            "INSERT INTO Activity VALUES (x'" + std::string(32 - row.size(), '0') + row +
            "', 'zlt-activity-app', 'zlt-opened C:\\\\Secret\\\\plan" + row + ".docx', 0);"
            "INSERT INTO ActivityOperation (Id, AppId, Payload) VALUES (x'00', 'zlt-activity-op', 'zlt-opened again');"
            "INSERT INTO Activity_PackageId VALUES (x'00', x'00', 'x_exe_path', 'zlt-activity-package');"
            "INSERT INTO ActivityAssetCache (AssetUri) VALUES ('zlt-activity-asset');";
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    }
    sqlite3_close(db);

    cleaner.ClearTimeline();
    const std::string bytes = DatabaseFileBytes(database);
    for (const char* marker : {"zlt-opened", "zlt-activity-app", "zlt-activity-op", "zlt-activity-package",
                               "zlt-activity-asset"})
        EXPECT_EQ(bytes.find(marker), std::string::npos) << marker;
    EXPECT_NE(bytes.find("zlt-kept-version"), std::string::npos);
    PlacesDb check(database);
    EXPECT_EQ(check.Column("PRAGMA integrity_check"), std::vector<std::string>{"ok"});
}

TEST_F(WindowsHistory, ShellBagsGoFromBothHivesAndTheNeighboursStay) {
    const std::vector<std::string> bags = {
        "Software\\Microsoft\\Windows\\Shell\\BagMRU", "Software\\Microsoft\\Windows\\Shell\\Bags",
        "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\BagMRU",
        "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\Bags"};
    for (const std::string& key : bags) {
        SetString(kUser, key, "MRUListEx", "x");
        SetString(kUser, key + "\\1\\Shell\\{5C4F28B5-F869-4E84-8E60-F11DB97C5CC7}", "Mode", "zlt-secret-folder");
    }
    SetString(kUser, "Software\\Microsoft\\Windows\\Shell\\ZltKept", "kept", "1");
    SetString(kUser, "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache", "kept", "1");
    cleaner.ClearShellBags();
    for (const std::string& key : bags) EXPECT_FALSE(KeyExists(kUser, key)) << key;
    EXPECT_TRUE(ValueExists(kUser, "Software\\Microsoft\\Windows\\Shell\\ZltKept", "kept"));
    EXPECT_TRUE(ValueExists(kUser, "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache",
                            "kept"));
    DeleteKeyTree(kUser, "Software\\Microsoft\\Windows\\Shell\\ZltKept");
}

TEST_F(WindowsHistory, NewRowsChangeNothingInAPreview) {
    const std::string psReadLine =
        MakeFolder(ShellFolderPath(CSIDL_APPDATA) + "\\Microsoft\\Windows\\PowerShell\\PSReadLine");
    WriteTextFile(psReadLine + "\\ConsoleHost_history.txt", "dir\r\n");
    SetString(kUser, kExplorer + "\\WordWheelQuery", "0", "zlt");
    SetString(kUser, "Software\\Microsoft\\Windows\\Shell\\BagMRU", "0", "zlt");
    RunRecord record;
    {
        const RecordingScope scope(cleaner, record, true, "page");
        cleaner.ClearPowerShellHistory();
        cleaner.ClearExplorerLists();
        cleaner.ClearShellBags();
        cleaner.ClearClipboardHistory();
        cleaner.ClearJumpListEntries();
    }
    EXPECT_TRUE(PathExists(psReadLine + "\\ConsoleHost_history.txt"));
    EXPECT_TRUE(ValueExists(kUser, kExplorer + "\\WordWheelQuery", "0"));
    EXPECT_TRUE(ValueExists(kUser, "Software\\Microsoft\\Windows\\Shell\\BagMRU", "0"));
    EXPECT_GE(record.items.size(), 3u);
    DeleteKeyTree(kUser, "Software\\Microsoft\\Windows\\Shell\\BagMRU");
}

TEST(AnotherProcess, DISABLED_HoldsAFile) { HeldByAnotherProcess::Serve(); }
