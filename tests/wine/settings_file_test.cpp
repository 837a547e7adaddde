// settings.dat on a real file system: loading, saving, and files that are damaged or held.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "app/settings_format.h"
#include "resources/resource_ids.h"
#include "tests/wine/test_support.h"

namespace {

struct SettingsFileTest : ::testing::Test {
    TempFolder folder;
    BoxRecorder boxes;
    ProgramSettings s;
    std::string path;
    void SetUp() override {
        s.dataFolder = folder.path();
        path = folder / "settings.dat";
    }
};

} // namespace

TEST_F(SettingsFileTest, MissingFileGivesDefaultsWithoutMessage) {
    s.windowLeft = 999;
    EXPECT_FALSE(s.LoadSettings());
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(s.windowLeft, 20);
    EXPECT_EQ(s.windowWidth, 650);
    EXPECT_EQ(s.splitterPos, 180);
    EXPECT_EQ(s.startWithWindows, 1);
    EXPECT_EQ(s.askCloseBrowsers, 1);
    EXPECT_EQ(s.confirmAfterClear, 1);
    EXPECT_EQ(s.clearEveryHours, 1);
    EXPECT_EQ(s.maxIndexDatSizeMb, 10);
    EXPECT_EQ(s.shredMethods.size(), 1u);
}

TEST_F(SettingsFileTest, DefaultsSaveAs179BytesAndLoadBack) {
    s.LoadSettings();
    ASSERT_TRUE(s.SaveSettings());
    const auto bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 179u);
    EXPECT_EQ(bytes, SerializeSettings(s));
    EXPECT_FALSE(PathExists(path + ".new")); // no temporary file left behind

    ProgramSettings again;
    again.dataFolder = folder.path();
    again.runActive = 1;
    again.stopRequested = 1;
    again.exitAfterRun = 1;
    EXPECT_TRUE(again.LoadSettings());
    EXPECT_EQ(again.runActive, 0);
    EXPECT_EQ(again.stopRequested, 0);
    EXPECT_EQ(again.exitAfterRun, 0);
    EXPECT_EQ(SerializeSettings(again), bytes);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(SettingsFileTest, PasswordMakesIt243Bytes) {
    s.ApplyDefaults();
    s.SetPassword("secret");
    ASSERT_TRUE(s.SaveSettings());
    EXPECT_EQ(ReadFileBytes(path).size(), 243u);
}

TEST_F(SettingsFileTest, RejectedFileIsKeptAsideAndTheProgramRunsOnDefaults) {
    ProgramSettings distinct;
    distinct.ApplyDefaults();
    distinct.windowLeft = 4321;
    auto wrongHeader = SerializeSettings(distinct);
    wrongHeader[32] = '!'; // header text without its zero byte
    for (const std::vector<uint8_t>& damaged : {wrongHeader, std::vector<uint8_t>{}}) {
        boxes.boxes.clear();
        ASSERT_TRUE(WriteFileBytes(path, damaged));
        ProgramSettings fresh; // all zeros, as at process start
        fresh.dataFolder = folder.path();
        EXPECT_FALSE(fresh.LoadSettings());
        // Never the zero record: visible, with hot keys and confirmations.
        EXPECT_EQ(fresh.windowShowCmd, 1);
        EXPECT_EQ(fresh.windowLeft, 20);
        EXPECT_EQ(fresh.hotKeyClearAll, 0x430003u);
        EXPECT_EQ(fresh.confirmAfterClear, 1);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].caption, "Error");
        EXPECT_EQ(boxes.boxes[0].text.rfind("Wrong settings.dat\n", 0), 0u) << boxes.boxes[0].text;
        EXPECT_NE(boxes.boxes[0].text.find(path + ".bad"), std::string::npos) << boxes.boxes[0].text;
        EXPECT_EQ(ReadFileBytes(path + ".bad"), damaged);

        // The next save writes a whole record; the damaged one stays aside.
        ASSERT_TRUE(fresh.SaveSettings());
        const auto saved = ReadFileBytes(path);
        EXPECT_EQ(saved.size(), 179u);
        ProgramSettings parsed;
        EXPECT_EQ(ParseSettings(saved.data(), saved.size(), parsed), ParseResult::Ok);
        EXPECT_EQ(ReadFileBytes(path + ".bad"), damaged);
        boxes.boxes.clear();
        EXPECT_TRUE(fresh.LoadSettings());
        EXPECT_TRUE(boxes.boxes.empty()); // told once
    }
}

TEST_F(SettingsFileTest, CutFileKeepsWhatItHeldAndDefaultsTheRest) {
    ProgramSettings stored;
    stored.ApplyDefaults();
    stored.windowLeft = 300;
    stored.windowTop = 310;
    stored.windowWidth = 720;
    stored.windowHeight = 530;
    stored.passwordEnabled = 1;
    stored.SetPassword("pw");
    stored.historyMask = 0x111;
    stored.cacheMask = 0x22;
    stored.hotKeyClearAll = 0x410002;
    stored.askCloseBrowsers = 0;
    const auto full = SerializeSettings(stored);
    ASSERT_EQ(full.size(), 243u);

    struct Cut {
        size_t length;
        int32_t left, height, showCmd;
        bool password;
        uint32_t history, cache;
    };
    const Cut cuts[] = {
        {20, 20, 450, 1, false, 0, 0},         // inside the header: rejected, all defaults
        {45, 300, 450, 1, false, 0, 0},        // inside the window values: left, top, width read
        {64 + 30, 300, 530, 1, false, 0, 0},   // inside the password digest: no half digest
        {139 + 6, 300, 530, 1, true, 0x111, 0}, // inside the masks: history read, bookmarks half there
    };
    for (const Cut& cut : cuts) {
        boxes.boxes.clear();
        const std::vector<uint8_t> damaged(full.begin(), full.begin() + cut.length);
        ASSERT_TRUE(WriteFileBytes(path, damaged));
        ProgramSettings fresh;
        fresh.dataFolder = folder.path();
        fresh.LoadSettings();
        EXPECT_EQ(fresh.windowLeft, cut.left) << cut.length;
        EXPECT_EQ(fresh.windowHeight, cut.height) << cut.length;
        EXPECT_EQ(fresh.windowShowCmd, cut.showCmd) << cut.length;
        EXPECT_EQ(fresh.PasswordProtected(), cut.password) << cut.length;
        EXPECT_EQ(fresh.historyMask, cut.history) << cut.length;
        EXPECT_EQ(fresh.cacheMask, cut.cache) << cut.length;
        EXPECT_EQ(fresh.hotKeyClearAll, 0x430003u) << cut.length; // beyond every cut: the default
        EXPECT_EQ(fresh.askCloseBrowsers, 1) << cut.length;
        ASSERT_EQ(boxes.boxes.size(), 1u) << cut.length;
        EXPECT_EQ(boxes.boxes[0].text.rfind("Wrong settings.dat", 0), 0u);
        EXPECT_EQ(ReadFileBytes(path + ".bad"), damaged) << cut.length;
        ASSERT_TRUE(fresh.SaveSettings());
        const auto saved = ReadFileBytes(path);
        ProgramSettings parsed;
        EXPECT_EQ(ParseSettings(saved.data(), saved.size(), parsed), ParseResult::Ok) << cut.length;
        EXPECT_EQ(saved.size(), 179u + fresh.password.size()) << cut.length;
    }
}

TEST_F(SettingsFileTest, FileHeldExclusivelyGivesSharingViolationCause) {
    s.ApplyDefaults();
    ASSERT_TRUE(s.SaveSettings());
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    s.windowLeft = 77;
    EXPECT_FALSE(s.LoadSettings());
    EXPECT_EQ(s.windowLeft, 20); // unread: the defaults, never the zero record
    // The unread file may be sound: saving moves it aside first, and cannot while it is held, so
    // the old file stays.
    EXPECT_FALSE(s.SaveSettings());
    CloseHandle(held);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "File open error 11");
    EXPECT_EQ(boxes.boxes[1].caption, "Error");
    EXPECT_EQ(boxes.boxes[1].text.rfind("File open error ", 0), 0u) << boxes.boxes[1].text;
    ProgramSettings reread;
    reread.dataFolder = folder.path();
    EXPECT_TRUE(reread.LoadSettings());
    EXPECT_EQ(reread.windowLeft, 20);
    EXPECT_FALSE(PathExists(path + ".new"));
}

TEST_F(SettingsFileTest, SaveMakesTheUsersFolderButNotTheFoldersAboveIt) {
    s.ApplyDefaults();
    s.dataFolder = folder / "Zephyrlanthorpe";
    ASSERT_TRUE(s.SaveSettings());
    EXPECT_EQ(ReadFileBytes(folder / "Zephyrlanthorpe\\settings.dat").size(), 179u);
    s.dataFolder = folder / "not-there\\Zephyrlanthorpe";
    EXPECT_FALSE(s.SaveSettings());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "File open error 3");
}

// A user's first start after an older version, which kept one settings.dat for every user in the
// program's folder.
struct SharedSettingsFile : SettingsFileTest {
    std::string program = folder / "Program", user = folder / "User", shared = program + "\\settings.dat";
    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryA(program.c_str(), nullptr));
        s.installFolder = program + "\\"; // as Windows Installer reports it
        s.dataFolder = user;
    }
};

TEST_F(SharedSettingsFile, IsTakenOverOnceAndLeftWhereItIs) {
    ProgramSettings old;
    old.windowLeft = 77;
    old.SetPassword("shared");
    const std::vector<uint8_t> bytes = SerializeSettings(old);
    ASSERT_TRUE(WriteFileBytes(shared, bytes));
    EXPECT_TRUE(s.LoadSettings());
    EXPECT_EQ(SerializeSettings(s), bytes);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(ReadFileBytes(user + "\\settings.dat"), bytes); // the user's own from now on
    EXPECT_EQ(ReadFileBytes(shared), bytes);
    // Later starts never look at the shared file again.
    ASSERT_TRUE(WriteFileBytes(shared, SerializeSettings(ProgramSettings())));
    EXPECT_TRUE(s.LoadSettings());
    EXPECT_EQ(s.windowLeft, 77);
}

TEST_F(SharedSettingsFile, DamagedIsKeptAsideInTheUsersFolderWithTheDefaultsForWhatItLacks) {
    ProgramSettings old;
    old.windowLeft = 66;
    std::vector<uint8_t> cut = SerializeSettings(old);
    cut.resize(45);
    ASSERT_TRUE(WriteFileBytes(shared, cut));
    EXPECT_TRUE(s.LoadSettings());
    EXPECT_EQ(s.windowLeft, 66);
    EXPECT_EQ(s.hotKeyClearAll, 0x430003u);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find("\"" + user + "\\settings.dat.bad\""), std::string::npos) << boxes.boxes[0].text;
    EXPECT_EQ(ReadFileBytes(user + "\\settings.dat.bad"), cut);
    EXPECT_EQ(ReadFileBytes(user + "\\settings.dat").size(), 179u);
    EXPECT_EQ(ReadFileBytes(shared), cut);
}

TEST_F(SettingsFileTest, FailedSaveLeavesOldFileWhole) {
    s.ApplyDefaults();
    s.windowLeft = 111;
    ASSERT_TRUE(s.SaveSettings());
    const auto old = ReadFileBytes(path);
    // Something that is not a file stands where the new contents would be written.
    ASSERT_TRUE(CreateDirectoryA((path + ".new").c_str(), nullptr));
    s.windowLeft = 222;
    EXPECT_FALSE(s.SaveSettings());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "File open error 5");
    EXPECT_EQ(ReadFileBytes(path), old);
}
