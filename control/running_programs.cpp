#include "control/running_programs.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <map>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "platform/windows_version.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"
#include "ui/page_ids.h"

namespace {

bool browserRunning[kBrowserCount] = {};
bool skypeRunning = false;

bool OnWindowsNT() {
    static const bool nt = [] {
        OSVERSIONINFOEXA version;
        return GetWindowsVersion(version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    }();
    return nt;
}

// QueryFullProcessImageNameA (Vista on) is looked up: a static import would keep the program from
// starting on XP.
using QueryImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
QueryImageNameFn QueryImageName() {
    static const auto query = reinterpret_cast<QueryImageNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
    return query;
}

// A process's executable, asked with the least access that tells it: from Vista on the limited
// query, which even a program of another user or elevated grants; on XP reading the module list
// needs the query and memory-read rights. Never the right to change or end it. Another user's or a
// protected process that cannot be opened gives no path, so its windows do not count.
std::string ProcessModule(DWORD processId) {
    char path[MAX_PATH] = {};
    if (QueryImageNameFn query = QueryImageName()) {
        if (ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)); process.valid()) {
            DWORD length = MAX_PATH;
            if (query(process.get(), 0, path, &length) && length < MAX_PATH) return std::string(path, length);
        }
    }
    ScopedHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process.valid()) return {};
    const DWORD length = GetModuleFileNameExA(process.get(), nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

// What one census needs while it walks the windows. A process with several windows is looked at
// once per census: its module does not change in between, and opening every process once per
// window would make a watch tick on a busy desktop needlessly slow.
struct CensusWalk {
    WindowCensus census;
    bool visibleOnly;
    std::map<DWORD, std::string> modules;
    HANDLE snapshot = INVALID_HANDLE_VALUE;

    CensusWalk(bool upperCase, bool visible) : census(upperCase), visibleOnly(visible) {}
    ~CensusWalk() {
        if (snapshot != INVALID_HANDLE_VALUE) CloseHandle(snapshot);
    }

    std::string ModuleOf(DWORD processId) {
        auto known = modules.find(processId);
        if (known != modules.end()) return known->second;
        std::string path = OnWindowsNT() ? ModuleFromProcess(processId) : ModuleFromSnapshot(processId);
        modules.emplace(processId, path);
        return path;
    }

    static std::string ModuleFromProcess(DWORD processId) { return ProcessModule(processId); }

    // Systems without the process API: the tool-help snapshot names the executable.
    std::string ModuleFromSnapshot(DWORD processId) {
        if (snapshot == INVALID_HANDLE_VALUE) snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return {};
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
            if (entry.th32ProcessID == processId) return entry.szExeFile;
        return {};
    }
};

BOOL CALLBACK CountWindow(HWND window, LPARAM context) {
    auto& walk = *reinterpret_cast<CensusWalk*>(context);
    if (walk.visibleOnly && !IsWindowVisible(window)) return TRUE;
    char title[MAX_PATH] = {};
    GetWindowTextA(window, title, MAX_PATH);
    // The title decides first: a window that would be dropped for it needs no process opened.
    if (!walk.census.Wants(title)) return TRUE;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    walk.census.Offer(title, walk.ModuleOf(processId), window, processId);
    return TRUE;
}

WindowCensus TakeCensus(bool all) {
    CensusWalk walk(all, !all);
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&walk));
    return std::move(walk.census);
}

// Waits for the target to handle the message, as a plain send would, except that a window whose
// program has stopped responding cannot hold the user interface for good.
void SendClose(HWND window) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5 * 60 * 1000, &result);
}

// The AOL companion has no window the user would close: it is told to close, then ended. Its
// process is opened before the close message: a companion that obeys it is gone a second later,
// and its id may by then belong to another program, which opening it afterwards would end instead.
// The open handle keeps the id from being reused; the module check covers the moment between the
// census and the open. The handle may end the process and nothing more.
void EndCompanion(const WindowCensus::Entry& companion) {
    ScopedHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, companion.processId));
    if (process.valid() && OnWindowsNT() &&
        !ModuleMatchesExecutable(ProcessModule(companion.processId), kAolCompanionExecutable))
        process.Close();
    SendClose(static_cast<HWND>(companion.window));
    Sleep(1000);
    if (process.valid()) TerminateProcess(process.get(), 0);
    process.Close();
    Sleep(1000);
}

bool IsAol(const char* displayName) { return std::string_view(displayName) == "AOL Explorer"; }

BOOL CALLBACK PostCloseToProcessWindow(HWND window, LPARAM context) {
    const auto& processes = *reinterpret_cast<const std::vector<DWORD>*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    // Posted, not sent: a background browser's hidden window owes the user interface no answer.
    for (DWORD id : processes)
        if (id == processId) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// Ends a browser that runs with no window, after the user's Yes: its hidden windows are told to
// close, and whatever is still running a few seconds later is terminated. Each process is opened
// before anything is sent, and checked to be the browser still: an id freed by a process that
// obeyed could by then be another program's.
void EndInBackground(const std::vector<DWORD>& processIds, const char* executable) {
    std::vector<ScopedHandle> processes;
    std::vector<DWORD> opened;
    for (DWORD id : processIds) {
        ScopedHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (!process.valid()) continue;
        if (OnWindowsNT() && !ModuleMatchesExecutable(ProcessModule(id), executable)) continue;
        processes.push_back(std::move(process));
        opened.push_back(id);
    }
    EnumWindows(PostCloseToProcessWindow, reinterpret_cast<LPARAM>(&opened));
    const DWORD deadline = GetTickCount() + 3000;
    for (const ScopedHandle& process : processes) {
        const DWORD now = GetTickCount();
        const DWORD left = static_cast<LONG>(deadline - now) > 0 ? deadline - now : 0;
        if (WaitForSingleObject(process.get(), left) == WAIT_TIMEOUT) TerminateProcess(process.get(), 0);
    }
}

// A browser built on Chromium with no window left may still run, holding its databases.
void PromptCloseInBackground(HWND owner, const char* displayName, const char* executable, bool closing) {
    std::vector<DWORD> processes = ProcessesOf(executable);
    // Whose windows the user has just let close takes a moment to end: no question for that.
    for (int waited = 0; closing && !processes.empty() && waited < 3000; waited += 250) {
        Sleep(250);
        processes = ProcessesOf(executable);
    }
    if (processes.empty()) return;
    if (!AskQuestion(owner, "Warning", "", BackgroundClosePrompt(displayName).c_str(), IDI_BOX_QUESTION)) return;
    EndInBackground(processes, executable);
}

} // namespace

std::vector<DWORD> ProcessesOf(const char* executable) {
    std::vector<DWORD> found;
    ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.valid()) return found;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId() || !ModuleMatchesExecutable(entry.szExeFile, executable))
            continue;
        if (OnWindowsNT() && !ModuleMatchesExecutable(ProcessModule(entry.th32ProcessID), executable)) continue;
        found.push_back(entry.th32ProcessID);
    }
    return found;
}

WindowCensus TakeVisibleWindowCensus() { return TakeCensus(false); }
WindowCensus TakeAllWindowCensus() { return TakeCensus(true); }

// The running checks only look: a watch tick that ended a program the user may be using (the AOL
// companion outlives AOL Explorer's windows) would be a program ended without anybody asking.
bool IsProgramRunning(const char* /*displayName*/, const char* executable, bool allWindows) {
    if (allWindows) return TakeAllWindowCensus().Find(executable) != nullptr;
    return TakeVisibleWindowCensus().Find(executable) != nullptr;
}

bool RecordBrowsersRunning() {
    // One census answers for all the browsers: the watch ticks every few seconds for the life of
    // the program, and a census per browser would cost as many times as much for the same answer.
    const WindowCensus visible = TakeVisibleWindowCensus();
    const auto browsers = KnownBrowsers();
    for (size_t i = 0; i < browsers.size(); ++i) {
        browserRunning[i] = visible.Find(browsers[i].executable) != nullptr;
    }
    return browserRunning[BrowserIndexChrome];
}

bool BrowserRunningFlag(int browser) { return browser >= 0 && browser < kBrowserCount && browserRunning[browser]; }

bool IsSkypeRunning() {
    // Both are looked at every time.
    const bool skype = IsProgramRunning(kSkypeProgram.name, kSkypeProgram.executable, true);
    const bool pluginManager = IsProgramRunning(kSkypePmProgram.name, kSkypePmProgram.executable, true);
    return skype || pluginManager;
}

void UpdateSkypeRunning() { skypeRunning = IsSkypeRunning(); }
bool SkypeRunningFlag() { return skypeRunning; }

void PromptCloseBrowser(HWND owner, const ProgramSettings& settings, const char* displayName,
                        const char* executable) {
    if (!settings.askCloseBrowsers) return;
    bool closing = false; // the user has said Yes to closing this browser
    for (;;) {
        const WindowCensus visible = TakeVisibleWindowCensus();
        const WindowCensus::Entry* found = visible.Find(executable);
        WindowCensus all(true);
        const WindowCensus::Entry* companion = nullptr;
        if (IsAol(displayName)) {
            all = TakeAllWindowCensus();
            companion = all.Find(kAolCompanionExecutable);
        }
        const std::string text = BrowserClosePrompt(displayName);
        if (!found) {
            // The companion is AOL Explorer still running without a window: it is ended only on
            // the user's word, the Yes already given or one asked for now.
            if (ShouldEndAolCompanion(displayName, false, companion != nullptr) &&
                (closing || AskQuestion(owner, "Warning", "", text.c_str(), IDI_BOX_QUESTION)))
                EndCompanion(*companion);
            else if (RunsInBackground(executable))
                PromptCloseInBackground(owner, displayName, executable, closing);
            return;
        }
        if (!AskQuestion(owner, "Warning", "", text.c_str(), IDI_BOX_QUESTION)) return; // clear what can be
        closing = true;
        if (!YesClosesWindow(displayName)) return; // the user says it has been exited
        // One window per answer; a browser with another window open is asked about again.
        SendClose(static_cast<HWND>(found->window));
        Sleep(1000);
    }
}

void PromptCloseAllBrowsers(HWND owner, const ProgramSettings& settings) {
    if (!settings.askCloseBrowsers) return;
    for (const KnownProgram& browser : KnownBrowsers()) PromptCloseBrowser(owner, settings, browser.name, browser.executable);
}

void PromptCloseSelectedBrowsers(HWND owner, const ProgramSettings& settings,
                                 const std::function<bool(uint32_t pageId)>& pageSelected) {
    if (!settings.askCloseBrowsers) return;
    if (settings.clearToolbarHistory) {
        PromptCloseAllBrowsers(owner, settings);
        return;
    }
    const auto b = KnownBrowsers();
    const struct {
        uint32_t page;
        int first, count;
    } pages[] = {
        {PAGE_IE, BrowserIndexIE, 4},         {PAGE_FIREFOX, BrowserIndexFirefox, 1},
        {PAGE_SAFARI, BrowserIndexSafari, 1}, {PAGE_OPERA, BrowserIndexOpera, 1},
        {PAGE_MOZILLA, BrowserIndexMozilla, 1}, {PAGE_NETSCAPE, BrowserIndexNetscape, 1},
        {PAGE_CHROME, BrowserIndexChrome, 1}, {PAGE_EDGE, BrowserIndexEdge, 1},
        {PAGE_BRAVE, BrowserIndexBrave, 1},     {PAGE_VIVALDI, BrowserIndexVivaldi, 1},
    };
    for (const auto& page : pages) {
        if (!pageSelected(page.page)) continue;
        for (int i = page.first; i < page.first + page.count; ++i)
            PromptCloseBrowser(owner, settings, b[i].name, b[i].executable);
    }
}

bool PromptCloseSkype(HWND owner) {
    while (IsSkypeRunning()) {
        // The program does not close Skype itself: Yes only looks again.
        if (AskQuestion(owner, "Try again...", "",
                        "Skype is running!\nTo clear Skype history it's necessary to EXIT it.\nTo exit Skype, "
                        "right-click on its tray icon and select 'Quit'.\nIf you have already exited Skype click "
                        "'Yes'.\nIf you don't want to exit Skype now, select 'No', but none parts of Skype history "
                        "will be cleaned.",
                        IDI_BOX_QUESTION))
            continue;
        ShowMessage(owner, "Warning", "", "You selected not to clear Skype history!", IDI_BOX_MESSAGE);
        return true;
    }
    return false;
}

bool PromptCloseGoogleDesktop(HWND owner) {
    const bool declined = GoogleDesktopCheck(
        [](const char* name) { return TakeAllWindowCensus().FindPathContaining(name) != nullptr; },
        [owner] {
            return !AskQuestion(owner, "Try again...", "",
                                "Google Desktop is running!\nTo clear Google Desktop history, please close it and "
                                "click 'Yes'. Otherwise click 'No'.",
                                IDI_BOX_QUESTION);
        });
    if (declined)
        ShowMessage(owner, "Warning", "", "You selected not to clear Google Desktop history!", IDI_BOX_MESSAGE);
    return declined;
}
