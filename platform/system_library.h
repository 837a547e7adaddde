#pragma once
// Libraries of the system, loaded from the system folder by their full path. A bare name would be
// looked for in the program's folder first, and whatever lay there under that name would run with
// the rights of every user who starts the program. Header only.
#include <windows.h>

#include <string>

// `name` in the system folder; empty when the folder cannot be had.
inline std::string SystemFolderPath(const char* name) {
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(folder) + "\\" + name;
}

// Whether `path` names a file directly in the system folder (letters in any case).
inline bool InSystemFolder(const std::string& path) {
    const std::string folder = SystemFolderPath("");
    const size_t slash = path.find_last_of('\\');
    return !folder.empty() && slash != std::string::npos && slash + 1 == folder.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(), static_cast<int>(slash + 1), folder.c_str(),
                          static_cast<int>(folder.size())) == CSTR_EQUAL;
}

// The library from the system folder; the libraries it needs in turn are looked for beside it
// first, not beside the program.
inline HMODULE LoadSystemLibrary(const char* name) {
    const std::string path = SystemFolderPath(name);
    return path.empty() ? nullptr : LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
