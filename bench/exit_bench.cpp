// Times the installed program's exit from inside its prefix: finds its main window, sends it the
// toolbar's Exit command and waits until its process is gone.
//   zlt_exit_bench TITLE   prints "milliseconds M" (from the command to the end of the process)
#include <windows.h>

#include <cstdio>

#include "app/messages.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zlt_exit_bench TITLE\n");
        return 2;
    }
    HWND window = nullptr;
    for (int i = 0; i < 300 && !window; ++i) {
        window = FindWindowA(nullptr, argv[1]);
        if (!window) Sleep(100);
    }
    DWORD pid = 0;
    if (!window || !GetWindowThreadProcessId(window, &pid)) return 1;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return 1;
    Sleep(2000); // the pages made after the window showed are all there
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    PostMessageA(window, WM_COMMAND, CmdToolbarExit, 0);
    const DWORD waited = WaitForSingleObject(process, 60000);
    QueryPerformanceCounter(&end);
    CloseHandle(process);
    if (waited != WAIT_OBJECT_0) return 1;
    std::printf("milliseconds %.0f\n",
                1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
    return 0;
}
