#pragma once
// The markers a benchmark's profile carries ("zltmark" or "zltkeep" and six digits), as far as they
// are still readable in any byte of any file below a folder.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "bench/bare.h"

inline void CountMarkers(const std::string& folder, const std::string& prefix, std::set<std::string>& seen) {
    std::vector<std::string> files;
    ListFilesDeep(folder, files);
    for (const std::string& path : files) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        const DWORD size = file == INVALID_HANDLE_VALUE ? INVALID_FILE_SIZE : GetFileSize(file, nullptr);
        if (size == INVALID_FILE_SIZE) {
            if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
            continue;
        }
        std::string bytes(size, '\0');
        DWORD got = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(file);
        const size_t length = prefix.size() + 6;
        for (size_t at = bytes.find(prefix); at != std::string::npos && at + length <= got; at = bytes.find(prefix, at + 1))
            seen.insert(bytes.substr(at, length));
    }
}
