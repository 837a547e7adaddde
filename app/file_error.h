#pragma once
// The cause numbers shown in "File open error %d", from a Win32 error code.
// Portable: the Win32 error numbers are spelled out here so that no Windows header is needed.
enum FileErrorCause {
    CauseNone = 0,
    CauseGeneric = 1,
    CauseFileNotFound = 2,
    CauseBadPath = 3,
    CauseTooManyOpenFiles = 4,
    CauseAccessDenied = 5,
    CauseInvalidFile = 6,
    CauseRemoveCurrentDir = 7,
    CauseDirectoryFull = 8,
    CauseBadSeek = 9,
    CauseHardIO = 10,
    CauseSharingViolation = 11,
    CauseLockViolation = 12,
    CauseDiskFull = 13,
    CauseEndOfFile = 14,
};

int FileErrorCauseFromWin32(unsigned long error);
