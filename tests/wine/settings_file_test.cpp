// settings.dat on a real file system, and the password digest from the platform.
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
        s.installFolder = folder.path();
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
    again.installFolder = folder.path();
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

TEST_F(SettingsFileTest, WrongHeaderShowsMessageAndKeepsRecord) {
    auto bytes = SerializeSettings(s);
    bytes[32] = '!'; // header text without its zero byte
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    s.windowLeft = 4321;
    EXPECT_FALSE(s.LoadSettings());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Error");
    EXPECT_EQ(boxes.boxes[0].text, "Wrong settings.dat");
    EXPECT_EQ(boxes.boxes[0].icon, IDI_BOX_MESSAGE);
    EXPECT_EQ(s.windowLeft, 4321);
}

TEST_F(SettingsFileTest, FileHeldExclusivelyGivesSharingViolationCause) {
    s.ApplyDefaults();
    ASSERT_TRUE(s.SaveSettings());
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    s.windowLeft = 77;
    EXPECT_FALSE(s.LoadSettings());
    EXPECT_EQ(s.windowLeft, 77);
    // Saving cannot replace a file that another handle holds without sharing: the old file stays.
    EXPECT_FALSE(s.SaveSettings());
    CloseHandle(held);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "File open error 11");
    EXPECT_EQ(boxes.boxes[1].caption, "Error");
    EXPECT_EQ(boxes.boxes[1].text.rfind("File open error ", 0), 0u) << boxes.boxes[1].text;
    ProgramSettings reread;
    reread.installFolder = folder.path();
    EXPECT_TRUE(reread.LoadSettings());
    EXPECT_EQ(reread.windowLeft, 20);
    EXPECT_FALSE(PathExists(path + ".new"));
}

TEST_F(SettingsFileTest, SaveIntoMissingFolderFailsWithBadPath) {
    s.ApplyDefaults();
    s.installFolder = folder / "not-there";
    EXPECT_FALSE(s.SaveSettings());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "File open error 3");
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

TEST(Password, DigestIsUpperCaseSha256OfTheBytes) {
    ProgramSettings s;
    s.SetPassword("abc"); // FIPS 180-2, appendix B.1
    EXPECT_EQ(s.password, "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    s.SetPassword(""); // the digest of no bytes at all
    EXPECT_EQ(s.password, "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855");
    s.SetPassword("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"); // appendix B.2
    EXPECT_EQ(s.password, "248D6A61D20638B8E5C026930C3E6039A33CE45964FF2167F6ECEDD419DB06C1");
}

TEST(Password, CheckAcceptsOnlyTheSameText) {
    ProgramSettings s;
    s.SetPassword("Open Sesame");
    EXPECT_TRUE(s.CheckPassword("Open Sesame"));
    EXPECT_FALSE(s.CheckPassword("open sesame"));
    EXPECT_FALSE(s.CheckPassword("Open Sesame "));
    EXPECT_FALSE(s.CheckPassword(""));
    s.password = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"; // lower-case digest
    EXPECT_FALSE(s.CheckPassword("abc"));
}
