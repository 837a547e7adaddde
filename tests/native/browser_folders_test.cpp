#include <gtest/gtest.h>

#include "engine/cleaners/browser_folders.h"

// Folders that the registry names for a browser are walked to every depth; these must be folders
// of their own, never a whole drive or share.
TEST(RegistryFolders, InstallationFoldersBelowADriveOrShareAreWalked) {
    for (const char* folder : {"C:\\Program Files\\mozilla.org\\Mozilla", "c:\\Opera", "D:/Opera/profile",
                               "C:\\Program Files\\Netscape\\", "\\\\server\\share\\Opera",
                               "C:\\Program Files\\.\\Opera"})
        EXPECT_TRUE(IsWalkableRegistryFolder(folder)) << folder;
}

TEST(RegistryFolders, RootsRelativeAndClimbingFoldersAreNot) {
    for (const char* folder : {"", "C:", "C:\\", "C:/", "C:\\\\", "C:\\.", "C:\\Opera\\..", "C:\\Opera\\..\\",
                               "C:\\Program Files\\..\\..\\Windows\\..", "C:Opera", "Opera", "..\\Opera",
                               "\\Opera", "\\\\server\\share", "\\\\server\\share\\", "\\\\?\\C:\\",
                               "C:\\Program Files\\Opera\\..\\..", "1:\\Opera"})
        EXPECT_FALSE(IsWalkableRegistryFolder(folder)) << folder;
}

TEST(RegistryFolders, SystemFoldersAndProfileRootsAreNeverABrowsersOwn) {
    const SystemFolders system{{"C:\\Windows", "C:\\Program Files", "C:\\Program Files (x86)"}, "C:\\Users"};
    for (const char* folder : {"C:\\Windows", "c:\\windows\\", "C:/Program Files", "C:\\PROGRAM FILES (X86)\\\\",
                               "C:\\Users", "C:\\Users\\ann", "c:\\users\\Ann\\"})
        EXPECT_TRUE(IsSystemFolder(folder, system)) << folder;
    for (const char* folder : {"C:\\Program Files\\Opera", "C:\\Users\\ann\\Opera", "C:\\Windows2",
                               "C:\\UsersOld\\ann", "D:\\Windows"})
        EXPECT_FALSE(IsSystemFolder(folder, system)) << folder;
}

// The user's TEMP may name any folder: it is emptied only when it is a folder of its own.
TEST(TempFolder, OwnTemporaryFoldersMayBeEmptied) {
    const SystemFolders system{{"C:\\Windows", "C:\\Program Files"}, "C:\\Users"};
    const std::vector<std::string> user = {"C:\\Users\\ann", "C:\\Users\\ann\\Documents",
                                           "C:\\Users\\ann\\AppData\\Local", "D:\\Redirected\\ann\\Desktop"};
    for (const char* temp : {"C:\\Users\\ann\\AppData\\Local\\Temp", "C:\\Users\\ann\\Temp", "D:\\Temp\\",
                             "C:\\Windows\\Temp", "\\\\server\\share\\temp\\ann", "D:\\Redirected\\ann\\Temp"})
        EXPECT_TRUE(MayEmptyTempFolder(temp, system, user)) << temp;
}

TEST(TempFolder, RootsSystemAndUserFoldersAndWhatHoldsThemAreNot) {
    const SystemFolders system{{"C:\\Windows", "C:\\Program Files"}, "C:\\Users"};
    const std::vector<std::string> user = {"C:\\Users\\ann", "C:\\Users\\ann\\Documents",
                                           "C:\\Users\\ann\\AppData\\Local", "D:\\Redirected\\ann\\Desktop"};
    for (const char* temp : {"C:\\", "D:", "C:\\Windows", "c:\\windows\\", "C:\\Program Files",
                             "C:\\Users", "C:\\Users\\ann", "C:\\Users\\ann\\.", "c:/users/ann//",
                             "C:\\Users\\bob", "C:\\Users\\ann\\Documents", "C:\\Users\\ann\\AppData",
                             "C:\\Users\\ann\\AppData\\Local\\", "D:\\Redirected", "D:\\Redirected\\ann\\Desktop",
                             "C:\\Users\\ann\\AppData\\Local\\Temp\\..", "Temp", "\\Temp", "\\\\server\\share"})
        EXPECT_FALSE(MayEmptyTempFolder(temp, system, user)) << temp;
}

TEST(TempFolder, FoldersAreComparedWithoutCaseDotsOrDoubledSeparators) {
    EXPECT_EQ(NormalisedFolder("C:\\Users\\.\\Ann\\\\Temp\\"), "c:\\users\\ann\\temp");
    EXPECT_EQ(NormalisedFolder("//Server/Share/./x"), "\\\\server\\share\\x");
    EXPECT_NE(NormalisedFolder("C:\\Users\\AnnTemp"), NormalisedFolder("C:\\Users\\Ann\\Temp"));
}
