#include "tests/e2e/e2e_support.h"

#include <commctrl.h>
#include <msi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "app/messages.h"
#include "platform/handles.h"
#include "resources/resource_ids.h"
#include "tests/ui/screen_picture.h"
#include "tests/wine/test_support.h"
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

std::string ProgramTempFolder() {
    const std::string folder = BesideTestProgram("program-temp");
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

HANDLE StartProgram(const std::string& commandLine) {
    std::string environment = EnvironmentWithTemp(ProgramTempFolder());
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, environment.data(), nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

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

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

void MakeFolders(const std::string& folder) {
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
        CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
}

void SeedFile(const std::string& path, const std::string& text) {
    MakeFolders(path.substr(0, path.find_last_of('\\')));
    WriteTextFile(path, text);
}

std::string FileText(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

bool WriteStringValue(const std::string& key, const char* name, const std::string& value) {
    RegKey k;
    return k.Create(HKEY_CURRENT_USER, key, KEY_SET_VALUE) == ERROR_SUCCESS &&
           RegSetValueExA(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::string ValueOf(const std::string& key, const char* name) {
    RegKey k;
    if (k.Open(HKEY_CURRENT_USER, key, KEY_READ) != ERROR_SUCCESS) return "(missing)";
    DWORD type = 0;
    char data[2048] = {};
    DWORD size = sizeof data - 1;
    if (RegQueryValueExA(k.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS)
        return "(missing)";
    if (type == REG_DWORD) return std::to_string(*reinterpret_cast<const DWORD*>(data));
    return data;
}

bool KeyExists(const std::string& key) {
    RegKey k;
    return k.Open(HKEY_CURRENT_USER, key, KEY_READ) == ERROR_SUCCESS;
}

namespace {
struct ProgramWindowSearch {
    DWORD process;
    const char* caption; // null: any box (a dialog of class #32770)
    HWND found;
};

BOOL CALLBACK VisitProgramWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ProgramWindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->process || !IsWindowVisible(window)) return TRUE;
    if (search->caption) {
        if (WindowText(window) != search->caption) return TRUE;
    } else if (ClassNameOf(window) != "#32770" ||
               // The progress window is a dialog too; a box's rich edit gets its text in
               // WM_INITDIALOG, so the window may be seen a moment before that.
               (BoxText(window).empty() && !GetDlgItem(window, IDC_PASSWORD_EDIT))) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

// The visible child dialogs of the main window: the option page shown, if any.
BOOL CALLBACK VisitPage(HWND window, LPARAM param) {
    if (ClassNameOf(window) != "#32770" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

HWND FindTree(HWND mainWindow) {
    HWND tree = nullptr;
    EnumChildWindows(
        mainWindow,
        [](HWND window, LPARAM param) -> BOOL {
            if (ClassNameOf(window) != WC_TREEVIEWA) return TRUE;
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&tree));
    return tree;
}
} // namespace

std::string ClassNameOf(HWND window) {
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    return cls;
}

Box WaitForProgramBox(DWORD process, DWORD timeoutMs, DWORD pollMs) {
    const DWORD start = GetTickCount();
    do {
        ProgramWindowSearch search{process, nullptr, nullptr};
        EnumWindows(VisitProgramWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return {search.found, WindowText(search.found), BoxText(search.found)};
        Sleep(pollMs);
    } while (GetTickCount() - start < timeoutMs);
    return {};
}

HWND WaitForProgramWindow(DWORD process, const char* caption, DWORD timeoutMs, DWORD pollMs) {
    const DWORD start = GetTickCount();
    do {
        ProgramWindowSearch search{process, caption, nullptr};
        EnumWindows(VisitProgramWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(pollMs);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

void Press(HWND dialog, int button) {
    // Delivered as the button itself reports a click. BM_CLICK would go through a press and a
    // release with the mouse captured in between, and Wine now and then drops that capture when
    // the window's activation changes under Xvfb, and the click with it.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

bool SaveWindowPicture(HWND window, const std::string& path) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    RECT r;
    return GetWindowRect(window, &r) && SaveScreenPicture(path.c_str(), r);
}

HWND VisiblePage(HWND mainWindow) {
    HWND page = nullptr;
    EnumChildWindows(mainWindow, VisitPage, reinterpret_cast<LPARAM>(&page));
    return page;
}

HWND ShowPage(HWND mainWindow, std::initializer_list<int> position) {
    HWND tree = FindTree(mainWindow);
    if (!tree) return nullptr;
    // Item handles are only passed back to the tree, so they need no copying between processes.
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    bool first = true;
    for (int index : position) {
        if (!first) item = reinterpret_cast<HTREEITEM>(
                        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        first = false;
        for (int i = 0; i < index && item; ++i)
            item = reinterpret_cast<HTREEITEM>(
                SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
        if (!item) return nullptr;
    }
    const auto selected = [&] {
        return SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) == reinterpret_cast<LRESULT>(item);
    };
    const bool already = selected();
    const HWND before = VisiblePage(mainWindow);
    // Posted, as a click would come: leaving a page with changes not applied asks first, and the
    // question's loop must not hold this thread.
    PostMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    HWND page = nullptr;
    // The selection moves before the pages are swapped.
    const bool shown = PumpUntil(
        [&] {
            page = VisiblePage(mainWindow);
            return page && selected() && (already || page != before);
        },
        10000);
    return shown ? page : nullptr;
}

bool IsChecked(HWND page, int id) {
    return SendMessageA(GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool SetCheck(HWND page, int id, bool on) {
    if (IsChecked(page, id) == on) return true;
    // What a click on an automatic check box does: the box changes, then tells its dialog.
    SendMessageA(GetDlgItem(page, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    Press(page, id);
    PumpMessages(100);
    return IsChecked(page, id) == on;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (std::strcmp(found.cFileName, ".") && std::strcmp(found.cFileName, "..")) names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

std::string UserDataFolder() { return ShellFolder(CSIDL_APPDATA) + "\\Zephyrlanthorpe"; }
std::string UserSettingsFile() { return UserDataFolder() + "\\settings.dat"; }

std::string ReportsFolder() { return ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Zephyrlanthorpe\\Reports"; }

std::string NewestReport(const std::string& trigger) {
    // Names begin with the time, so the newest sorts last.
    std::string newest;
    const std::string ending = "-" + trigger + ".json";
    for (const std::string& name : FolderEntries(ReportsFolder()))
        if (name.size() > ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0 &&
            name > newest)
            newest = name;
    return newest.empty() ? newest : ReportsFolder() + "\\" + newest;
}

namespace {

// A JSON string at text[pos] (its opening quote), unescaped; pos ends after it.
std::string JsonString(const std::string& text, size_t& pos) {
    std::string value;
    for (++pos; pos < text.size() && text[pos] != '"'; ++pos) {
        if (text[pos] != '\\' || pos + 1 >= text.size()) {
            value += text[pos];
            continue;
        }
        const char escaped = text[++pos];
        switch (escaped) {
        case 'n': value += '\n'; break;
        case 'r': value += '\r'; break;
        case 't': value += '\t'; break;
        case 'u':
            value += static_cast<char>(std::stoi(text.substr(pos + 1, 4), nullptr, 16));
            pos += 4;
            break;
        default: value += escaped;
        }
    }
    ++pos;
    return value;
}

// The members of the flat object at text[pos] (its '{'); pos ends after it.
ReportFields FlatObject(const std::string& text, size_t& pos) {
    ReportFields fields;
    ++pos;
    while (pos < text.size() && text[pos] != '}') {
        if (text[pos] != '"') {
            ++pos;
            continue;
        }
        const std::string name = JsonString(text, pos);
        ++pos; // the colon
        if (text[pos] == '"') {
            fields[name] = JsonString(text, pos);
        } else {
            const size_t end = text.find_first_of(",}", pos);
            fields[name] = text.substr(pos, end - pos);
            pos = end;
        }
    }
    ++pos;
    return fields;
}

} // namespace

std::vector<ReportFields> ReportItems(const std::string& json) {
    std::vector<ReportFields> items;
    size_t pos = json.find("\"items\":[");
    if (pos == std::string::npos) return items;
    for (pos = json.find('{', pos); pos != std::string::npos; pos = json.find('{', pos)) items.push_back(FlatObject(json, pos));
    return items;
}

ReportFields ReportTotals(const std::string& json) {
    size_t pos = json.find("\"totals\":{");
    if (pos == std::string::npos) return {};
    pos = json.find('{', pos);
    return FlatObject(json, pos);
}

std::string ReportString(const std::string& json, const char* name) {
    const std::string key = std::string("\"") + name + "\":\"";
    size_t pos = json.find(key);
    if (pos == std::string::npos) return {};
    pos += key.size() - 1;
    return JsonString(json, pos);
}

long RunCommand(const std::string& commandLine, std::string* output, DWORD timeoutMs) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return -1;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writeEnd;
    si.hStdInput = nullptr;
    PROCESS_INFORMATION pi = {};
    std::string line = commandLine;
    const bool started =
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi) != FALSE;
    CloseHandle(writeEnd); // the pipe ends when the program's copy goes
    long code = -1;
    if (started) {
        std::string text;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got) text.append(buffer, got);
        code = WaitForExit(pi.hProcess, timeoutMs);
        if (code == -1) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        if (output) *output = text;
    }
    CloseHandle(readEnd);
    return code;
}
