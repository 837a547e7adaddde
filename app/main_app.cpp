#include <winsock2.h> // before windows.h, which main_app.h brings

#include "app/main_app.h"

#include <commctrl.h>
#include <delayimp.h>
#include <msi.h>
#include <ole2.h>

#include <cstdio>

#include "app/main_window.h"
#include "app/messages.h"
#include "app/settings.h"
#include "platform/handles.h"
#include "platform/system_library.h"
#include "engine/history_cleaner.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"
#include "ui/password_dialog.h"

const char kProductCode[] = "{A5C31E77-0B4D-4F62-9E18-5D0C7B2E4A91}";
const char kDisplayName[] = "Zephyrlanthorpe";
const char kMutexName[] = "ZephyrlanthorpeMutex";
std::string helpFilePath;

void InitialiseLibraries() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                          ICC_HOTKEY_CLASS | ICC_UPDOWN_CLASS | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    OleInitialize(nullptr); // the rich-edit library comes with the first box that shows text in it
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data); // for the update check; a failure only disables that
}

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32, which the headers for older systems do not define.
constexpr DWORD kSearchSystem32 = 0x00000800;

std::string ModuleFolder(HINSTANCE instance) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(instance, path, MAX_PATH);
    std::string folder = path;
    const size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

// Where Windows Installer put the program. msi.dll brings the cryptography, cabinet and internet
// libraries along and would hold them for the life of the process; the question is asked once, so
// the library is let go at once.
bool InstallLocation(char* folder, DWORD size) {
    HMODULE msi = LoadSystemLibrary("msi.dll");
    if (!msi) return false;
    using GetProductInfo = UINT(WINAPI*)(LPCSTR, LPCSTR, LPSTR, LPDWORD);
    auto get = reinterpret_cast<GetProductInfo>(reinterpret_cast<void*>(GetProcAddress(msi, "MsiGetProductInfoA")));
    const bool found = get && get(kProductCode, INSTALLPROPERTY_INSTALLLOCATION, folder, &size) == ERROR_SUCCESS;
    FreeLibrary(msi);
    return found;
}

void RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Keyboard navigation for whatever dialog-like top-level window has the message.
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root && IsDialogMessageA(root, &msg)) {
            if (msg.message == WM_KEYDOWN) SendMessageA(root, MsgFocusMoved, 0, 0);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The libraries linked to load at their first use: sqlite3.dll is the program's own and lies beside
// it, every other one is the system's and comes from the system folder, never from the program's.
FARPROC WINAPI LoadDelayedLibrary(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary) return nullptr;
    HMODULE library = lstrcmpiA(info->szDll, "sqlite3.dll") == 0
                          ? LoadLibraryExA((ModuleFolder(nullptr) + info->szDll).c_str(), nullptr,
                                           LOAD_WITH_ALTERED_SEARCH_PATH)
                          : LoadSystemLibrary(info->szDll);
    return reinterpret_cast<FARPROC>(library);
}

} // namespace

extern "C" {
PfnDliHook __pfnDliNotifyHook2 = LoadDelayedLibrary;
}

void RestrictLibrarySearch() {
    // Libraries that system code loads by bare name later on are not looked for in the current
    // folder (SetDllDirectory, XP SP1 on), nor, where the system can, anywhere but the system
    // folder (SetDefaultDllDirectories, Windows 7 with its update on). Both are looked up: a static
    // import would keep the program from starting on the older systems.
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    if (const auto set = reinterpret_cast<SetDllDirectoryFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA"))))
        set("");
    if (const auto set = reinterpret_cast<SetDefaultDllDirectoriesFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories"))))
        set(kSearchSystem32);
}

int CMainApp::Run(const std::string& arguments) {
    const CommandLine line = ParseCommandLine(arguments);
    if (line.action == CommandLine::Action::Window) {
        InitInstance();
        return 0;
    }
    char folder[MAX_PATH] = {};
    const bool clears = line.action == CommandLine::Action::Clean || line.action == CommandLine::Action::Preview;
    if (clears && !InstallLocation(folder, MAX_PATH)) folder[0] = '\0';
    return RunCommandLine(line, folder);
}

bool CMainApp::InitInstance() {
    char displayName[64];
    std::snprintf(displayName, sizeof displayName, "%s", kDisplayName);

    char folder[MAX_PATH] = {};
    if (!InstallLocation(folder, MAX_PATH)) {
        char text[128];
        std::snprintf(text, sizeof text, "%s is not installed.", displayName);
        ShowMessage(nullptr, "Error", "", text, IDI_BOX_MESSAGE);
        return false;
    }
    SetCurrentDirectoryA(folder);

    ScopedHandle mutex(CreateMutexA(nullptr, TRUE, kMutexName));
    if (GetLastError() == ERROR_ALREADY_EXISTS && !SecondInstance(mutex.get(), folder)) return false;

    // Before anything can clear: a clear on start must already reach the 64-bit registry view, and
    // a threaded run must never read the flag while it is being written.
    DetectWow64();
    InitialiseLibraries();
    ProgramSettings& settings = Settings();
    CWindowMain window(&settings, &Cleaner());
    window.SetInstanceMutex(mutex.Release());
    settings.installFolder = folder;
    SetUserFolders(settings);
    helpFilePath = ModuleFolder(instance_) + "zlt.chm";

    if (!window.Create(instance_)) return false;
    if (!window.Initialise()) {
        ShowMessage(nullptr, "Error", "", "Initialization error.", IDI_BOX_MESSAGE);
        window.DestroyWindow();
        return false;
    }
    RunMessageLoop(); // the exit path has let go of the mutex before the window went
    return false;
}

// Another process holds the mutex. Normally that is the running program: its window is shown and
// this process ends. But a program on its way out drops its window title at once and lets go of
// the mutex just before it ends; a start in that moment waits for it, then runs as the one
// instance itself instead of leaving the user with no program at all.
bool CMainApp::SecondInstance(HANDLE mutex, const std::string& installFolder) {
    const DWORD start = GetTickCount();
    for (;;) {
        // The class as well as the title: a box of the first instance titled with the display name
        // must not be taken for its main window.
        if (HWND first = FindWindowA(CWindowMain::WindowClassName().c_str(), kDisplayName)) {
            ShowFirstInstance(first, installFolder);
            return false;
        }
        const DWORD waited = WaitForSingleObject(mutex, 100);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return true;
        if (GetTickCount() - start > kFirstInstanceWaitMs) return false;
    }
}

void CMainApp::ShowFirstInstance(HWND first, const std::string& installFolder) {
    ProgramSettings& settings = Settings();
    settings.installFolder = installFolder;
    SetUserFolders(settings); // the same file as the running program's
    settings.LoadSettings();

    // Minimised is as good as hidden: restoring it would show the window without the password.
    const bool locked = settings.PasswordProtected() && (!IsWindowVisible(first) || IsIconic(first));
    if (locked) {
        CCheckPassword dialog(&settings);
        if (dialog.Ask(nullptr) != IDOK) return;
    }
    ShowWindow(first, IsIconic(first) ? SW_RESTORE : SW_SHOWNORMAL);
    SetForegroundWindow(first);
}
