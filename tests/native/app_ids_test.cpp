#include <gtest/gtest.h>

#include "engine/cleaners/app_ids.h"

namespace {
const std::vector<KnownFolder> kKnown = {
    {"C:\\Windows\\System32", "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}"},
    {"C:\\Windows", "{F38BF404-1D43-42F2-9305-67DE0B28FC23}"},
    {"C:\\Program Files", "{6D809377-6AF0-444B-8957-A3773F02200E}"},
    {"C:\\Program Files (x86)", "{7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}"},
};
} // namespace

TEST(AppIds, AProgramInAKnownFolderIsNamedByThatFoldersId) {
    EXPECT_EQ(ImplicitAppId("C:\\Program Files\\Mozilla Firefox\\firefox.exe", kKnown),
              "{6D809377-6AF0-444B-8957-A3773F02200E}\\Mozilla Firefox\\firefox.exe");
    EXPECT_EQ(ImplicitAppId("c:\\program files (x86)\\Notepad++\\notepad++.exe", kKnown),
              "{7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}\\Notepad++\\notepad++.exe");
    // The more specific folder listed first wins; a separator doubled or written "/" is one.
    EXPECT_EQ(ImplicitAppId("C:/Windows/System32//mspaint.exe", kKnown),
              "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}\\mspaint.exe");
    EXPECT_EQ(ImplicitAppId("C:\\Windows\\notepad.exe", kKnown), "{F38BF404-1D43-42F2-9305-67DE0B28FC23}\\notepad.exe");
}

TEST(AppIds, OtherProgramsAreNamedByTheirPath) {
    // A folder whose name only begins like a known one is not in it.
    EXPECT_EQ(ImplicitAppId("C:\\Program Files2\\x.exe", kKnown), "C:\\Program Files2\\x.exe");
    EXPECT_EQ(ImplicitAppId("D:\\Tools\\x.exe", kKnown), "D:\\Tools\\x.exe");
    EXPECT_EQ(ImplicitAppId("C:\\Program Files\\", kKnown), "C:\\Program Files\\");
    EXPECT_EQ(ImplicitAppId("C:\\Program Files\\x.exe", {}), "C:\\Program Files\\x.exe");
}

TEST(AppIds, RepeatsEmptyAndOverlongIdsAreDropped) {
    const std::vector<std::string> ids = {"Microsoft.Windows.Explorer", "", "microsoft.windows.explorer",
                                          std::string(129, 'a'), std::string(128, 'b'), "Contoso.App"};
    EXPECT_EQ(DistinctAppIds(ids),
              (std::vector<std::string>{"Microsoft.Windows.Explorer", std::string(128, 'b'), "Contoso.App"}));
}
