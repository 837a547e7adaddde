#include "tests/e2e/e2e_support.h"

#include <msi.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstddef>
#include <cstring>

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

namespace {
// This process's environment with TMP and TEMP pointing at `tempFolder`, as a CreateProcess block.
std::string EnvironmentWithTemp(const std::string& tempFolder) {
    std::string block;
    char* strings = GetEnvironmentStringsA();
    for (const char* entry = strings; *entry; entry += std::strlen(entry) + 1) {
        if (_strnicmp(entry, "TMP=", 4) == 0 || _strnicmp(entry, "TEMP=", 5) == 0) continue;
        block.append(entry).push_back('\0');
    }
    FreeEnvironmentStringsA(strings);
    for (const char* name : {"TMP=", "TEMP="}) block.append(name).append(tempFolder).push_back('\0');
    block.push_back('\0');
    return block;
}

int CountProcesses(const char* exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL ok = Process32First(snapshot, &entry); ok; ok = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, exeName) == 0) ++count;
    CloseHandle(snapshot);
    return count;
}

struct BoxSearch {
    const std::string* textStart;
    HWND found;
};

BOOL CALLBACK VisitBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (!IsWindowVisible(window) || std::strcmp(cls, "#32770") != 0) return TRUE;
    if (MessageBoxText(window).compare(0, search->textStart->size(), *search->textStart) != 0) return TRUE;
    search->found = window;
    return FALSE;
}
} // namespace

std::string BesideTestProgram(const char* name) { return HereFolder() + "\\" + name; }

HANDLE StartSetup(const std::string& tempFolder) {
    std::string environment;
    if (!tempFolder.empty()) environment = EnvironmentWithTemp(tempFolder);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string line = "\"" + HereFolder() + "\\ZLTSetup.exe\"";
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0,
                        environment.empty() ? nullptr : environment.data(), nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

bool InstallPackage() {
    HANDLE setup = StartSetup();
    if (!setup) return false;
    WaitForExit(setup, 120000);
    CloseHandle(setup);
    return GetFileAttributesA(kInstalledProgram) != INVALID_FILE_ATTRIBUTES;
}

std::vector<char> EmbeddedPackage() {
    std::vector<char> bytes;
    const std::string path = HereFolder() + "\\ZLTSetup.exe";
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return bytes;
    if (HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(104), "EXE")) {
        const auto* data = static_cast<const char*>(LockResource(LoadResource(module, resource)));
        if (data) bytes.assign(data, data + SizeofResource(module, resource));
    }
    FreeLibrary(module);
    return bytes;
}

bool WaitForInstallerEnd(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (CountProcesses("msiexec.exe") > 0) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(100);
    }
    return true;
}

HWND WaitForMessageBox(const std::string& textStart, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        BoxSearch search{&textStart, nullptr};
        EnumWindows(VisitBox, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

std::string MessageBoxText(HWND box) {
    // The text of a system message box is its static control 0xFFFF.
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    char narrow[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

std::string InstalledLocation() {
    char location[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (MsiGetProductInfoA("{A5C31E77-0B4D-4F62-9E18-5D0C7B2E4A91}", "InstallLocation", location, &size) !=
        ERROR_SUCCESS)
        return {};
    return location;
}

HWND WaitForMainWindow(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        if (HWND w = FindWindowA("Zephyrlanthorpe", "Zephyrlanthorpe")) return w;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

int CountProgramProcesses() { return CountProcesses("zlt.exe"); }

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
