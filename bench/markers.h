#pragma once
// The markers a benchmark's profile carries ("zltmark" or "zltkeep" and six digits), as far as they
// are still readable in any byte of any file below a folder.
#include <windows.h>

#include <set>
#include <string>

inline void CountMarkers(const std::string& folder, const std::string& prefix, std::set<std::string>& seen) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName, path = folder + "\\" + name;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CountMarkers(path, prefix, seen);
            continue;
        }
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        std::string bytes(found.nFileSizeLow, '\0');
        DWORD got = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(file);
        const size_t length = prefix.size() + 6;
        for (size_t at = bytes.find(prefix); at != std::string::npos && at + length <= got; at = bytes.find(prefix, at + 1))
            seen.insert(bytes.substr(at, length));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}
