#pragma once
// What a bare Wine program does to the same files, with nothing checked and nothing recorded: the
// floor the program's own cost is measured against.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Every file below `folder`, listed before anything is timed.
inline void ListFilesDeep(const std::string& folder, std::vector<std::string>& files) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName, path = folder + "\\" + name;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFilesDeep(path, files);
        else
            files.push_back(path);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// The program's shredding passes as they are specified, bare: three passes, each opening the file,
// writing it over in 4096-byte blocks, flushing and closing it; then DeleteFileA.
inline void BareShred(const std::string& path) {
    static uint8_t block[4096];
    for (int pass = 0; pass < 3; ++pass) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        LARGE_INTEGER size{};
        GetFileSizeEx(file, &size);
        std::memset(block, pass == 1 ? 0x5a : 0xa5, sizeof block);
        for (LONGLONG left = size.QuadPart; left > 0; left -= sizeof block) {
            DWORD written = 0;
            WriteFile(file, block, static_cast<DWORD>(left < LONGLONG(sizeof block) ? left : sizeof block), &written,
                      nullptr);
        }
        FlushFileBuffers(file);
        CloseHandle(file);
    }
    DeleteFileA(path.c_str());
}

// What a preview has to ask of each file so that it says what the run would do: the open with
// the deletion's access and sharing (a file held by another program refuses it), the entry's
// facts (its size and number of names) and its final path (a link that Wine follows), the close.
inline void BareLook(const std::string& path) {
    using InfoExFn = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
    using FinalPathFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    static const auto getInfo = reinterpret_cast<InfoExFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFileInformationByHandleEx")));
    static const auto finalPath = reinterpret_cast<FinalPathFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleW")));
    HANDLE file = CreateFileA(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    uint8_t standard[24];
    wchar_t final[MAX_PATH * 2];
    getInfo(file, 1 /*FileStandardInfo*/, standard, sizeof standard);
    finalPath(file, final, MAX_PATH * 2, 0);
    CloseHandle(file);
}

// A removal that never follows a link, bare: the open with the deletion's access and sharing, the
// entry's attributes and number of names, its final path, the deletion through the handle, the
// close. What DeleteFileA skips, and what EmptyFolder must ask of each file.
inline void BareCheckedDelete(const std::string& path) {
    using InfoExFn = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
    using FinalPathFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    static const auto getInfo =
        reinterpret_cast<InfoExFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetFileInformationByHandleEx")));
    static const auto setInfo =
        reinterpret_cast<InfoExFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetFileInformationByHandle")));
    static const auto finalPath =
        reinterpret_cast<FinalPathFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetFinalPathNameByHandleW")));
    HANDLE file = CreateFileA(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    uint8_t basic[40], standard[24];
    wchar_t final[MAX_PATH * 2];
    getInfo(file, 0 /*FileBasicInfo*/, basic, sizeof basic);
    getInfo(file, 1 /*FileStandardInfo*/, standard, sizeof standard);
    finalPath(file, final, MAX_PATH * 2, 0);
    BOOL deleteIt = TRUE;
    setInfo(file, 4 /*FileDispositionInfo*/, &deleteIt, sizeof deleteIt);
    CloseHandle(file);
}
