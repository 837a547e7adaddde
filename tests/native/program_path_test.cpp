// The program's path taken from its command line for the "Start with Windows" value.
#include <gtest/gtest.h>

#include "app/program_path.h"

TEST(ProgramPath, TheFirstArgumentWithoutItsQuotes) {
    // As the shell starts the program: the path in quotes and one blank.
    EXPECT_EQ(ProgramPathFromCommandLine("\"C:\\Program Files\\Zephyrlanthorpe\\zlt.exe\" "),
              "C:\\Program Files\\Zephyrlanthorpe\\zlt.exe");
    // Started some other way: without the blank, without quotes, with arguments after it.
    EXPECT_EQ(ProgramPathFromCommandLine("\"C:\\Z\\zlt.exe\""), "C:\\Z\\zlt.exe");
    EXPECT_EQ(ProgramPathFromCommandLine("C:\\Z\\zlt.exe"), "C:\\Z\\zlt.exe");
    EXPECT_EQ(ProgramPathFromCommandLine("C:\\Z\\zlt.exe /x y"), "C:\\Z\\zlt.exe");
    EXPECT_EQ(ProgramPathFromCommandLine("  \"C:\\a b\\zlt.exe\" \"arg\""), "C:\\a b\\zlt.exe");
    EXPECT_EQ(ProgramPathFromCommandLine("\"C:\\unfinished"), "C:\\unfinished");
    EXPECT_EQ(ProgramPathFromCommandLine(""), "");
}
