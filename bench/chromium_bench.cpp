// Times the Chrome cleaners of history, cookies and cache inside the Wine process (bench/chromium.sh
// puts a large profile in the prefix through bench/chromium_setup.sh), then counts the markers
// ("zltmark" and six digits) still readable in any byte below Chrome's "User Data":
//   zlt_chromium_bench   prints "seconds S readable N"
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <set>
#include <string>

#include "engine/history_cleaner.h"

namespace {

void CountMarkers(const std::string& folder, std::set<std::string>& seen) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName, path = folder + "\\" + name;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CountMarkers(path, seen);
            continue;
        }
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        std::string bytes(found.nFileSizeLow, '\0');
        DWORD got = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(file);
        for (size_t at = bytes.find("zltmark"); at != std::string::npos && at + 13 <= got; at = bytes.find("zltmark", at + 1))
            seen.insert(bytes.substr(at, 13));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

} // namespace

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
    CountMarkers(std::string(local) + "\\Google\\Chrome\\User Data", seen);
    std::printf("seconds %.4f readable %zu\n",
                static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart),
                seen.size());
    return 0;
}
