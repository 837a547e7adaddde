#include "engine/holders.h"

#include <windows.h>
#include <restartmanager.h>
#include <winternl.h>

#include <vector>

#include "platform/handles.h"
#include "platform/system_library.h"

namespace {

template <class Fn> Fn Function(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

std::wstring Wide(const std::string& ansi) {
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}

} // namespace

std::string ProgramOfProcess(uint32_t pid) {
    using QueryName = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
    static const auto query =
        Function<QueryName>(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA");
    if (!query) return {};
    ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process.valid()) return {};
    char path[MAX_PATH * 2];
    DWORD size = sizeof path;
    if (!query(process.get(), 0, path, &size)) return {};
    const std::string full(path, size);
    const size_t slash = full.find_last_of('\\');
    return slash == std::string::npos ? full : full.substr(slash + 1);
}

namespace {

FileHolder AskRestartManager(const std::string& path) {
    using Start = DWORD(WINAPI*)(DWORD*, DWORD, WCHAR*);
    using Register = DWORD(WINAPI*)(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT, LPCWSTR*);
    using GetList = DWORD(WINAPI*)(DWORD, UINT*, UINT*, RM_PROCESS_INFO*, LPDWORD);
    using End = DWORD(WINAPI*)(DWORD);
    static const HMODULE library = LoadSystemLibrary("rstrtmgr.dll"); // absent before Vista
    static const auto start = Function<Start>(library, "RmStartSession");
    static const auto registerFiles = Function<Register>(library, "RmRegisterResources");
    static const auto getList = Function<GetList>(library, "RmGetList");
    static const auto end = Function<End>(library, "RmEndSession");
    FileHolder holder;
    if (!start || !registerFiles || !getList || !end) return holder;
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    if (start(&session, 0, key) != ERROR_SUCCESS) return holder;
    const std::wstring wide = Wide(path);
    LPCWSTR files[] = {wide.c_str()};
    UINT needed = 0, count = 4;
    RM_PROCESS_INFO processes[4] = {};
    DWORD reasons = 0;
    if (registerFiles(session, 1, files, 0, nullptr, 0, nullptr) == ERROR_SUCCESS) {
        const DWORD listed = getList(session, &needed, &count, processes, &reasons);
        if ((listed == ERROR_SUCCESS || listed == ERROR_MORE_DATA) && count > 0 && needed > 0) {
            holder.pid = processes[0].Process.dwProcessId;
            holder.program = ProgramOfProcess(holder.pid);
            if (holder.program.empty()) {
                char name[CCH_RM_MAX_APP_NAME + 1] = "";
                WideCharToMultiByte(CP_ACP, 0, processes[0].strAppName, -1, name, sizeof name, nullptr, nullptr);
                holder.program = name;
            }
        }
    }
    end(session);
    return holder;
}

// The handle table of the whole system, searched for a handle of the same file in another process.
// Only handles of the same object type as a file handle of our own are looked at, so that no call
// is made on a pipe or a device that could block.
FileHolder SearchHandleTable(const std::string& path) {
    using QuerySystem = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    static const auto query = Function<QuerySystem>(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation");
    FileHolder holder;
    if (!query) return holder;
    // Reading the attributes conflicts with nobody's sharing.
    ScopedHandle mine(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION target;
    if (!mine.valid() || !GetFileInformationByHandle(mine.get(), &target)) return holder;

    constexpr ULONG kSystemHandleInformation = 16;
    std::vector<uint8_t> buffer(1 << 20);
    NTSTATUS status;
    while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), nullptr)) ==
               static_cast<NTSTATUS>(0xC0000004L) && // STATUS_INFO_LENGTH_MISMATCH
           buffer.size() < (256u << 20))
        buffer.resize(buffer.size() * 2);
    if (status != 0) return holder;
    const auto* table = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    const ULONG self = GetCurrentProcessId();
    int fileType = -1;
    for (ULONG i = 0; i < table->Count; ++i)
        if (table->Handle[i].OwnerPid == self &&
            reinterpret_cast<HANDLE>(static_cast<uintptr_t>(table->Handle[i].HandleValue)) == mine.get())
            fileType = table->Handle[i].ObjectType;
    if (fileType < 0) return holder;

    for (ULONG i = 0; i < table->Count && holder.pid == 0; ++i) {
        const SYSTEM_HANDLE_ENTRY& entry = table->Handle[i];
        if (entry.OwnerPid == self || entry.ObjectType != fileType) continue;
        ScopedHandle owner(OpenProcess(PROCESS_DUP_HANDLE, FALSE, entry.OwnerPid));
        if (!owner.valid()) continue;
        HANDLE copy = nullptr;
        if (!DuplicateHandle(owner.get(), reinterpret_cast<HANDLE>(static_cast<uintptr_t>(entry.HandleValue)),
                             GetCurrentProcess(), &copy, 0, FALSE, 0))
            continue;
        const ScopedHandle theirs(copy);
        BY_HANDLE_FILE_INFORMATION info;
        if (GetFileType(theirs.get()) == FILE_TYPE_DISK && GetFileInformationByHandle(theirs.get(), &info) &&
            info.dwVolumeSerialNumber == target.dwVolumeSerialNumber && info.nFileIndexHigh == target.nFileIndexHigh &&
            info.nFileIndexLow == target.nFileIndexLow) {
            holder.pid = entry.OwnerPid;
            holder.program = ProgramOfProcess(holder.pid);
        }
    }
    return holder;
}

} // namespace

FileHolder FindFileHolder(const std::string& path) {
    FileHolder holder = AskRestartManager(path);
    if (holder.pid == 0) holder = SearchHandleTable(path);
    return holder;
}
