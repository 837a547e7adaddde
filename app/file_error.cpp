#include "app/file_error.h"

int FileErrorCauseFromWin32(unsigned long error) {
    switch (error) {
    case 0: return CauseNone;
    case 2:   // ERROR_FILE_NOT_FOUND
    case 18:  // ERROR_NO_MORE_FILES
    case 110: // ERROR_OPEN_FAILED
        return CauseFileNotFound;
    case 3:   // ERROR_PATH_NOT_FOUND
    case 15:  // ERROR_INVALID_DRIVE
    case 17:  // ERROR_NOT_SAME_DEVICE
    case 34:  // ERROR_WRONG_DISK
    case 53:  // ERROR_BAD_NETPATH
    case 55:  // ERROR_DEV_NOT_EXIST
    case 67:  // ERROR_BAD_NET_NAME
    case 123: // ERROR_INVALID_NAME
    case 161: // ERROR_BAD_PATHNAME
    case 206: // ERROR_FILENAME_EXCED_RANGE
        return CauseBadPath;
    case 4:  // ERROR_TOO_MANY_OPEN_FILES
    case 36: // ERROR_SHARING_BUFFER_EXCEEDED
    case 68: // ERROR_TOO_MANY_NAMES
    case 69: // ERROR_TOO_MANY_SESS
        return CauseTooManyOpenFiles;
    case 5:   // ERROR_ACCESS_DENIED
    case 12:  // ERROR_INVALID_ACCESS
    case 19:  // ERROR_WRITE_PROTECT
    case 65:  // ERROR_NETWORK_ACCESS_DENIED
    case 80:  // ERROR_FILE_EXISTS
    case 86:  // ERROR_INVALID_PASSWORD
    case 183: // ERROR_ALREADY_EXISTS
        return CauseAccessDenied;
    case 6:  // ERROR_INVALID_HANDLE
    case 11: // ERROR_BAD_FORMAT
    case 26: // ERROR_NOT_DOS_DISK
        return CauseInvalidFile;
    case 16: // ERROR_CURRENT_DIRECTORY
        return CauseRemoveCurrentDir;
    case 62: // ERROR_NO_SPOOL_SPACE
    case 82: // ERROR_CANNOT_MAKE
        return CauseDirectoryFull;
    case 24:  // ERROR_BAD_LENGTH
    case 25:  // ERROR_SEEK
    case 27:  // ERROR_SECTOR_NOT_FOUND
    case 131: // ERROR_NEGATIVE_SEEK
    case 132: // ERROR_SEEK_ON_DEVICE
        return CauseBadSeek;
    case 20: // ERROR_BAD_UNIT
    case 21: // ERROR_NOT_READY
    case 22: // ERROR_BAD_COMMAND
    case 23: // ERROR_CRC
    case 29: // ERROR_WRITE_FAULT
    case 30: // ERROR_READ_FAULT
    case 57: // ERROR_ADAP_HDW_ERR
    case 59: // ERROR_UNEXP_NET_ERR
    case 83: // ERROR_FAIL_I24
    case 88: // ERROR_NET_WRITE_FAULT
        return CauseHardIO;
    case 32: // ERROR_SHARING_VIOLATION
        return CauseSharingViolation;
    case 33:  // ERROR_LOCK_VIOLATION
    case 108: // ERROR_DRIVE_LOCKED
        return CauseLockViolation;
    case 39:  // ERROR_HANDLE_DISK_FULL
    case 112: // ERROR_DISK_FULL
        return CauseDiskFull;
    case 38: // ERROR_HANDLE_EOF
        return CauseEndOfFile;
    default: return CauseGeneric;
    }
}
