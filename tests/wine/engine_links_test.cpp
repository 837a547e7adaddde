// Removals next to links. engine_links_setup.sh makes Unix symlinks inside this test's prefix before
// the program starts: one to a folder (a reparse point to Windows code) and some to files (plain
// files to Windows code under Wine). Nothing is ever deleted or overwritten through a link; a file
// with a second name loses only the name that was cleaned.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "engine/history_cleaner.h"
#include "engine/recording.h"
#include "tests/wine/engine_support.h"

namespace {

const std::string kTop = "C:\\zlt-links";
const std::string kTarget = kTop + "\\target";
const std::string kLink = kTarget + "\\link";
const std::string kCanary = kTop + "\\canary";
const std::string kFileLink = kTarget + "\\filelink.txt";
const std::string kSecret = kTop + "\\outside\\secret.txt";
const std::string kShared = kTop + "\\outside\\shared.bin";
const std::string kSecondName = kTarget + "\\second-name.bin";

struct Links : ::testing::Test {
    ProgramSettings settings;
    HistoryCleaner cleaner{&settings};
    void SetUp() override {
        settings.ApplyDefaults();
        const DWORD attributes = GetFileAttributesA(kLink.c_str());
        ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "the setup script did not run";
        ASSERT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
        MakeFolder(kTarget + "\\sub");
        MakeFile(kTarget + "\\regular.txt", 10);
        MakeFile(kTarget + "\\sub\\x.dat", 10);
        MakeFile(kTarget + "\\12345678.s", 10);
        // A second name, in the cleaned folder, of a file that lives elsewhere.
        MakeFile(kShared, 3 * 4096 + 100, 'h');
        DeleteFileA(kSecondName.c_str());
        ASSERT_TRUE(CreateHardLinkA(kSecondName.c_str(), kShared.c_str(), nullptr));
    }
    void ExpectCanaryIntact() {
        for (const char* name : {"keep.txt", "keep.dat", "87654321.s", "inner\\deep.txt"})
            EXPECT_TRUE(PathExists(kCanary + "\\" + name)) << name;
        EXPECT_TRUE(PathExists(kLink + "\\keep.txt")) << "the link itself is gone";
    }
    // The file behind the file link has every byte it had, and the link still leads to it.
    void ExpectSecretIntact() {
        EXPECT_EQ(ReadFileBytes(kSecret), std::vector<uint8_t>(20000, 'S'));
        EXPECT_EQ(ReadFileBytes(kFileLink), std::vector<uint8_t>(20000, 'S'));
    }
};

} // namespace

TEST_F(Links, EmptyFolderLeavesTheLinkAndWhatItLeadsTo) {
    cleaner.EmptyFolder(kTarget, false);
    EXPECT_FALSE(PathExists(kTarget + "\\regular.txt"));
    EXPECT_FALSE(PathExists(kTarget + "\\sub"));
    ExpectCanaryIntact();
    ExpectSecretIntact();
}

TEST_F(Links, EmptyFolderWithShreddingLeavesThemToo) {
    settings.shredFiles = 1;
    cleaner.EmptyFolder(kTarget, true);
    EXPECT_FALSE(PathExists(kTarget + "\\regular.txt"));
    ExpectCanaryIntact();
    ExpectSecretIntact();
    EXPECT_EQ(ReadFileBytes(kCanary + "\\keep.txt"), std::vector<uint8_t>({'k', 'e', 'e', 'p', '\n'}));
}

TEST_F(Links, AWalkAskedToStartInALinkLeavesWhatItLeadsTo) {
    // A cleaned folder (a Temp or Cookies folder) that is itself a junction to somewhere else.
    settings.shredFiles = 1;
    for (bool shred : {false, true}) {
        cleaner.EmptyFolder(kLink, shred);
        cleaner.RemoveFilesBySuffix(kLink, ".txt", shred);
        cleaner.RemoveFilesByPrefix(kLink, "keep", shred);
    }
    cleaner.RemoveDigitNamedSFiles(kLink);
    FolderList below;
    cleaner.ListSubfoldersDeep(kLink + "\\", below);
    cleaner.ListFiles(kLink, below);
    EXPECT_TRUE(below.empty());
    ExpectCanaryIntact();
}

TEST_F(Links, ATempVariableThatNamesALinkEmptiesNothingBehindIt) {
    const TempVariables temp(kLink);
    cleaner.EmptyTempFolders();
    ExpectCanaryIntact();
}

TEST_F(Links, NameRuleWalksDoNotFollowTheLink) {
    settings.shredFiles = 1;
    for (bool shred : {false, true}) {
        cleaner.RemoveFilesBySuffix(kTarget, ".txt", shred);
        cleaner.RemoveFilesByPrefix(kTarget, "file", shred);
        cleaner.RemoveFilesBySuffix(kTarget, ".dat", shred);
        cleaner.RemoveDigitNamedSFiles(kTarget);
    }
    EXPECT_FALSE(PathExists(kTarget + "\\sub\\x.dat"));
    EXPECT_FALSE(PathExists(kTarget + "\\12345678.s"));
    ExpectCanaryIntact();
    ExpectSecretIntact();
}

TEST_F(Links, ListingsDoNotShowTheFolderLink) {
    FolderList folders, files;
    cleaner.ListSubfoldersDeep(kTarget, folders);
    cleaner.ListSubfolders(kTarget, folders);
    cleaner.ListFiles(kTarget, files);
    EXPECT_EQ(folders, (FolderList{kTarget + "\\sub", kTarget + "\\sub"}));
    EXPECT_EQ(std::count(files.begin(), files.end(), kTarget + "\\regular.txt"), 1);
    for (const auto& f : files) EXPECT_EQ(f.find(kLink), std::string::npos) << f;
}

TEST_F(Links, RemoveFileRefusesEveryKindOfLink) {
    for (uint8_t shred : {0, 1}) {
        settings.shredFiles = shred;
        cleaner.RemoveFile(kLink);
        cleaner.RemoveFile(kFileLink);
        cleaner.RemoveFileInEachFolder("filelink.txt", {kTarget});
        EXPECT_FALSE(cleaner.DeleteEntry(kFileLink));
        // A link to a file beside it: a cleaner that removes one file must not take its neighbour.
        cleaner.RemoveFile(kTop + "\\profile\\cookies.sqlite");
        EXPECT_TRUE(PathExists(kTop + "\\profile\\places.sqlite")) << int(shred);
    }
    ExpectCanaryIntact();
    ExpectSecretIntact();
}

TEST_F(Links, ASecondNameIsRemovedWithoutTouchingTheBytes) {
    for (uint8_t shred : {1, 0}) {
        settings.shredFiles = shred;
        cleaner.EmptyFolder(kTarget, true);
        EXPECT_FALSE(PathExists(kSecondName)) << int(shred);
        EXPECT_EQ(ReadFileBytes(kShared), std::vector<uint8_t>(3 * 4096 + 100, 'h')) << int(shred);
        ASSERT_TRUE(CreateHardLinkA(kSecondName.c_str(), kShared.c_str(), nullptr));
    }
    settings.shredFiles = 1;
    cleaner.RemoveFile(kSecondName);
    EXPECT_FALSE(PathExists(kSecondName));
    EXPECT_EQ(ReadFileBytes(kShared), std::vector<uint8_t>(3 * 4096 + 100, 'h'));
    // The passes themselves refuse it too.
    ASSERT_TRUE(CreateHardLinkA(kSecondName.c_str(), kShared.c_str(), nullptr));
    EXPECT_EQ(cleaner.WritePass(kSecondName, 0), PassNotOpened);
    EXPECT_EQ(ReadFileBytes(kShared), std::vector<uint8_t>(3 * 4096 + 100, 'h'));
}

TEST_F(Links, IndexDatBehindALinkIsNotZeroed) {
    cleaner.ClearIndexDatContent({kTop + "\\idx"});
    EXPECT_EQ(ReadFileBytes(kTop + "\\outside\\index.dat"), std::vector<uint8_t>(40000, 'I'));
}

namespace {

// Runs `swap` on the file being shredded once pass `when` (1-based) has written and closed it.
struct SwapAfterPass : ShredProbe {
    int when = 0;
    std::function<void(const std::string&)> swap;
    void PassWritten(const std::string& path, int pass) override {
        if (pass == when) swap(path);
    }
};

} // namespace

// RemoveFile looks the file up by name once and checks every later open (each pass's, the
// deletion's) against the handle it keeps on that file: a name that has come to lead to another
// file between two passes, or before the deletion, is neither written nor removed, whether that
// file is a second name of a file elsewhere or a file of its own.
TEST_F(Links, ANameThatLeadsElsewhereBetweenThePassesIsNeitherWrittenNorRemoved) {
    settings.shredFiles = 1;
    const std::string path = kTarget + "\\swapped.bin";
    const std::string aside = kTop + "\\outside\\aside.bin";
    const std::string stranger = kTop + "\\outside\\stranger.bin";
    for (const bool secondName : {true, false}) {
        for (const int when : {1, 3}) {
            const std::string what = std::string(secondName ? "second name" : "own file") + " after pass " +
                                     std::to_string(when);
            DeleteFileA(aside.c_str());
            DeleteFileA(path.c_str());
            ASSERT_TRUE(MakeFile(path, 2 * 4096 + 10, 'o'));
            ASSERT_TRUE(MakeFile(stranger, 5000, 'n'));
            SwapAfterPass probe;
            probe.when = when;
            probe.swap = [&](const std::string& shredded) {
                ASSERT_TRUE(MoveFileA(shredded.c_str(), aside.c_str())) << GetLastError();
                if (secondName)
                    ASSERT_TRUE(CreateHardLinkA(shredded.c_str(), kShared.c_str(), nullptr));
                else
                    ASSERT_TRUE(MoveFileA(stranger.c_str(), shredded.c_str()));
            };
            cleaner.shredProbe = &probe;
            const auto record = RecordedClearing(cleaner, "page", false, "", [&] { cleaner.RemoveFile(path); });
            cleaner.shredProbe = nullptr;
            // What the name leads to now has every byte it had, and its name.
            EXPECT_TRUE(PathExists(path)) << what;
            if (secondName)
                EXPECT_EQ(ReadFileBytes(kShared), std::vector<uint8_t>(3 * 4096 + 100, 'h')) << what;
            else
                EXPECT_EQ(ReadFileBytes(path), std::vector<uint8_t>(5000, 'n')) << what;
            // The file that was being shredded went away under another name: it stays, recorded as left.
            EXPECT_TRUE(PathExists(aside)) << what;
            ASSERT_EQ(record->items.size(), 1u) << what;
            EXPECT_EQ(record->items[0].action, ItemAction::Left) << what;
            EXPECT_EQ(record->items[0].path, path) << what;
            DeleteFileA(path.c_str()); // only this name of kShared
        }
    }
    EXPECT_EQ(ReadFileBytes(kShared), std::vector<uint8_t>(3 * 4096 + 100, 'h'));
}
