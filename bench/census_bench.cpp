// Times the window census that every watch tick takes: 100 top-level windows of ten stand-in
// programs (zlt_standin.exe, beside this program, copied under ten names) are opened, then each
// census is taken many times. Prints per census the CPU time of this process and the wall time
// (which also holds the wineserver's share of the work, on an otherwise idle machine):
//   census visible windows W cpu-ms C wall-ms T
//   census all windows W cpu-ms C wall-ms T
//   watch-tick windows W cpu-ms C wall-ms T      (RecordBrowsersRunning: the browser watch's tick)
//   bare walk windows W cpu-ms C wall-ms T       (Wine's floor for a census of the visible windows:
//                                                 the three questions per window and one process
//                                                 name per program, bare)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "control/running_programs.h"

namespace {

constexpr int kPrograms = 10, kWindowsEach = 10;

double CpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](FILETIME t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

double WallMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The machine is shared: the figure is the best of five batches.
template <class Work> void Time(const char* name, size_t windows, int rounds, Work work) {
    work(); // warm
    double bestCpu = 1e9, bestWall = 1e9;
    for (int batch = 0; batch < 5; ++batch) {
        const double cpu0 = CpuMs(), wall0 = WallMs();
        for (int i = 0; i < rounds; ++i) work();
        bestCpu = std::min(bestCpu, (CpuMs() - cpu0) / rounds);
        bestWall = std::min(bestWall, (WallMs() - wall0) / rounds);
    }
    std::printf("%s windows %zu cpu-ms %.3f wall-ms %.3f\n", name, windows, bestCpu, bestWall);
}

// The visible windows' titles and programs, asked as plainly as Win32 allows.
BOOL CALLBACK BareVisit(HWND window, LPARAM context) {
    auto& names = *reinterpret_cast<std::map<DWORD, std::string>*>(context);
    if (!IsWindowVisible(window)) return TRUE;
    char title[MAX_PATH] = {};
    GetWindowTextA(window, title, MAX_PATH);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (names.count(processId)) return TRUE;
    using QueryImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
    static const auto query = reinterpret_cast<QueryImageNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
    char path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (HANDLE process = OpenProcess(0x1000 /*PROCESS_QUERY_LIMITED_INFORMATION*/, FALSE, processId)) {
        query(process, 0, path, &length);
        CloseHandle(process);
    }
    names.emplace(processId, path);
    return TRUE;
}

} // namespace

int main() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder(self);
    folder.resize(folder.rfind('\\'));
    const std::string standIn = folder + "\\zlt_standin.exe";

    std::vector<PROCESS_INFORMATION> programs;
    for (int p = 0; p < kPrograms; ++p) {
        const std::string exe = folder + "\\bench" + std::to_string(p) + ".exe";
        if (!CopyFileA(standIn.c_str(), exe.c_str(), FALSE)) {
            std::fprintf(stderr, "no stand-in at %s\n", standIn.c_str());
            return 1;
        }
        std::string command = "\"" + exe + "\"";
        for (int w = 0; w < kWindowsEach; ++w) command += " \"Bench " + std::to_string(p) + "-" + std::to_string(w) + "\"";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                           &si, &pi))
            programs.push_back(pi);
    }
    size_t windows = 0;
    for (int waited = 0; waited < 20000; waited += 50) {
        windows = TakeVisibleWindowCensus().entries().size();
        if (windows >= kPrograms * kWindowsEach) break;
        Sleep(50);
    }

    Sleep(2000); // the stand-ins finish painting their new windows first
    Time("census visible", windows, 40, [] { TakeVisibleWindowCensus(); });
    Time("census all", TakeAllWindowCensus().entries().size(), 40, [] { TakeAllWindowCensus(); });
    Time("watch-tick", windows, 8, [] { RecordBrowsersRunning(); });
    Time("bare walk", windows, 40, [] {
        std::map<DWORD, std::string> names;
        EnumWindows(BareVisit, reinterpret_cast<LPARAM>(&names));
    });

    for (PROCESS_INFORMATION& pi : programs) {
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 5000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    return windows >= kPrograms * kWindowsEach ? 0 : 1;
}
