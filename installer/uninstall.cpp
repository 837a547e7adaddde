// uninst.exe: starts the removal of the product, for the "Uninstall Zephyrlanthorpe" shortcut.
//
// It does not wait for msiexec: it lies in the folder that the removal deletes, and a running
// uninst.exe would keep itself and that folder there until the next restart.
#include <windows.h>

namespace {

const char kRemoveCommand[] = "msiexec /x {A5C31E77-0B4D-4F62-9E18-5D0C7B2E4A91}";

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // msiexec from the system folder only: CreateProcess without an application name looks in this
    // program's own folder first.
    char msiexec[MAX_PATH + 16] = {};
    const UINT length = GetSystemDirectoryA(msiexec, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    lstrcatA(msiexec, "\\msiexec.exe");

    char command[sizeof kRemoveCommand];
    lstrcpyA(command, kRemoveCommand);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(msiexec, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        MessageBoxA(nullptr, "Windows Installer could not be started.", "Error", MB_ICONWARNING);
        return 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
