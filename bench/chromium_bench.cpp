// Times the Chrome cleaners of history, cookies and cache inside the Wine process (bench/chromium.sh
// puts a large profile in the prefix through bench/chromium_setup.sh), then counts the markers
// ("zltmark" and six digits) still readable in any byte below Chrome's "User Data":
//   zlt_chromium_bench   prints "seconds S readable N"
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <set>
#include <string>

#include "bench/markers.h"
#include "engine/history_cleaner.h"

int main() {
    ProgramSettings settings;
    settings.ApplyDefaults();
    settings.historyMask = settings.cookiesMask = settings.cacheMask = BrowserChrome;
    HistoryCleaner cleaner(&settings);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    cleaner.ClearChromeHistory();
    cleaner.ClearChromeCookies();
    cleaner.ClearChromeCache();
    QueryPerformanceCounter(&end);

    char local[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, local, CSIDL_LOCAL_APPDATA, FALSE);
    std::set<std::string> seen;
    CountMarkers(std::string(local) + "\\Google\\Chrome\\User Data", "zltmark", seen);
    std::printf("seconds %.4f readable %zu\n",
                static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart),
                seen.size());
    return 0;
}
