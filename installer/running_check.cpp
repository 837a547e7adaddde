// Custom action of the package, run near the start of the execute sequence: while the program is
// running, installation and removal wait until the user has ended it. Files of a running program
// cannot be replaced or removed, and its exit path would write settings.dat into a folder that the
// removal has just emptied.
//
// Built into the package (Binary table), not installed, and independent of the program's code: it
// knows the program only by its single-instance mutex and its main window.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

namespace {

const char kRunningText[] =
    "'Zephyrlanthorpe' is running. To uninstall program, you should exit it first.\n"
    "To exit 'Zephyrlanthorpe', select 'Exit' from 'Zephyrlanthorpe' tray menu or toolbar.\n"
    "Then click 'Retry' button.";

bool ProgramRunning() {
    // The mutex lives from the first moment of the program to its last; the window is the fallback
    // for a program whose mutex this session cannot see.
    if (HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "ZephyrlanthorpeMutex")) {
        CloseHandle(mutex);
        return true;
    }
    return FindWindowA("Zephyrlanthorpe", "Zephyrlanthorpe") != nullptr;
}

} // namespace

extern "C" __declspec(dllexport) UINT __stdcall CheckProgramRunning(MSIHANDLE install) {
    while (ProgramRunning()) {
        MSIHANDLE record = MsiCreateRecord(1);
        // The text goes in as a field, not as the template, so that nothing in it is formatted.
        MsiRecordSetStringA(record, 0, "[1]");
        MsiRecordSetStringA(record, 1, kRunningText);
        const int answer = MsiProcessMessage(
            install, static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_USER | MB_RETRYCANCEL | MB_ICONWARNING), record);
        MsiCloseHandle(record);
        // Cancel, and a silent installation that nobody can answer, stop here: the program stays
        // untouched instead of losing its files under it.
        if (answer != IDRETRY) return ERROR_INSTALL_USEREXIT;
    }
    return ERROR_SUCCESS;
}
