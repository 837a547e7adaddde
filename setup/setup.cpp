// ZLTSetup: writes the installer package that it carries to a new folder of its own in the
// temporary folder, runs Windows Installer on it, waits, and deletes both again. No window of its
// own, only message boxes.
//
// Setup programs are started from download folders, where anyone may have left a DLL or an
// msiexec.exe of their own: every system library and program comes from the system folder.
#include <windows.h>
#include <shlwapi.h>

#include <cstring>
#include <string>

#include "setup/launch_rules.h"

namespace {

constexpr int kPackageResource = 104;
// LOAD_LIBRARY_SEARCH_SYSTEM32, which the headers for older systems do not define.
constexpr DWORD kSearchSystem32 = 0x00000800;

void Warn(const char* text) { MessageBoxA(nullptr, text, "Error", MB_ICONWARNING); }

std::string SystemFolderFile(const char* name) {
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(folder) + "\\" + name;
}

// Libraries that system code loads later by bare name are then looked for in the system folder
// only. SetDefaultDllDirectories exists from Windows 7 (and Vista with its update), SetDllDirectory
// from XP SP1.
// Both are looked up: a static import of either would keep setup from starting on the older systems
// that it supports.
void RestrictLibrarySearch() {
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDllDirectory =
        reinterpret_cast<SetDllDirectoryFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")));
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    // No current folder in the search, then (where the system can) the system folder alone.
    if (setDllDirectory) setDllDirectory("");
    if (setDefault) setDefault(kSearchSystem32);
}

// The version of Windows Installer, from msi.dll's DllGetVersion; 0 when it cannot be had.
DWORD InstallerVersion() {
    const std::string path = SystemFolderFile("msi.dll");
    if (path.empty()) return 0;
    const HMODULE msi = LoadLibraryA(path.c_str());
    if (!msi) return 0;
    DWORD version = 0;
    const auto getVersion =
        reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(msi, "DllGetVersion")));
    if (getVersion) {
        DLLVERSIONINFO info = {};
        info.cbSize = sizeof info;
        if (SUCCEEDED(getVersion(&info))) version = InstallerVersionFromDll(info.dwMajorVersion, info.dwMinorVersion);
    }
    FreeLibrary(msi);
    return version;
}

bool SystemRefused() {
    const DWORD installer = InstallerVersion();
    if (installer >= kInstallerVersion2) return false;
    OSVERSIONINFOA os = {};
    os.dwOSVersionInfoSize = sizeof os;
    if (!GetVersionExA(&os)) return false;
    return RefusesSystem(installer, os.dwPlatformId, os.dwMajorVersion, os.dwMinorVersion);
}

// Whether the open file holds exactly these bytes.
bool HoldsExactly(HANDLE file, const void* bytes, DWORD size) {
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file, &length) || length.QuadPart != size) return false;
    const auto* expected = static_cast<const char*>(bytes);
    char block[65536];
    for (DWORD at = 0; at < size;) {
        DWORD got = 0;
        if (!ReadFile(file, block, sizeof block, &got, nullptr) || got == 0 || got > size - at ||
            memcmp(block, expected + at, got) != 0)
            return false;
        at += got;
    }
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    return true;
}

// A folder of setup's own below the temporary folder, made new: nothing that another program left
// in the temporary folder (a file under the package's name, a link) can stand in for the package.
// GetTempFileName reserves a unique name with an empty file; that file makes way for the folder,
// whose creation fails if anything else took the name in between. Empty on failure.
std::string MakePrivateFolder(const std::string& temp) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        char name[MAX_PATH] = {};
        if (!GetTempFileNameA(temp.c_str(), "zlt", 0, name)) return {};
        DeleteFileA(name);
        if (CreateDirectoryA(name, nullptr)) return std::string(name) + "\\";
    }
    return {};
}

// Writes the package in one piece into a new file. The handle that comes back keeps it open for
// reading only, sharing nothing but reading: nobody can change or replace it while the installer
// reads it. Null when it could not be written whole, with nothing left behind.
HANDLE WritePackage(const std::string& path, const void* bytes, DWORD size) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    DWORD written = 0;
    const bool whole = WriteFile(file, bytes, size, &written, nullptr) && written == size && FlushFileBuffers(file);
    CloseHandle(file);
    // Writing and the installer's reading cannot share one handle (the installer shares reading
    // only): the file is opened again at once, and what it holds then is what is installed.
    HANDLE held = whole ? CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_TEMPORARY, nullptr)
                        : INVALID_HANDLE_VALUE;
    if (held != INVALID_HANDLE_VALUE && !HoldsExactly(held, bytes, size)) {
        CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
    }
    if (held == INVALID_HANDLE_VALUE) {
        DeleteFileA(path.c_str());
        return nullptr;
    }
    return held;
}

// Runs the installer on the package and waits for it; false when it could not be started.
bool RunInstaller(const std::string& packagePath) {
    const std::string msiexec = SystemFolderFile("msiexec.exe");
    std::string command = InstallCommand(packagePath);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (msiexec.empty() || !CreateProcessA(msiexec.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                           nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RestrictLibrarySearch();

    const HRSRC resource = FindResourceA(instance, MAKEINTRESOURCEA(kPackageResource), "EXE");
    const HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    const DWORD size = resource ? SizeofResource(instance, resource) : 0;

    if (SystemRefused()) {
        Warn("This setup is for Windows Vista/XP/2003/2000/ME/98 only");
        return 0;
    }
    if (!loaded) return 0;
    const void* bytes = LockResource(loaded);

    // GetTempPath can return up to MAX_PATH + 1 characters; a folder it cannot give is reported
    // like one that cannot be written, and there is then nothing to install.
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof temp, temp);
    const std::string folder = length == 0 || length >= sizeof temp ? std::string() : MakePrivateFolder(temp);
    const std::string packagePath = folder.empty() ? std::string() : PackagePath(folder);
    // A package that is not there whole is never handed to the installer.
    HANDLE package = packagePath.empty() ? nullptr : WritePackage(packagePath, bytes, size);
    if (!package) {
        if (!folder.empty()) RemoveDirectoryA(folder.c_str());
        Warn("File open error");
        FreeResource(loaded);
        return 0;
    }

    const bool ran = RunInstaller(packagePath);
    CloseHandle(package);
    if (!ran) {
        Warn("Failed to run setup");
        return 0;
    }
    DeleteFileA(packagePath.c_str());
    RemoveDirectoryA(folder.c_str());
    FreeResource(loaded);
    return 0;
}
