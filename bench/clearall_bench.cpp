// A full "Clear all selected items" of the installed program on a seeded set of traces, timed from
// the click to the confirmation. Run by bench/clearall.sh in a throw-away prefix:
//   zlt_clearall_bench off|on|norecord|preview
// installs the package, lays out browser caches, temporary files and the registry lists of a
// well-used profile, starts zlt.exe, posts "Quick select" (with "Shred history files" ticked on
// the Shredder page for "on", progress window shown) and "Clear all selected items", times it to
// its end (the confirmation; for "on" the progress window going), and prints
//   file SIZE                      one line per seeded file (the shell makes the same set natively)
// "norecord" is "off" with the program keeping no record (its benchmark-only switch), so that the
// cost of the record and the report can be told; "preview" presses "Preview" in place of the
// clearing and times it to the preview's window (every file must then still be there).
//   seconds S files N bytes B left L
#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/messages.h"
#include "resources/resource_ids.h"
#include "tests/e2e/e2e_support.h"
#include "tests/wine/test_support.h"
#include "tests/wine/ui_support.h"

namespace {

// A fixed sequence of sizes shaped like a browser cache: mostly small files, a few large ones.
struct SizeSequence {
    uint32_t state = 12345;
    size_t Next() {
        state = state * 1103515245u + 12345u;
        const uint32_t r = (state >> 8) % 1000;
        if (r < 600) return 512 + r * 50;             // up to 30 KiB
        if (r < 900) return 32 * 1024 + r * 300;      // up to about 300 KiB
        if (r < 990) return 300 * 1024 + r * 2000;    // up to about 2.2 MiB
        return 4 * 1024 * 1024 + r * 4000;            // a few of 8 MiB
    }
};

struct Seeded {
    std::vector<std::string> files;
    std::vector<size_t> sizes;
    unsigned long long bytes = 0;
};

void SeedFolder(Seeded& set, SizeSequence& sizes, const std::string& folder, const char* prefix, int count) {
    MakeFolders(folder);
    std::string content;
    for (int n = 0; n < count; ++n) {
        const size_t size = sizes.Next();
        content.assign(size, static_cast<char>('a' + n % 26));
        const std::string path = folder + "\\" + prefix + std::to_string(n);
        WriteTextFile(path, content);
        // On the disk before the clock starts, as the native and the bare sets are (both are
        // synced): the run must not also pay for writing the seeded bytes back.
        HANDLE written = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (written != INVALID_HANDLE_VALUE) {
            FlushFileBuffers(written);
            CloseHandle(written);
        }
        set.files.push_back(path);
        set.sizes.push_back(size);
        set.bytes += size;
    }
}

Seeded SeedTraces() {
    const std::string roaming = ShellFolder(CSIDL_APPDATA), local = ShellFolder(CSIDL_LOCAL_APPDATA);
    SeedFile(roaming + "\\Mozilla\\Firefox\\profiles.ini",
             "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
             "Path=Profiles/q1w2e3r4.default\r\nDefault=1\r\n");
    Seeded set;
    SizeSequence sizes;
    SeedFolder(set, sizes, local + "\\Mozilla\\Firefox\\Profiles\\q1w2e3r4.default\\Cache", "_CACHE_", 300);
    SeedFolder(set, sizes, local + "\\Google\\Chrome\\User Data\\Default\\Cache", "f_", 300);
    // Chrome's profiles are those its Local State names (or that hold Preferences).
    SeedFile(local + "\\Google\\Chrome\\User Data\\Local State",
             "{\"profile\":{\"info_cache\":{\"Default\":{\"name\":\"Person 1\"}}}}");
    SeedFolder(set, sizes, ShellFolder(CSIDL_INTERNET_CACHE) + "\\Content.IE5\\Q1W2E3R4", "page", 200);
    SeedFolder(set, sizes, roaming + "\\Opera\\Opera\\cache\\g_0000", "opr", 100);
    SeedFolder(set, sizes, local + "\\Temp", "~tmp", 100);
    for (int n = 0; n < 200; ++n) {
        const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
        WriteStringValue(key, std::to_string(n).c_str(), "document " + std::to_string(n));
        WriteStringValue("Software\\Microsoft\\Internet Explorer\\TypedURLs", ("url" + std::to_string(n)).c_str(),
                         "http://site" + std::to_string(n) + ".example/");
    }
    return set;
}

void AnswerBox(DWORD pid, const char* text) {
    const Box box = WaitForProgramBox(pid, 30000);
    if (!box.window || box.text.rfind(text, 0) != 0) {
        std::printf("unexpected box: %s\n", box.text.c_str());
        return;
    }
    Press(box.window, IDOK);
    WaitForWindowGone(box.window);
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "off";
    const bool shred = mode == "on", preview = mode == "preview";
    if (mode == "norecord") SetEnvironmentVariableA("ZLT_BENCH_NO_RECORD", "1");
    if (!InstallPackage() || !WaitForInstallerEnd()) {
        std::printf("not installed\n");
        return 1;
    }
    const Seeded set = SeedTraces();
    for (size_t size : set.sizes) std::printf("file %zu\n", size);

    HANDLE process = StartProgram(std::string("\"") + kInstalledProgram + "\"");
    HWND window = WaitForMainWindow(60000);
    if (!process || !window) {
        std::printf("the program did not start\n");
        return 1;
    }
    WaitForInputIdle(process, 30000);
    PumpUntil([&] { return IsWindowVisible(window) != FALSE; }, 30000);
    const DWORD pid = GetProcessId(process);
    PostMessageA(window, WM_COMMAND, CmdSelectMostOptions, 0);
    AnswerBox(pid, "Most options have been selected.");
    if (shred) {
        HWND page = ShowPage(window, {2});
        if (!page || !SetCheck(page, IDC_SHRED_FILES, true) || !SetCheck(page, IDC_SHRED_PROGRESS, true)) {
            std::printf("no shredder page\n");
            return 1;
        }
        Press(page, IDC_SHRED_APPLY);
        PumpUntil([&] { return !IsWindowEnabled(GetDlgItem(page, IDC_SHRED_APPLY)); }, 10000);
    }
    // The disk starts from the same state in both runs.
    FlushFileBuffers(GetStdHandle(STD_OUTPUT_HANDLE));
    Sleep(2000);

    // The clearing on the program's own thread ends with the confirmation; the shredding run on its
    // worker ends when its progress window goes.
    HWND whatToClear = preview ? ShowPage(window, {0}) : nullptr;
    if (preview && !whatToClear) {
        std::printf("no What to Clear page\n");
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    if (preview)
        Press(whatToClear, IDC_WHAT_PREVIEW);
    else
        PostMessageA(window, WM_COMMAND, CmdClearHistory, 0);
    bool ended = false;
    // Looked for every 10 ms: the waits' usual 50 ms would be a tenth of a run that takes half a
    // second.
    constexpr DWORD kPoll = 10;
    if (preview) {
        ended = WaitForProgramWindow(pid, "Clearing preview", 1800000, kPoll) != nullptr;
    } else if (shred) {
        const HWND progress = WaitForProgramWindow(pid, "Files Shredding", 60000, kPoll);
        ended = progress && WaitForWindowGone(progress, 1800000, kPoll);
    } else {
        const Box done = WaitForProgramBox(pid, 1800000, kPoll);
        // Something outside the seeded set may stay (the cookies' index.dat that WinINet holds in
        // the program itself): the seeded files are counted below.
        ended = done.window && (done.text.rfind("All selected items have been deleted.", 0) == 0 ||
                                done.text.rfind("Not all selected items could be deleted.", 0) == 0);
        if (ended) Press(done.window, IDCANCEL); // "No": no report view
        else if (done.window) std::printf("box: %s\n", done.text.c_str());
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!ended) {
        std::printf("the clearing did not end\n");
        KillProgramProcesses();
        return 1;
    }
    size_t left = 0;
    for (const std::string& file : set.files) left += PathExists(file) ? 1 : 0;
    std::printf("seconds %.3f files %zu bytes %llu left %zu\n", seconds, set.files.size(), set.bytes, left);
    KillProgramProcesses();
    return 0;
}
