#include <gtest/gtest.h>

#include "tests/wine/engine_support.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace {
const char kTestRoot[] = "Software\\ZltEngineTest";
using RegDeleteKeyExAFn = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);

RegDeleteKeyExAFn DeleteKeyEx() {
    return reinterpret_cast<RegDeleteKeyExAFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegDeleteKeyExA")));
}
} // namespace

TestKey::TestKey(const std::string& name, HKEY root)
    : root_(root), path_(std::string(kTestRoot) + "\\" + name) {
    DeleteKeyTree(root_, path_);
    CreateKey(root_, path_);
}

TestKey::~TestKey() {
    DeleteKeyTree(root_, path_);
}

bool CreateKey(HKEY root, const std::string& path, REGSAM view) {
    HKEY key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool SetString(HKEY root, const std::string& key, const std::string& name, const std::string& value) {
    HKEY h;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG rc = RegSetValueExA(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

bool SetDword(HKEY root, const std::string& key, const std::string& name, DWORD value) {
    HKEY h;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG rc = RegSetValueExA(h, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const std::string& path, REGSAM view) {
    HKEY h;
    const LONG rc = RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE | view, &h);
    if (rc == ERROR_SUCCESS) RegCloseKey(h);
    return rc != ERROR_FILE_NOT_FOUND;
}

bool ValueExists(HKEY root, const std::string& key, const std::string& name) {
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return false;
    const LONG rc = RegQueryValueExA(h, name.c_str(), nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

void DeleteKeyTree(HKEY root, const std::string& path, REGSAM view) {
    if (view == 0) {
        SHDeleteKeyA(root, path.c_str());
        return;
    }
    HKEY h;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &h) != ERROR_SUCCESS) return;
    char name[260];
    DWORD length = sizeof name;
    std::vector<std::string> children;
    for (DWORD i = 0; length = sizeof name, RegEnumKeyExA(h, i, name, &length, 0, 0, 0, 0) == ERROR_SUCCESS;
         ++i)
        children.push_back(name);
    RegCloseKey(h);
    for (const auto& child : children) DeleteKeyTree(root, path + "\\" + child, view);
    DeleteKeyEx()(root, path.c_str(), view, 0);
}

std::vector<std::string> SubkeyNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    HKEY h;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return names;
    char name[260];
    DWORD length;
    for (DWORD i = 0; length = sizeof name, RegEnumKeyExA(h, i, name, &length, 0, 0, 0, 0) == ERROR_SUCCESS;
         ++i)
        names.push_back(name);
    RegCloseKey(h);
    return names;
}

uintptr_t NextHandleValue() {
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const auto value = reinterpret_cast<uintptr_t>(event);
    CloseHandle(event);
    return value;
}

bool MakeFile(const std::string& path, size_t size, uint8_t fill) {
    return WriteFileBytes(path, std::vector<uint8_t>(size, fill));
}

std::string MakeFolder(const std::string& path) {
    SHCreateDirectoryExA(nullptr, path.c_str(), nullptr);
    return path;
}

std::string ShellFolderPath(int csidl) {
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
    return path;
}

TempVariables::TempVariables(const std::string& folder) {
    for (const char* name : {"TMP", "TEMP"}) {
        char value[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
        saved_.push_back({name, length > 0 && length < MAX_PATH, value});
        SetEnvironmentVariableA(name, folder.c_str());
    }
}

TempVariables::~TempVariables() {
    for (const Saved& saved : saved_) SetEnvironmentVariableA(saved.name, saved.set ? saved.value.c_str() : nullptr);
}

HeldFile::HeldFile(const std::string& path, DWORD share)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0,
                          nullptr)) {}

HeldFile::~HeldFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

PostedMessages::PostedMessages()
    : window_(
          CreateWindowExA(0, "STATIC", "sink", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)) {}

PostedMessages::~PostedMessages() {
    DestroyWindow(window_);
}

std::vector<PostedMessages::Entry> PostedMessages::Drain(UINT first, UINT last) {
    std::vector<Entry> entries;
    MSG msg;
    while (PeekMessageA(&msg, window_, first, last, PM_REMOVE)) entries.push_back({msg.message, msg.wParam});
    return entries;
}

TestProgressBar::TestProgressBar() {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&init);
    parent_ =
        CreateWindowExA(0, "STATIC", "bar", WS_POPUP, 0, 0, 300, 40, nullptr, nullptr, nullptr, nullptr);
    bar_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 250, 20, parent_, nullptr,
                           nullptr, nullptr);
}

TestProgressBar::~TestProgressBar() {
    DestroyWindow(parent_);
}

void TestProgressBar::Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

int TestProgressBar::RangeLow() {
    return static_cast<int>(SendMessageA(bar_, PBM_GETRANGE, TRUE, 0));
}
int TestProgressBar::RangeHigh() {
    return static_cast<int>(SendMessageA(bar_, PBM_GETRANGE, FALSE, 0));
}
int TestProgressBar::Position() {
    return static_cast<int>(SendMessageA(bar_, PBM_GETPOS, 0, 0));
}

namespace {
const char kHeldPath[] = "ZLT_HELD_FILE";
const char kHeldReady[] = "ZltHeldFileReady";
const char kHeldRelease[] = "ZltHeldFileRelease";
} // namespace

HeldByAnotherProcess::HeldByAnotherProcess(const std::string& path)
    : ready_(CreateEventA(nullptr, TRUE, FALSE, kHeldReady)), release_(CreateEventA(nullptr, TRUE, FALSE, kHeldRelease)) {
    ResetEvent(ready_.get());
    ResetEvent(release_.get());
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self +
                          "\" --gtest_also_run_disabled_tests --gtest_filter=AnotherProcess.DISABLED_HoldsAFile";
    SetEnvironmentVariableA(kHeldPath, path.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        process_.Reset(info.hProcess);
        CloseHandle(info.hThread);
        pid_ = info.dwProcessId;
    }
    SetEnvironmentVariableA(kHeldPath, nullptr);
    const HANDLE waits[] = {ready_.get(), process_.get()};
    // Ready, or the helper ended without ever holding the file.
    holding_ = process_.valid() && WaitForMultipleObjects(2, waits, FALSE, 60000) == WAIT_OBJECT_0;
}

HeldByAnotherProcess::~HeldByAnotherProcess() {
    SetEvent(release_.get());
    if (process_.valid()) WaitForSingleObject(process_.get(), 60000);
}

void HeldByAnotherProcess::Serve() {
    char path[MAX_PATH] = "";
    ASSERT_TRUE(GetEnvironmentVariableA(kHeldPath, path, sizeof path));
    const ScopedHandle file(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file.valid()) << path;
    const ScopedHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, kHeldReady));
    const ScopedHandle release(OpenEventA(SYNCHRONIZE, FALSE, kHeldRelease));
    ASSERT_TRUE(ready.valid() && release.valid());
    SetEvent(ready.get());
    WaitForSingleObject(release.get(), 120000);
}

std::string ThisProgramName() {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path = self;
    return path.substr(path.find_last_of('\\') + 1);
}

void FilesBelow(const std::string& folder, std::map<std::string, std::string>& files) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName, path = folder + "\\" + name;
        if (name == "." || name == ".." || (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            FilesBelow(path, files);
        } else {
            const std::vector<uint8_t> bytes = ReadFileBytes(path);
            files[path].assign(bytes.begin(), bytes.end());
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string ReadableIn(const std::vector<std::string>& folders, const std::string& marker) {
    std::string where;
    for (const std::string& folder : folders) {
        std::map<std::string, std::string> files;
        FilesBelow(folder, files);
        for (const auto& [path, bytes] : files)
            if (bytes.find(marker) != std::string::npos) where += " " + path;
    }
    return where;
}
