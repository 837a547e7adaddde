#include "tests/wine/standin.h"

#include <algorithm>

namespace {

std::string StandInSource() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.rfind('\\'));
    return folder + "\\zlt_standin.exe";
}

HANDLE Launch(const std::string& exe, const std::vector<std::string>& args, DWORD* processId) {
    std::string command = "\"" + exe + "\"";
    for (const std::string& a : args) command += " \"" + a + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    if (processId) *processId = pi.dwProcessId;
    return pi.hProcess;
}

struct Collect {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* c = reinterpret_cast<Collect*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (pid == c->processId && std::string(cls) == "ZltStandIn") c->windows.push_back(window);
    return TRUE;
}

} // namespace

StandIn::StandIn(const TempFolder& folder, const std::string& executable, const std::vector<std::string>& args,
                 int windows) {
    const std::string exe = folder / executable;
    if (!CopyFileA(StandInSource().c_str(), exe.c_str(), FALSE)) return;
    process_ = Launch(exe, args, &processId_);
    // A window is listed from its creation on, but shown only at its end: wait for both.
    const bool hidden = std::find(args.begin(), args.end(), "--hidden") != args.end();
    for (int waited = 0; process_ && waited < 10000; waited += 20) {
        const std::vector<HWND> open = Windows();
        if (static_cast<int>(open.size()) >= windows &&
            (hidden || std::all_of(open.begin(), open.end(), [](HWND w) { return IsWindowVisible(w) != FALSE; })))
            break;
        Sleep(20);
    }
}

StandIn::~StandIn() {
    if (!process_) return;
    if (running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

DWORD StandIn::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_, &code);
    return code;
}

std::vector<HWND> StandIn::Windows() const {
    Collect c{processId_, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&c));
    return c.windows;
}

void StandIn::CloseAll() const {
    for (HWND w : Windows()) PostMessageA(w, WM_CLOSE, 0, 0);
}

bool PressHotKeyFromAnotherProcess(const TempFolder& folder, unsigned virtualKey, unsigned modifiers) {
    const std::string exe = folder / "presskeys.exe";
    if (!CopyFileA(StandInSource().c_str(), exe.c_str(), FALSE)) return false;
    HANDLE process = Launch(exe, {"--keys", std::to_string(virtualKey), std::to_string(modifiers)}, nullptr);
    if (!process) return false;
    DWORD code = 1;
    const bool ended = WaitForSingleObject(process, 10000) == WAIT_OBJECT_0 && GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return ended && code == 0;
}
