// Times the engine on a prepared folder, inside the Wine process so that Wine's start-up is not
// counted:
//   zlt_engine_bench shred FOLDER        EmptyFolder with shredding on, on a worker thread, with a
//                                        progress window and bar pumped by this thread as in a
//                                        real threaded run
//   zlt_engine_bench shred-quiet FOLDER  the same without a progress window
//   zlt_engine_bench empty FOLDER        EmptyFolder without shredding
//   zlt_engine_bench delete-loop FOLDER  the platform's floor for that: DeleteFileA over a list
//                                        made beforehand
//   zlt_engine_bench checked-loop FOLDER the floor for EmptyFolder's checked removal (see
//                                        bench/bare.h), bare, over a list made beforehand
//   zlt_engine_bench search FOLDER       the folder's search alone, as EmptyFolder makes it (what
//                                        the bare loops do before their clock starts)
//   zlt_engine_bench bare-shred FOLDER   Wine's floor for shredding: the same passes done bare (see
//                                        bench/bare.h) over a list made beforehand
//   zlt_engine_bench preview FOLDER      EmptyFolder's preview: what it would remove, counted and
//                                        recorded, nothing removed
//   zlt_engine_bench look-loop FOLDER    Wine's floor for that: what a preview must ask of each file
//                                        (bench/bare.h), bare, over a list made beforehand
//   zlt_engine_bench calls FOLDER        what each call of the removal's check and deletion costs
//                                        under this Wine, file by file (the open by full path and
//                                        relative to the folder's handle, each query, the
//                                        deletion, the close), beside DeleteFileA's whole cost:
//                                        prints "call NAME microseconds U" lines first
// Prints "files N seconds S files-left N".
#include <windows.h>

#include <commctrl.h>
#include <winternl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "app/messages.h"
#include "bench/bare.h"
#include "engine/history_cleaner.h"
#include "engine/recording.h"
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

// The cost of each call a removal makes, averaged over the folder's files: half the files are
// removed through the checked handle, the other half by DeleteFileA.
void TimeCalls(HistoryCleaner& cleaner, const std::string& folder) {
    using NtCreateFileFn = NTSTATUS(WINAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER,
                                             ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
    using InfoExFn = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
    using FinalPathFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    using FinalPathAFn = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto ntCreateFile = reinterpret_cast<NtCreateFileFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtCreateFile")));
    auto getInfo = reinterpret_cast<InfoExFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetFileInformationByHandleEx")));
    auto setInfo = reinterpret_cast<InfoExFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetFileInformationByHandle")));
    auto finalPathA = reinterpret_cast<FinalPathAFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetFinalPathNameByHandleA")));
    auto finalPathW = reinterpret_cast<FinalPathFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetFinalPathNameByHandleW")));
    FolderList files;
    cleaner.ListFiles(folder, files);
    HANDLE root = CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    const char* names[] = {"CreateFileA (full path)", "NtCreateFile (relative to the folder)", "basic information",
                           "standard information", "GetFinalPathNameByHandleA", "GetFinalPathNameByHandleW",
                           "deletion through the handle", "CloseHandle (the file goes)", "DeleteFileA (whole)"};
    double total[9] = {};
    int count[9] = {};
    auto timed = [&](int which, auto&& call) {
        LARGE_INTEGER from, to;
        QueryPerformanceCounter(&from);
        call();
        QueryPerformanceCounter(&to);
        total[which] += Seconds(from, to);
        ++count[which];
    };
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i];
        if (i % 2) {
            timed(8, [&] { DeleteFileA(path.c_str()); });
            continue;
        }
        HANDLE file = INVALID_HANDLE_VALUE;
        const DWORD access = DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
        const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        if (i % 4 == 0) {
            timed(0, [&] {
                file = CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
            });
        } else {
            const std::string name = path.substr(path.find_last_of('\\') + 1);
            std::wstring wide(name.begin(), name.end());
            UNICODE_STRING unicode{static_cast<USHORT>(wide.size() * 2), static_cast<USHORT>(wide.size() * 2), wide.data()};
            OBJECT_ATTRIBUTES attributes{};
            attributes.Length = sizeof attributes;
            attributes.RootDirectory = root;
            attributes.ObjectName = &unicode;
            attributes.Attributes = OBJ_CASE_INSENSITIVE;
            IO_STATUS_BLOCK status{};
            timed(1, [&] {
                if (ntCreateFile(&file, access, &attributes, &status, nullptr, 0, share, FILE_OPEN,
                                 0x00200000 /*FILE_OPEN_REPARSE_POINT*/ | 0x20 /*FILE_SYNCHRONOUS_IO_NONALERT*/, nullptr, 0) < 0)
                    file = INVALID_HANDLE_VALUE;
            });
        }
        if (file == INVALID_HANDLE_VALUE) continue;
        uint8_t buffer[64];
        timed(2, [&] { getInfo(file, 0, buffer, 40); });
        timed(3, [&] { getInfo(file, 1, buffer, 24); });
        char finalA[MAX_PATH];
        wchar_t finalW[MAX_PATH];
        timed(4, [&] { finalPathA(file, finalA, MAX_PATH, 0); });
        timed(5, [&] { finalPathW(file, finalW, MAX_PATH, 0); });
        BOOL yes = TRUE;
        timed(6, [&] { setInfo(file, 4, &yes, sizeof yes); });
        timed(7, [&] { CloseHandle(file); });
    }
    CloseHandle(root);
    for (int i = 0; i < 9; ++i)
        if (count[i]) std::printf("call %s microseconds %.1f\n", names[i], 1e6 * total[i] / count[i]);
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode != "shred" && mode != "shred-quiet" && mode != "empty" && mode != "delete-loop" && mode != "calls" &&
        mode != "bare-shred" && mode != "preview" && mode != "look-loop" && mode != "checked-loop" &&
        mode != "search") {
        std::fprintf(stderr,
                     "usage: zlt_engine_bench shred|shred-quiet|empty|delete-loop|checked-loop|bare-shred|preview|look-loop|"
                     "search|calls "
                     "FOLDER\n");
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
    if (mode == "calls") {
        QueryPerformanceCounter(&start);
        TimeCalls(cleaner, folder);
        QueryPerformanceCounter(&end);
    } else if (mode == "delete-loop" || mode == "checked-loop" || mode == "bare-shred" || mode == "look-loop") {
        FolderList files;
        cleaner.ListFiles(folder, files);
        void (*const each)(const std::string&) = mode == "bare-shred"     ? BareShred
                                                 : mode == "look-loop"    ? BareLook
                                                 : mode == "checked-loop" ? BareCheckedDelete
                                                                          : [](const std::string& file) { DeleteFileA(file.c_str()); };
        QueryPerformanceCounter(&start);
        for (const std::string& file : files) each(file);
        QueryPerformanceCounter(&end);
    } else if (mode == "search") {
        FolderList files;
        QueryPerformanceCounter(&start);
        cleaner.ListFiles(folder, files);
        QueryPerformanceCounter(&end);
    } else if (mode == "preview") {
        size_t recorded = 0;
        QueryPerformanceCounter(&start);
        const auto record = RecordedClearing(cleaner, "bench", true, {}, [&] { cleaner.EmptyFolder(folder, false); });
        QueryPerformanceCounter(&end);
        recorded = record->items.size();
        if (recorded != static_cast<size_t>(before)) std::printf("the preview recorded %zu items\n", recorded);
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
