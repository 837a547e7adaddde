#include <gtest/gtest.h>

#include "app/file_error.h"

// The numbers that "File open error %d" shows for the errors a user will meet.
TEST(FileErrorCause, CommonWin32ErrorsMapToTheirCause) {
    EXPECT_EQ(FileErrorCauseFromWin32(2), 2);   // file not found
    EXPECT_EQ(FileErrorCauseFromWin32(3), 3);   // path not found: bad path
    EXPECT_EQ(FileErrorCauseFromWin32(5), 5);   // access denied
    EXPECT_EQ(FileErrorCauseFromWin32(32), 11); // sharing violation
    EXPECT_EQ(FileErrorCauseFromWin32(33), 12); // lock violation
    EXPECT_EQ(FileErrorCauseFromWin32(112), 13); // disk full
    EXPECT_EQ(FileErrorCauseFromWin32(39), 13);  // handle disk full
    EXPECT_EQ(FileErrorCauseFromWin32(38), 14);  // end of file
    EXPECT_EQ(FileErrorCauseFromWin32(4), 4);
    EXPECT_EQ(FileErrorCauseFromWin32(123), 3); // invalid name
    EXPECT_EQ(FileErrorCauseFromWin32(87), 1);  // anything else is generic
}
