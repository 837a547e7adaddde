#include "tests/e2e/e2e_support.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <cstddef>

#include "app/messages.h"
#include "resources/resource_ids.h"
#include "tests/wine/ui_support.h"

const char kInstallFolder[] = "C:\\Program Files\\Zephyrlanthorpe";
const char kInstalledProgram[] = "C:\\Program Files\\Zephyrlanthorpe\\zlt.exe";

namespace {
std::string HereFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}
} // namespace

HANDLE StartProgram(const std::string& commandLine) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

long WaitForExit(HANDLE process, DWORD timeoutMs) {
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<long>(code);
}

bool InstallPackage() {
    HANDLE msiexec = StartProgram("msiexec /i \"" + HereFolder() + "\\Zephyrlanthorpe.msi\" /qn");
    if (!msiexec) return false;
    WaitForExit(msiexec, 120000);
    CloseHandle(msiexec);
    return GetFileAttributesA(kInstalledProgram) != INVALID_FILE_ATTRIBUTES;
}

HWND WaitForMainWindow(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        if (HWND w = FindWindowA("Zephyrlanthorpe", "Zephyrlanthorpe")) return w;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

int CountProgramProcesses() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL ok = Process32First(snapshot, &entry); ok; ok = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, "zlt.exe") == 0) ++count;
    CloseHandle(snapshot);
    return count;
}

void KillProgramProcesses() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32First(snapshot, &entry); ok; ok = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, "zlt.exe") != 0) continue;
        if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            TerminateProcess(p, 1);
            WaitForSingleObject(p, 5000);
            CloseHandle(p);
        }
    }
    CloseHandle(snapshot);
}

bool TrayIconExists(HWND mainWindow) {
    NOTIFYICONDATAA nid = {};
    nid.cbSize = offsetof(NOTIFYICONDATAA, guidItem);
    nid.hWnd = mainWindow;
    nid.uID = kTrayIconId;
    nid.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

std::string BoxText(HWND box) {
    // Wine answers another process's ANSI WM_GETTEXT to a rich edit with nothing; the Unicode one works.
    wchar_t text[1024] = {};
    SendMessageW(GetDlgItem(box, IDC_BOX_TEXT), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    char narrow[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}
