// The index.dat cleaners on the shell folders of the sandboxed prefix: content cleared in place,
// the files of a few Internet Explorer folders deleted, and the batch file with its start-up entry.
// Nothing in this program loads WinINet, so no index.dat here is held but by the tests themselves.
#include <gtest/gtest.h>

#include "engine/history_cleaner.h"
#include "tests/wine/engine_support.h"

#include <shlobj.h>

namespace {

const char kRunOnce[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kRun[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

struct IndexDat : ::testing::Test {
    ProgramSettings settings;
    HistoryCleaner cleaner{&settings};
    RecordingObserver observer;
    void SetUp() override {
        settings.ApplyDefaults();
        cleaner.SetObserver(&observer);
    }
    void TearDown() override { cleaner.SetObserver(nullptr); }
};

// Bytes [from, to) are all zero.
bool ZeroFrom(const std::vector<uint8_t>& bytes, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (bytes[i] != 0) return false;
    return true;
}

bool AllOf(const std::vector<uint8_t>& bytes, size_t from, size_t to, uint8_t value) {
    for (size_t i = from; i < to; ++i)
        if (bytes[i] != value) return false;
    return true;
}

std::string Warning(const std::string& path, int mb) {
    return "Warning: " + path + " is too large (" + std::to_string(mb) +
           "MB), only part of it has been cleaned. You can change 'Max index.dat file size for clearing' in "
           "program Settings or you can use 'Delete index.dat' feature";
}

// ---- Content

TEST_F(IndexDat, HistoryFolderTreeIsClearedUpToTheLimitWithOneWarning) {
    const std::string history = ShellFolderPath(CSIDL_HISTORY);
    const std::string large = history + "\\History.IE5\\index.dat";
    const std::string small = history + "\\History.IE5\\MSHist01\\index.dat";
    const std::string locked = history + "\\Locked\\index.dat";
    const std::string free = history + "\\index.dat";
    const std::string outside = ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\ZltNotHistory\\index.dat";
    MakeFolder(history + "\\History.IE5\\MSHist01");
    MakeFolder(history + "\\Locked");
    MakeFolder(ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\ZltNotHistory");
    ASSERT_TRUE(MakeFile(large, 25000000, 0x5A));
    ASSERT_TRUE(MakeFile(small, 4000000, 0x6B));
    ASSERT_TRUE(MakeFile(locked, 3000, 0x7C));
    ASSERT_TRUE(MakeFile(free, 3000, 0x11));
    ASSERT_TRUE(MakeFile(outside, 3000, 0x22));
    {
        // WinINet holds its files open sharing reads and writes, not deletion; the "Locked" one is
        // held by somebody who shares nothing.
        HeldFile heldLarge(large, FILE_SHARE_READ | FILE_SHARE_WRITE);
        HeldFile heldSmall(small, FILE_SHARE_READ | FILE_SHARE_WRITE);
        HeldFile heldLocked(locked, 0);
        ASSERT_TRUE(heldLarge.held() && heldSmall.held() && heldLocked.held());
        cleaner.ClearHistoryIndexDat();
    }
    // Not in use: simply removed, and the folders after it still get their turn.
    EXPECT_FALSE(PathExists(free));

    const auto bytes = ReadFileBytes(large);
    ASSERT_EQ(bytes.size(), 25000000u);
    EXPECT_TRUE(AllOf(bytes, 0, 32, 0x5A));
    EXPECT_TRUE(ZeroFrom(bytes, 32, 10000416));
    EXPECT_TRUE(AllOf(bytes, 10000416, bytes.size(), 0x5A));

    const auto smallBytes = ReadFileBytes(small);
    ASSERT_EQ(smallBytes.size(), 4000000u);
    EXPECT_TRUE(AllOf(smallBytes, 0, 32, 0x6B));
    EXPECT_TRUE(ZeroFrom(smallBytes, 32, smallBytes.size()));

    EXPECT_EQ(ReadFileBytes(locked), std::vector<uint8_t>(3000, 0x7C));
    EXPECT_EQ(ReadFileBytes(outside), std::vector<uint8_t>(3000, 0x22));
    EXPECT_EQ(observer.warnings, std::vector<std::string>{Warning(large, 25)});
    RemoveTree(history + "\\History.IE5");
    RemoveTree(history + "\\Locked");
}

TEST_F(IndexDat, CacheAndCookieFoldersEachClearTheirOwnTree) {
    const std::string cache = ShellFolderPath(CSIDL_INTERNET_CACHE) + "\\Content.IE5\\index.dat";
    const std::string cookies = ShellFolderPath(CSIDL_COOKIES) + "\\index.dat";
    MakeFolder(ShellFolderPath(CSIDL_INTERNET_CACHE) + "\\Content.IE5");
    MakeFolder(ShellFolderPath(CSIDL_COOKIES));
    ASSERT_TRUE(MakeFile(cache, 70000, 0x33));
    ASSERT_TRUE(MakeFile(cookies, 70000, 0x44));
    {
        HeldFile heldCache(cache, FILE_SHARE_READ | FILE_SHARE_WRITE);
        HeldFile heldCookies(cookies, FILE_SHARE_READ | FILE_SHARE_WRITE);
        cleaner.ClearCacheIndexDat();
        EXPECT_EQ(ReadFileBytes(cookies), std::vector<uint8_t>(70000, 0x44));
        cleaner.ClearCookiesIndexDat();
    }
    for (const std::string& path : {cache, cookies}) {
        const auto bytes = ReadFileBytes(path);
        ASSERT_EQ(bytes.size(), 70000u) << path;
        EXPECT_NE(bytes[31], 0) << path;
        EXPECT_TRUE(ZeroFrom(bytes, 32, bytes.size())) << path;
    }
    EXPECT_TRUE(observer.warnings.empty());
}

// ---- Deletion of the IECompatCache, PrivacIE and DOMStore files

struct DeleteCase {
    bool compat;
    bool privacy;
};

struct IndexDatFolders : IndexDat, ::testing::WithParamInterface<DeleteCase> {};

TEST_P(IndexDatFolders, EachOptionTakesItsOwnTrees) {
    const auto [compat, privacy] = GetParam();
    settings.deleteIECompatCacheIndex = compat;
    settings.deletePrivacIEIndex = privacy;
    const std::string roaming = ShellFolderPath(CSIDL_APPDATA);
    ASSERT_NE(roaming.find("\\Roaming"), std::string::npos);
    std::string appData = roaming.substr(0, roaming.rfind("\\Roaming"));
    const std::string compatTree = roaming + "\\Microsoft\\Windows\\IECompatCache";
    const std::string privacyTree = roaming + "\\Microsoft\\Windows\\PrivacIE";
    const std::string domTree = appData + "\\LocalLow\\Microsoft\\Internet Explorer\\DOMStore";
    const std::string canary = roaming + "\\Microsoft\\Windows\\ZltCanary";
    for (const std::string& tree : {compatTree, privacyTree, domTree, canary}) {
        MakeFolder(tree + "\\Low\\deeper");
        for (const std::string& folder : {tree, tree + "\\Low", tree + "\\Low\\deeper"}) {
            ASSERT_TRUE(MakeFile(folder + "\\index.dat", 1000));
            ASSERT_TRUE(MakeFile(folder + "\\other.dat", 10));
        }
    }
    cleaner.DeleteIEIndexDatFiles();
    auto expectTree = [&](const std::string& tree, bool gone) {
        for (const std::string& folder : {tree, tree + "\\Low", tree + "\\Low\\deeper"}) {
            EXPECT_EQ(PathExists(folder + "\\index.dat"), !gone) << folder;
            EXPECT_TRUE(PathExists(folder + "\\other.dat")) << folder;
        }
    };
    expectTree(compatTree, compat);
    expectTree(privacyTree, privacy);
    expectTree(domTree, privacy);
    expectTree(canary, false);
    for (const std::string& tree : {compatTree, privacyTree, domTree, canary}) RemoveTree(tree + "\\Low");
}

INSTANTIATE_TEST_SUITE_P(Options, IndexDatFolders,
                         ::testing::Values(DeleteCase{false, true}, DeleteCase{true, false}, DeleteCase{true, true},
                                           DeleteCase{false, false}));

// ---- Links (engine_index_dat_setup.sh makes them before the program starts)

const std::string kLinkTop = "C:\\zlt-idx";

TEST_F(IndexDat, PrivacyIndexDatThatIsALinkStaysAndSoDoesItsTarget) {
    const std::string link = ShellFolderPath(CSIDL_APPDATA) + "\\Microsoft\\Windows\\PrivacIE\\Linked\\index.dat";
    ASSERT_TRUE(PathExists(link)) << "the setup script did not run";
    settings.deletePrivacIEIndex = 1;
    cleaner.DeleteIEIndexDatFiles();
    EXPECT_EQ(ReadFileBytes(kLinkTop + "\\outside\\privacie.dat"), std::vector<uint8_t>(5000, 'P'));
}

TEST_F(IndexDat, BatchFileThatIsALinkIsNeitherWrittenThroughNorDeletedThrough) {
    const std::string victim = kLinkTop + "\\outside\\victim.txt";
    ASSERT_TRUE(PathExists(kLinkTop + "\\install\\index.bat")) << "the setup script did not run";
    settings.localDataFolder = kLinkTop + "\\install";
    cleaner.ScheduleIndexDatDeletion(true, true, true);
    EXPECT_EQ(ReadFileBytes(victim), std::vector<uint8_t>({'k', 'e', 'e', 'p'}));
    EXPECT_TRUE(observer.warnings.empty()); // the link was replaced by the batch file itself
    cleaner.ScheduleIndexDatDeletion(false, false, false);
    EXPECT_EQ(ReadFileBytes(victim), std::vector<uint8_t>({'k', 'e', 'e', 'p'}));
    EXPECT_FALSE(PathExists(kLinkTop + "\\install\\index.bat"));
}

// ---- index.bat and its start-up entry

void DeleteValue(HKEY root, const char* key, const char* name) {
    HKEY h;
    if (RegOpenKeyExA(root, key, 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS) return;
    RegDeleteValueA(h, name);
    RegCloseKey(h);
}

std::string RegString(HKEY root, const char* key, const char* name, DWORD* type = nullptr, DWORD* size = nullptr) {
    HKEY h;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return "<no key>";
    char data[1024] = "";
    DWORD length = sizeof data - 1, kind = 0;
    const LONG rc = RegQueryValueExA(h, name, nullptr, &kind, reinterpret_cast<BYTE*>(data), &length);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS) return "<no value>";
    if (type) *type = kind;
    if (size) *size = length;
    return std::string(data, length && data[length - 1] == '\0' ? length - 1 : length);
}

struct IndexBat : IndexDat {
    TempFolder local, program;
    std::string batch, command, oldBatch;
    void SetUp() override {
        IndexDat::SetUp();
        settings.localDataFolder = local.path();
        settings.installFolder = program.path() + "\\";
        batch = local / "index.bat";
        command = "\"" + batch + "\"";
        oldBatch = program / "index.bat";
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            SetString(root, kRunOnce, "ZltCanary", "kept.exe");
            DeleteValue(root, kRunOnce, "index");
        }
        SetString(HKEY_LOCAL_MACHINE, kRun, "ZltCanary", "kept.exe");
    }
    void TearDown() override {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
            DeleteValue(root, kRunOnce, "ZltCanary");
            DeleteValue(root, kRunOnce, "index");
        }
        DeleteValue(HKEY_LOCAL_MACHINE, kRun, "ZltCanary");
        DeleteValue(HKEY_LOCAL_MACHINE, kRun, "index");
        IndexDat::TearDown();
    }
    std::string BatchText() const {
        const auto bytes = ReadFileBytes(batch);
        return std::string(bytes.begin(), bytes.end());
    }
};

TEST_F(IndexBat, HistoryAndCookiesGetOneGuardedLineEachAndTheUserRunsIt) {
    cleaner.ScheduleIndexDatDeletion(true, false, true);
    const std::string expected = "@echo off\r\n"
                                 "cd/d \"" + ShellFolderPath(CSIDL_HISTORY) +
                                 "\" && del /F /Q /S /A -RSH index.dat > NUL\r\n"
                                 "cd/d \"" + ShellFolderPath(CSIDL_COOKIES) +
                                 "\" && del /F /Q /S /A -RSH index.dat > NUL\r\n";
    EXPECT_EQ(BatchText(), expected);
    DWORD type = 0, size = 0;
    // The path in quotes: unquoted, a folder with a blank would run another program.
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kRunOnce, "index", &type, &size), command);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, command.size() + 1); // with its terminating NUL, as REG_SZ data should be
    // The machine's RunOnce would run the user's file with an administrator's rights.
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kRunOnce, "index"), "<no value>");
    EXPECT_TRUE(observer.warnings.empty());
    EXPECT_FALSE(PathExists(oldBatch));
}

TEST_F(IndexBat, RewritingReplacesTheWholeFileAndLeavesNothingBeside) {
    cleaner.ScheduleIndexDatDeletion(true, true, true);
    const std::string all = BatchText();
    cleaner.ScheduleIndexDatDeletion(false, true, false);
    EXPECT_EQ(BatchText(), "@echo off\r\ncd/d \"" + ShellFolderPath(CSIDL_INTERNET_CACHE) +
                               "\" && del /F /Q /S /A -RSH index.dat > NUL\r\n");
    EXPECT_GT(all.size(), BatchText().size());
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((local / "*.tmp").c_str(), &found);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE) << found.cFileName;
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

TEST_F(IndexBat, MachineEntriesForThisFileOrItsOldPlaceAreTakenBack) {
    SetString(HKEY_LOCAL_MACHINE, kRunOnce, "index", oldBatch);
    SetString(HKEY_LOCAL_MACHINE, kRun, "index", command);
    cleaner.ScheduleIndexDatDeletion(false, true, false);
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kRunOnce, "index"), "<no value>");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kRun, "index"), "<no value>");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kRunOnce, "index"), command);
    // Somebody else's "index" is none of ours.
    SetString(HKEY_LOCAL_MACHINE, kRunOnce, "index", "C:\\elsewhere\\index.bat");
    cleaner.ScheduleIndexDatDeletion(false, true, false);
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kRunOnce, "index"), "C:\\elsewhere\\index.bat");
}

TEST_F(IndexBat, AllOffRemovesOnlyEntriesThatNameOurFileAndTheFile) {
    cleaner.ScheduleIndexDatDeletion(true, true, true);
    ASSERT_TRUE(PathExists(batch));
    SetString(HKEY_LOCAL_MACHINE, kRunOnce, "index", batch);
    SetString(HKEY_LOCAL_MACHINE, kRun, "index", "\"" + oldBatch + "\"");
    cleaner.ScheduleIndexDatDeletion(false, false, false);
    EXPECT_FALSE(PathExists(batch));
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kRunOnce, "index"), "<no value>");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kRunOnce, "index"), "<no value>");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kRun, "index"), "<no value>");
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        EXPECT_EQ(RegString(root, kRunOnce, "ZltCanary"), "kept.exe");
    EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kRun, "ZltCanary"), "kept.exe");
    EXPECT_TRUE(PathExists(local.path()));
    // Another program's "index" stays.
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) SetString(root, kRunOnce, "index", "other.exe");
    cleaner.ScheduleIndexDatDeletion(false, false, false);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        EXPECT_EQ(RegString(root, kRunOnce, "index"), "other.exe");
}

TEST_F(IndexBat, UnwritableFileIsReportedAndNoEntryIsLeftForIt) {
    // The folder cannot be made; an entry of an earlier run names the file.
    settings.localDataFolder = local / "missing\\deeper";
    SetString(HKEY_CURRENT_USER, kRunOnce, "index", "\"" + settings.localDataFolder + "\\index.bat\"");
    cleaner.ScheduleIndexDatDeletion(true, false, false);
    EXPECT_EQ(observer.warnings, std::vector<std::string>{": Couldn't create the file \"index.bat\"!"});
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kRunOnce, "index"), "<no value>");
    EXPECT_FALSE(PathExists(local / "missing"));
}

TEST_F(IndexBat, CmdDeletesTheFilesOfAFolderWithANonAsciiName) {
    // The history folder moved below a folder whose name has an "é" (0xE9 in the ANSI code page).
    const char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const std::string moved = program / "Caf\xE9\\History";
    MakeFolder(moved + "\\Low");
    for (const std::string& file : {moved + "\\index.dat", moved + "\\Low\\index.dat", moved + "\\kept.dat"})
        ASSERT_TRUE(MakeFile(file, 100));
    const std::string history = ShellFolderPath(CSIDL_HISTORY);
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, kUserShellFolders, "History", moved));
    ASSERT_EQ(ShellFolderPath(CSIDL_HISTORY), moved);
    cleaner.ScheduleIndexDatDeletion(true, false, false);
    SetString(HKEY_CURRENT_USER, kUserShellFolders, "History", history);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string line = "cmd.exe /c " + command;
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                               local.path().c_str(), &startup, &process));
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    EXPECT_FALSE(PathExists(moved + "\\index.dat"));
    EXPECT_FALSE(PathExists(moved + "\\Low\\index.dat"));
    EXPECT_TRUE(PathExists(moved + "\\kept.dat"));
    RemoveTree(program / "Caf\xE9");
}

} // namespace
