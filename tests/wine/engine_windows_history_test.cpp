// The Windows history cleaners against seeded registry trees and shell folders of the sandboxed
// prefix, and the in-place clearing of index.dat files.
#include <gtest/gtest.h>

#include "engine/history_cleaner.h"
#include "tests/wine/engine_support.h"

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

TEST_F(WindowsHistory, RecentItemsFolderIsEmptiedButStays) {
    const std::string recent = ShellFolderPath(CSIDL_APPDATA) + "\\Microsoft\\Windows\\Recent";
    MakeFolder(recent + "\\sub");
    MakeFile(recent + "\\letter.txt.lnk", 300);
    MakeFile(recent + "\\sub\\x.lnk", 300);
    cleaner.EmptyRecentItems();
    EXPECT_TRUE(PathExists(recent));
    EXPECT_TRUE(IsEmptyFolder(cleaner, recent));
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
