// Folder walks next to a link: a Unix symlink to a folder (a reparse point to Windows code) inside
// the folder being cleaned must be neither entered nor removed. engine_links_setup.sh makes
// C:\zlt-links\target\link -> C:\zlt-links\canary before the program starts.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/history_cleaner.h"
#include "tests/wine/engine_support.h"

namespace {

const std::string kTarget = "C:\\zlt-links\\target";
const std::string kLink = kTarget + "\\link";
const std::string kCanary = "C:\\zlt-links\\canary";

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
    }
    void ExpectCanaryIntact() {
        for (const char* name : {"keep.txt", "keep.dat", "87654321.s", "inner\\deep.txt"})
            EXPECT_TRUE(PathExists(kCanary + "\\" + name)) << name;
        EXPECT_TRUE(PathExists(kLink + "\\keep.txt")) << "the link itself is gone";
    }
};

} // namespace

TEST_F(Links, EmptyFolderLeavesTheLinkAndWhatItLeadsTo) {
    cleaner.EmptyFolder(kTarget, false);
    EXPECT_FALSE(PathExists(kTarget + "\\regular.txt"));
    EXPECT_FALSE(PathExists(kTarget + "\\sub"));
    ExpectCanaryIntact();
}

TEST_F(Links, EmptyFolderWithShreddingLeavesThemToo) {
    settings.shredFiles = 1;
    cleaner.EmptyFolder(kTarget, true);
    EXPECT_FALSE(PathExists(kTarget + "\\regular.txt"));
    ExpectCanaryIntact();
    EXPECT_EQ(ReadFileBytes(kCanary + "\\keep.txt"), std::vector<uint8_t>({'k', 'e', 'e', 'p', '\n'}));
}

TEST_F(Links, NameRuleWalksDoNotFollowTheLink) {
    cleaner.RemoveFilesBySuffix(kTarget, ".dat", false);
    cleaner.RemoveDigitNamedSFiles(kTarget);
    EXPECT_FALSE(PathExists(kTarget + "\\sub\\x.dat"));
    EXPECT_FALSE(PathExists(kTarget + "\\12345678.s"));
    ExpectCanaryIntact();
}

TEST_F(Links, ListingsDoNotShowTheLink) {
    FolderList folders, files;
    cleaner.ListSubfoldersDeep(kTarget, folders);
    cleaner.ListSubfolders(kTarget, folders);
    cleaner.ListFiles(kTarget, files);
    EXPECT_EQ(folders, (FolderList{kTarget + "\\sub", kTarget + "\\sub"}));
    EXPECT_EQ(std::count(files.begin(), files.end(), kTarget + "\\regular.txt"), 1);
    for (const auto& f : files) EXPECT_EQ(f.find(kLink), std::string::npos) << f;
}

TEST_F(Links, RemoveFileRefusesALink) {
    cleaner.RemoveFile(kLink);
    settings.shredFiles = 1;
    cleaner.RemoveFile(kLink);
    ExpectCanaryIntact();
}
