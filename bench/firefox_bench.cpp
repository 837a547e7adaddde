// Times the Firefox cleaners of history, cookies, form data and cache inside the Wine process
// (bench/firefox.sh puts a large profile in the prefix through bench/firefox_setup.sh), then counts
// the markers still readable in any byte below the roaming and the local Mozilla folders: "zltmark"
// and six digits for what should be gone, "zltkeep" and six digits for what must stay:
//   zlt_firefox_bench   prints "seconds S readable N kept K"
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <set>
#include <string>

#include "bench/markers.h"
#include "engine/history_cleaner.h"

namespace {

std::string MozillaFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
    return std::string(path) + "\\Mozilla";
}

} // namespace

int main() {
    ProgramSettings settings;
    settings.ApplyDefaults();
    settings.historyMask = settings.cookiesMask = settings.cacheMask = BrowserFirefox;
    settings.bookmarksMask = 0;
    HistoryCleaner cleaner(&settings);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    cleaner.ClearFirefoxHistory();
    cleaner.ClearFirefoxCookies();
    cleaner.ClearFirefoxFormData();
    cleaner.ClearFirefoxCache();
    QueryPerformanceCounter(&end);

    std::set<std::string> readable, kept;
    for (int csidl : {CSIDL_APPDATA, CSIDL_LOCAL_APPDATA}) {
        CountMarkers(MozillaFolder(csidl), "zltmark", readable);
        CountMarkers(MozillaFolder(csidl), "zltkeep", kept);
    }
    std::printf("seconds %.4f readable %zu kept %zu\n",
                static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart),
                readable.size(), kept.size());
    return 0;
}
