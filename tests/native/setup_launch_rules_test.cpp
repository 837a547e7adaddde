// The setup program's version rules and the names it forms.
#include <gtest/gtest.h>

#include "setup/launch_rules.h"

namespace {

TEST(SetupInstallerVersion, MajorHighMinorLowAndOnlyTheLow16BitsOfEach) {
    EXPECT_EQ(InstallerVersionFromDll(2, 0), 0x20000u);
    EXPECT_EQ(InstallerVersionFromDll(3, 1), 0x30001u);
    EXPECT_EQ(InstallerVersionFromDll(1, 20), 0x10014u);
    // Bits above 16 neither carry into the major part nor leak out of it.
    EXPECT_EQ(InstallerVersionFromDll(0x10002, 0x10005), 0x20005u);
    EXPECT_EQ(InstallerVersionFromDll(0xFFFF, 0xFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(InstallerVersionFromDll(0, 0x1FFFF), 0xFFFFu);
}

struct SystemCase {
    std::uint32_t installer, platform, major, minor;
    bool refused;
};

TEST(SetupInstallerVersion, RefusesOnlyAnOldInstallerOnWindows95OrNt4) {
    const SystemCase cases[] = {
        {0x10001, 1, 4, 0, true},   // Windows 95, installer 1.1
        {0x10001, 2, 4, 0, true},   // Windows NT 4.0
        {0, 2, 4, 0, true},         // NT 4.0 without msi.dll
        {0x1FFFF, 1, 4, 0, true},   // just below 2.0
        {0x20000, 1, 4, 0, false},  // installer 2.0: the system is not looked at
        {0x20000, 2, 4, 0, false},
        {0x10001, 1, 4, 10, false}, // Windows 98 tries
        {0x10001, 1, 4, 90, false}, // Windows ME
        {0, 2, 5, 0, false},        // Windows 2000 without msi.dll still tries
        {0x10001, 0, 4, 0, false},  // Win32s is neither platform
        {0x10001, 3, 4, 0, false},  // nor is CE
        {0x10001, 2, 3, 51, false}, // NT 3.51: only exactly 4.0 is refused
        {0x10001, 2, 4, 1, false},
        {0x30001, 2, 5, 1, false},  // XP with installer 3.1
    };
    for (const SystemCase& c : cases) {
        EXPECT_EQ(RefusesSystem(c.installer, c.platform, c.major, c.minor), c.refused)
            << std::hex << "installer 0x" << c.installer << std::dec << ", platform " << c.platform << ", version "
            << c.major << "." << c.minor;
    }
}

TEST(SetupPackage, CommandQuotesThePathOnlyWhenItHoldsABlank) {
    const std::string shortPath = PackagePath("C:\\DOCUME~1\\Ann\\LOCALS~1\\Temp\\");
    EXPECT_EQ(shortPath, "C:\\DOCUME~1\\Ann\\LOCALS~1\\Temp\\Zephyrlanthorpe.msi");
    EXPECT_EQ(InstallCommand(shortPath), "msiexec /i C:\\DOCUME~1\\Ann\\LOCALS~1\\Temp\\Zephyrlanthorpe.msi");

    const std::string longPath = PackagePath("C:\\Documents and Settings\\Ann\\Local Settings\\Temp\\");
    EXPECT_EQ(InstallCommand(longPath),
              "msiexec /i \"C:\\Documents and Settings\\Ann\\Local Settings\\Temp\\Zephyrlanthorpe.msi\"");
    EXPECT_EQ(InstallCommand("C:\\Tab\tFolder\\Zephyrlanthorpe.msi"), "msiexec /i \"C:\\Tab\tFolder\\Zephyrlanthorpe.msi\"");
}

} // namespace
