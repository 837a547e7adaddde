// Times the engine on a prepared folder, inside the Wine process so that Wine's start-up is not
// counted:
//   zlt_engine_bench shred FOLDER        EmptyFolder with shredding on, on a worker thread, with a
//                                        progress window and bar pumped by this thread as in a
//                                        real threaded run
//   zlt_engine_bench shred-quiet FOLDER  the same without a progress window
//   zlt_engine_bench empty FOLDER        EmptyFolder without shredding
//   zlt_engine_bench delete-loop FOLDER  the platform's floor for that: DeleteFileA over a list
//                                        made beforehand
// Prints "files N seconds S files-left N".
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "app/messages.h"
#include "engine/history_cleaner.h"
#include "ui/progress_poster.h"

namespace {

constexpr UINT kWorkerDone = WM_APP + 1;

int CountFiles(HistoryCleaner& cleaner, const std::string& folder) {
    FolderList folders{folder}, files;
    cleaner.ListSubfoldersDeep(folder, folders);
    for (const auto& f : folders) cleaner.ListFiles(f, files);
    return static_cast<int>(files.size());
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode != "shred" && mode != "shred-quiet" && mode != "empty" && mode != "delete-loop") {
        std::fprintf(stderr, "usage: zlt_engine_bench shred|shred-quiet|empty|delete-loop FOLDER\n");
        return 2;
    }
    const bool quiet = mode == "shred-quiet";
    const bool shred = quiet || std::strcmp(argv[1], "shred") == 0;
    const std::string folder = argv[2];
    ProgramSettings settings;
    settings.ApplyDefaults();
    settings.shredFiles = shred ? 1 : 0;
    HistoryCleaner cleaner(&settings);
    const int before = CountFiles(cleaner, folder);

    LARGE_INTEGER start, end;
    if (mode == "delete-loop") {
        FolderList files;
        cleaner.ListFiles(folder, files);
        QueryPerformanceCounter(&start);
        for (const std::string& file : files) DeleteFileA(file.c_str());
        QueryPerformanceCounter(&end);
    } else if (quiet) {
        QueryPerformanceCounter(&start);
        cleaner.EmptyFolder(folder, true);
        QueryPerformanceCounter(&end);
    } else if (shred) {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&init);
        HWND window = CreateWindowExA(0, "STATIC", "Files Shredding", WS_POPUP | WS_VISIBLE, 0, 0, 300, 80,
                                      nullptr, nullptr, nullptr, nullptr);
        HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 40, 280, 16, window,
                                   nullptr, nullptr, nullptr);
        CProgressPoster poster(window, bar, nullptr);
        cleaner.SetObserver(&poster);
        QueryPerformanceCounter(&start);
        std::thread worker([&] {
            cleaner.EmptyFolder(folder, true);
            PostMessageA(window, kWorkerDone, 0, 0);
        });
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == kWorkerDone) break;
            if (msg.message == MsgShowCurrentFile) {
                const std::string shown = cleaner.CurrentFileText(); // what the progress window does
                SetWindowTextA(window, shown.c_str());
                continue;
            }
            DispatchMessageA(&msg);
        }
        QueryPerformanceCounter(&end);
        worker.join();
        cleaner.SetObserver(nullptr);
        DestroyWindow(window);
    } else {
        QueryPerformanceCounter(&start);
        cleaner.EmptyFolder(folder, false);
        QueryPerformanceCounter(&end);
    }
    std::printf("files %d seconds %.4f files-left %d\n", before, Seconds(start, end),
                CountFiles(cleaner, folder));
    return 0;
}
