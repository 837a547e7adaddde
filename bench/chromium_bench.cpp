// Times the Chrome cleaners of history, cookies and cache inside the Wine process (bench/chromium.sh
// puts a large profile in the prefix through bench/chromium_setup.sh), then counts the markers
// ("zltmark" and six digits) still readable in any byte below Chrome's "User Data":
//   zlt_chromium_bench              the cleaners, shredding off
//   zlt_chromium_bench shred        the same with shredding on (three passes, each flushed)
//   zlt_chromium_bench bare         Wine's floor for the files the cleaners remove whole (every
//                                   file of the cache and History): a DeleteFileA loop over a list
//                                   made beforehand, nothing checked, nothing recorded
//   zlt_chromium_bench bare-shred   the same files through the same three passes, bare (each
//                                   pass opens, writes 4096-byte blocks, flushes and closes), then
//                                   DeleteFileA
// Each prints "seconds S readable N".
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "bench/bare.h"
#include "bench/markers.h"
#include "engine/history_cleaner.h"

int main(int argc, char** argv) {
    const std::string mode = argc >= 2 ? argv[1] : "";
    if (!mode.empty() && mode != "shred" && mode != "bare" && mode != "bare-shred") {
        std::fprintf(stderr, "usage: zlt_chromium_bench [shred|bare|bare-shred]\n");
        return 2;
    }
    char local[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, local, CSIDL_LOCAL_APPDATA, FALSE);
    const std::string userData = std::string(local) + "\\Google\\Chrome\\User Data";
    ProgramSettings settings;
    settings.ApplyDefaults();
    settings.historyMask = settings.cookiesMask = settings.cacheMask = BrowserChrome;
    settings.shredFiles = mode == "shred" ? 1 : 0;
    HistoryCleaner cleaner(&settings);
    std::vector<std::string> files;
    if (mode == "bare" || mode == "bare-shred") {
        ListFilesDeep(userData + "\\Default\\Cache", files);
        for (const char* name : {"History", "History-journal"})
            if (GetFileAttributesA((userData + "\\Default\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES)
                files.push_back(userData + "\\Default\\" + name);
    }
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (mode == "bare") {
        for (const std::string& file : files) DeleteFileA(file.c_str());
    } else if (mode == "bare-shred") {
        for (const std::string& file : files) BareShred(file);
    } else {
        cleaner.ClearChromeHistory();
        cleaner.ClearChromeCookies();
        cleaner.ClearChromeCache();
    }
    QueryPerformanceCounter(&end);

    std::set<std::string> seen;
    CountMarkers(userData, "zltmark", seen);
    std::printf("seconds %.4f readable %zu\n",
                static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart),
                seen.size());
    return 0;
}
