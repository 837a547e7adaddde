// ZLTSetup on a disk that fills up while it writes the package: this program runs with a limit on
// the size of the files it and its children write, far below the package's.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"
#include "tests/wine/test_support.h"
#include "tests/wine/ui_support.h"

TEST(SetupOnAFullDisk, AShortWriteIsReportedAndNoInstallerRunsOnIt) {
    TempFolder temp;
    HANDLE setup = StartSetup(temp.path() + "\\");
    ASSERT_NE(setup, nullptr);
    HWND box = WaitForMessageBox("File open error");
    ASSERT_NE(box, nullptr) << "setup went on with a package cut short";
    EXPECT_EQ(WindowText(box), "Error");
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(WaitForExit(setup, 60000), 0);
    CloseHandle(setup);
    EXPECT_TRUE(WaitForInstallerEnd(1000));
    EXPECT_EQ(InstalledLocation(), "");
    EXPECT_EQ(FolderEntries(temp.path()), std::vector<std::string>{}); // the cut package went too
}
