// The package that ZLTSetup.exe carries, read through Windows Installer's own database functions:
// the parts that the build adds after wixl (cabinets, the main program's version, the rows of
// tables wixl cannot write) must fit the rest of the package, or Windows Installer ignores them.
#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <cstring>
#include <map>
#include <set>

#include "tests/e2e/e2e_support.h"
#include "tests/wine/test_support.h"

namespace {

using Row = std::vector<std::string>;

std::string Field(MSIHANDLE record, unsigned field) {
    char text[1024] = {};
    DWORD size = sizeof text;
    MsiRecordGetStringA(record, field, text, &size);
    return text;
}

std::vector<Row> Query(MSIHANDLE db, const std::string& sql) {
    std::vector<Row> rows;
    MSIHANDLE view = 0;
    if (MsiDatabaseOpenViewA(db, sql.c_str(), &view) != ERROR_SUCCESS) return rows;
    MsiViewExecute(view, 0);
    MSIHANDLE record = 0;
    while (MsiViewFetch(view, &record) == ERROR_SUCCESS) {
        Row row;
        for (unsigned i = 1, n = MsiRecordGetFieldCount(record); i <= n; ++i) row.push_back(Field(record, i));
        rows.push_back(row);
        MsiCloseHandle(record);
    }
    MsiViewClose(view);
    MsiCloseHandle(view);
    return rows;
}

std::vector<char> Stream(MSIHANDLE db, const std::string& name) {
    std::vector<char> bytes;
    const std::vector<Row> found = Query(db, "SELECT `Name` FROM `_Streams` WHERE `Name` = '" + name + "'");
    if (found.empty()) return bytes;
    MSIHANDLE view = 0, record = 0;
    MsiDatabaseOpenViewA(db, ("SELECT `Data` FROM `_Streams` WHERE `Name` = '" + name + "'").c_str(), &view);
    MsiViewExecute(view, 0);
    if (MsiViewFetch(view, &record) == ERROR_SUCCESS) {
        char chunk[65536];
        for (;;) {
            DWORD size = sizeof chunk;
            if (MsiRecordReadStream(record, 1, chunk, &size) != ERROR_SUCCESS || size == 0) break;
            bytes.insert(bytes.end(), chunk, chunk + size);
        }
        MsiCloseHandle(record);
    }
    MsiViewClose(view);
    MsiCloseHandle(view);
    return bytes;
}

// The names of the files in a cabinet (CFHEADER, then the CFFILE entries from coffFiles).
std::vector<std::string> CabinetFiles(const std::vector<char>& cab) {
    std::vector<std::string> names;
    if (cab.size() < 36 || std::memcmp(cab.data(), "MSCF", 4) != 0) return names;
    auto u16 = [&](size_t at) { return static_cast<unsigned>(static_cast<uint8_t>(cab[at]) | static_cast<uint8_t>(cab[at + 1]) << 8); };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    size_t at = u32(16);
    for (unsigned i = 0, count = u16(28); i < count && at + 16 < cab.size(); ++i) {
        const std::string name(cab.data() + at + 16);
        names.push_back(name);
        at += 16 + name.size() + 1;
    }
    return names;
}

struct Package : ::testing::Test {
    void SetUp() override {
        const std::vector<char> embedded = EmbeddedPackage();
        ASSERT_FALSE(embedded.empty());
        ASSERT_TRUE(WriteFileBytes(path, std::vector<uint8_t>(embedded.begin(), embedded.end())));
        ASSERT_EQ(MsiOpenDatabaseA(path.c_str(), MSIDBOPEN_READONLY, &db), static_cast<UINT>(ERROR_SUCCESS));
    }
    void TearDown() override {
        if (db) MsiCloseHandle(db);
    }
    TempFolder folder;
    std::string path = folder / "package.msi";
    MSIHANDLE db = 0;
};

} // namespace

TEST_F(Package, EveryFileLiesAloneInItsOwnCabinetInInstallationOrder) {
    const std::vector<Row> files = Query(db, "SELECT `File`, `FileName`, `Sequence` FROM `File`");
    const std::vector<Row> media = Query(db, "SELECT `DiskId`, `LastSequence`, `Cabinet` FROM `Media`");
    ASSERT_EQ(files.size(), 5u);
    ASSERT_EQ(media.size(), files.size());
    std::set<std::string> names, cabinets;
    for (const Row& file : files) {
        names.insert(file[1]);
        // The medium of a file is the first one whose LastSequence reaches the file's sequence.
        const Row* medium = nullptr;
        for (const Row& m : media)
            if (std::stoi(m[1]) >= std::stoi(file[2]) && (!medium || std::stoi(m[1]) < std::stoi((*medium)[1])))
                medium = &m;
        ASSERT_NE(medium, nullptr) << file[0];
        const std::string cabinet = (*medium)[2];
        ASSERT_EQ(cabinet.substr(0, 1), "#") << "embedded: " << cabinet;
        cabinets.insert(cabinet);
        EXPECT_EQ(CabinetFiles(Stream(db, cabinet.substr(1))), std::vector<std::string>{file[0]}) << cabinet;
    }
    EXPECT_EQ(cabinets.size(), files.size());
    EXPECT_EQ(names, (std::set<std::string>{"zlt.exe", "zlt.chm", "hook.dll", "sqlite3.dll", "uninst.exe"}));
}

TEST_F(Package, MainProgramIsVersionedAndItsIconIsAProgram) {
    const std::vector<Row> file = Query(db, "SELECT `Version`, `Language` FROM `File` WHERE `File` = 'zlt.exe'");
    ASSERT_EQ(file.size(), 1u);
    EXPECT_EQ(file[0], (Row{"7.5.0.0", "1033"}));
    // A versioned file is compared by version; a hash beside it would be a broken package.
    EXPECT_TRUE(Query(db, "SELECT `File_` FROM `MsiFileHash` WHERE `File_` = 'zlt.exe'").empty());

    const std::vector<Row> property = Query(db, "SELECT `Value` FROM `Property` WHERE `Property` = 'ARPPRODUCTICON'");
    ASSERT_EQ(property.size(), 1u);
    const std::vector<char> icon = Stream(db, "Icon." + property[0][0]);
    ASSERT_GT(icon.size(), 2u);
    EXPECT_EQ(std::string(icon.data(), 2), "MZ");
}

TEST_F(Package, AddedRowsReferToRowsThatExist) {
    std::set<std::string> components, directories;
    for (const Row& r : Query(db, "SELECT `Component` FROM `Component`")) components.insert(r[0]);
    for (const Row& r : Query(db, "SELECT `Directory` FROM `Directory`")) directories.insert(r[0]);

    // No access entries of the package's own: the folder and the product keys keep what their
    // parents give, where only administrators may write.
    EXPECT_TRUE(Query(db, "SELECT `LockObject` FROM `LockPermissions`").empty());
    EXPECT_TRUE(Query(db, "SELECT `LockObject` FROM `MsiLockPermissionsEx`").empty());

    // Files removed at uninstallation (what older versions wrote into the program's folder), and
    // then the two folders.
    std::set<std::string> removed;
    for (const Row& r : Query(db, "SELECT `Component_`, `FileName`, `DirProperty`, `InstallMode` FROM `RemoveFile`")) {
        EXPECT_TRUE(components.count(r[0])) << r[0];
        EXPECT_TRUE(directories.count(r[2])) << r[2];
        EXPECT_EQ(r[3], "2") << r[1] << " in " << r[2]; // at removal only
        removed.insert(r[2] + "\\" + r[1]);
    }
    EXPECT_EQ(removed, (std::set<std::string>{"TARGETDIR\\settings.dat", "TARGETDIR\\index.bat", "TARGETDIR\\",
                                              "ProgramMenuDir\\"}));

    const std::vector<Row> run = Query(db, "SELECT `Root`, `Key`, `Name`, `Component_` FROM `RemoveRegistry`");
    ASSERT_EQ(run.size(), 1u);
    EXPECT_EQ(run[0][1], "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
    EXPECT_TRUE(components.count(run[0][3]));
}

TEST_F(Package, RunningCheckComesRightAfterTheSearchAndBeforeAnythingChanges) {
    std::map<std::string, int> sequence;
    for (const Row& r : Query(db, "SELECT `Action`, `Sequence` FROM `InstallExecuteSequence`"))
        sequence[r[0]] = std::stoi(r[1]);
    ASSERT_TRUE(sequence.count("CheckProgramRunning"));
    EXPECT_GT(sequence["CheckProgramRunning"], sequence["AppSearch"]);
    EXPECT_LT(sequence["CheckProgramRunning"], sequence["LaunchConditions"]);
    EXPECT_EQ(sequence["SetDefaultTargetDir"], 750);
    EXPECT_EQ(sequence["SetArpInstallLocation"], 5500);
    // A DLL from the Binary table, run at once (not deferred) and with its result checked.
    const std::vector<Row> action =
        Query(db, "SELECT `Type`, `Source` FROM `CustomAction` WHERE `Action` = 'CheckProgramRunning'");
    ASSERT_EQ(action.size(), 1u);
    EXPECT_EQ(action[0][0], "1");
    EXPECT_FALSE(Query(db, "SELECT `Name` FROM `Binary` WHERE `Name` = '" + action[0][1] + "'").empty());
}
