// The history that Windows 10 and 11 keep for the current user beyond the older lists: Explorer's
// boxes, thumbnail caches, error reports, PowerShell's commands, the clipboard history, Timeline,
// jump lists and folder views.
//
// The program still starts on XP: the interfaces of later Windows are declared here, and everything
// they need is looked up or created at run time, never imported.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#undef NTDDI_VERSION
#define NTDDI_VERSION 0x06010000
#include "engine/history_cleaner.h"

#include <initguid.h>
#include <inspectable.h>
#include <objbase.h>
#include <propkey.h>
#include <propsys.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <winstring.h>

#include <algorithm>
#include <map>

#include "app/option_keys.h"
#include "engine/cleaners/app_ids.h"
#include "engine/database_cleaning.h"
#include "platform/handles.h"
#include "platform/system_library.h"

namespace {

const char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::wstring Wide(const std::string& text, UINT codePage) {
    const int length = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

std::string Utf8(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(length - 1));
    return narrow;
}

// COM for this thread while it lives, when the thread has none yet; a thread that has an
// apartment already keeps it.
class ComForThisThread {
public:
    ComForThisThread() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComForThisThread() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComForThisThread(const ComForThisThread&) = delete;
    ComForThisThread& operator=(const ComForThisThread&) = delete;
    // COM can be used: initialised here, or before in either kind of apartment.
    bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

template <class T> struct ComRelease {
    T* object = nullptr;
    ~ComRelease() {
        if (object) object->Release();
    }
};

std::string SpecialFolder(int csidl) {
    char path[MAX_PATH] = {};
    return SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE) ? path : "";
}

// The known folders that name the programs in them, the more specific first, with the IDs of
// FOLDERID_System, _SystemX86, _Windows, _ProgramFilesX64, _ProgramFilesX86, _UserProgramFiles and
// _LocalAppData.
std::vector<KnownFolder> ProgramKnownFolders() {
    std::vector<KnownFolder> folders;
    auto add = [&](const std::string& path, const char* id) {
        if (!path.empty()) folders.emplace_back(path, id);
    };
    add(SpecialFolder(CSIDL_SYSTEM), "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}");
    add(SpecialFolder(CSIDL_SYSTEMX86), "{D65231B0-B2F1-4857-A4CE-A8E7C6EA7D27}");
    add(SpecialFolder(CSIDL_WINDOWS), "{F38BF404-1D43-42F2-9305-67DE0B28FC23}");
    // A 32-bit process is shown the 32-bit Program Files under either name; the environment has
    // the 64-bit one.
    char programW6432[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("ProgramW6432", programW6432, MAX_PATH);
    add(length > 0 && length < MAX_PATH ? std::string(programW6432) : SpecialFolder(CSIDL_PROGRAM_FILES),
        "{6D809377-6AF0-444B-8957-A3773F02200E}");
    add(SpecialFolder(CSIDL_PROGRAM_FILESX86), "{7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}");
    const std::string local = SpecialFolder(CSIDL_LOCAL_APPDATA);
    if (!local.empty()) add(local + "\\Programs", "{5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}");
    add(local, "{F1B32785-6FBA-4FCF-9D55-7B8E7F157091}");
    return folders;
}

// The application ID a shortcut starts its program under: its own, or the one the shell makes
// from the program's path.
std::string AppIdOfShortcut(const std::string& path, const std::vector<KnownFolder>& knownFolders) {
    ComRelease<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link.object))))
        return {};
    ComRelease<IPersistFile> file;
    if (FAILED(link.object->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.object))) ||
        FAILED(file.object->Load(Wide(path, CP_ACP).c_str(), STGM_READ)))
        return {};
    ComRelease<IPropertyStore> properties;
    if (SUCCEEDED(link.object->QueryInterface(IID_IPropertyStore, reinterpret_cast<void**>(&properties.object)))) {
        PROPVARIANT value;
        PropVariantInit(&value);
        std::string id;
        if (SUCCEEDED(properties.object->GetValue(PKEY_AppUserModel_ID, &value)) && value.vt == VT_LPWSTR &&
            value.pwszVal)
            id = Utf8(value.pwszVal);
        PropVariantClear(&value);
        if (!id.empty()) return id;
    }
    wchar_t target[MAX_PATH] = {};
    if (FAILED(link.object->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) || !target[0]) return {};
    wchar_t expanded[MAX_PATH] = {};
    const DWORD length = ExpandEnvironmentStringsW(target, expanded, MAX_PATH);
    const std::string executable = Utf8(length > 0 && length <= MAX_PATH ? expanded : target);
    return EndsWith(Lower(executable), ".exe") ? ImplicitAppId(executable, knownFolders) : std::string();
}

// Size and time of each jump-list file, to tell which ones the shell rewrote.
std::map<std::string, std::pair<uint64_t, uint64_t>> DestinationFiles(HistoryCleaner& cleaner,
                                                                     const std::string& folder) {
    std::map<std::string, std::pair<uint64_t, uint64_t>> files;
    FolderList paths;
    cleaner.ListFiles(folder, paths);
    for (const std::string& path : paths) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) continue;
        files[path] = {(uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                       (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime};
    }
    return files;
}

// Clipboard.ClearHistory of Windows 10 1809 and later, through the runtime's activation factory.
// Not in the import table: older Windows has no such class, Windows 7 no combase.
DEFINE_GUID(kIID_IClipboardStatics2, 0xd2ac1b6a, 0xd29f, 0x554b, 0xb3, 0x03, 0xf0, 0x45, 0x23, 0x45, 0xfe, 0x02);

struct ClipboardStatics2 : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE GetHistoryItemsAsync(void** operation) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearHistory(boolean* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteItemFromHistory(void* item, boolean* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetHistoryItemAsContent(void* item, int* status) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsHistoryEnabled(boolean* result) = 0;
};

enum class ClipboardHistoryResult { Unavailable, Cleared, Refused };

ClipboardHistoryResult ClearWindowsClipboardHistory() {
    HMODULE combase = LoadSystemLibrary("combase.dll");
    if (!combase) return ClipboardHistoryResult::Unavailable;
    using GetFactory = HRESULT(WINAPI*)(HSTRING, REFIID, void**);
    using CreateString = HRESULT(WINAPI*)(PCWSTR, UINT32, HSTRING*);
    using DeleteString = HRESULT(WINAPI*)(HSTRING);
    auto getFactory = reinterpret_cast<GetFactory>(reinterpret_cast<void*>(GetProcAddress(combase, "RoGetActivationFactory")));
    auto createString = reinterpret_cast<CreateString>(reinterpret_cast<void*>(GetProcAddress(combase, "WindowsCreateString")));
    auto deleteString = reinterpret_cast<DeleteString>(reinterpret_cast<void*>(GetProcAddress(combase, "WindowsDeleteString")));
    ClipboardHistoryResult result = ClipboardHistoryResult::Unavailable;
    if (getFactory && createString && deleteString) {
        static const wchar_t kClass[] = L"Windows.ApplicationModel.DataTransfer.Clipboard";
        HSTRING name = nullptr;
        if (SUCCEEDED(createString(kClass, static_cast<UINT32>(wcslen(kClass)), &name))) {
            ComRelease<ClipboardStatics2> statics;
            if (SUCCEEDED(getFactory(name, kIID_IClipboardStatics2, reinterpret_cast<void**>(&statics.object))) &&
                statics.object) {
                // A history the user has switched off holds nothing; pinned items stay in one
                // that is cleared.
                boolean enabled = 0, cleared = 0;
                if (SUCCEEDED(statics.object->IsHistoryEnabled(&enabled)) && enabled)
                    result = SUCCEEDED(statics.object->ClearHistory(&cleared)) && cleared
                                 ? ClipboardHistoryResult::Cleared
                                 : ClipboardHistoryResult::Refused;
            }
            deleteString(name);
        }
    }
    FreeLibrary(combase);
    return result;
}

// The caches Explorer keeps of pictures' thumbnails and programs' icons.
bool IsThumbnailCache(const std::string& name) {
    const std::string lower = Lower(name);
    return (lower.rfind("thumbcache_", 0) == 0 || lower.rfind("iconcache_", 0) == 0) && EndsWith(lower, ".db");
}

// Another process has the file open in a way that keeps it from being deleted now.
bool HeldOpen(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

} // namespace

void HistoryCleaner::ClearExplorerLists() {
    // The values are the lists; the keys stay for Explorer to write its next entries into.
    for (const char* list : {"WordWheelQuery", "TypedPaths", "ComDlg32\\CIDSizeMRU", "Map Network Drive MRU"})
        DeleteValuesByPrefix(std::string(kExplorer) + "\\" + list, "");
    if (!dryRun) SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST | SHCNF_FLUSHNOWAIT, nullptr, nullptr);
}

void HistoryCleaner::ClearThumbnailCaches() {
    RemoveThumbnailCaches(settings &&
                          IniFlag(OptionKeys::kWindowsPage, OptionKeys::kThumbnailCachesAtStart).Read(*settings));
}

void HistoryCleaner::RemoveThumbnailCaches(bool atNextStart) {
    const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
    if (local.empty()) return;
    FolderList caches;
    ListFiles(local + "\\Microsoft\\Windows\\Explorer", caches);
    caches.erase(std::remove_if(caches.begin(), caches.end(),
                                [](const std::string& path) { return !IsThumbnailCache(NameOf(path)); }),
                 caches.end());
    for (const std::string& path : caches) {
        if (!HeldOpen(path)) {
            RemoveFile(path);
            continue;
        }
        if (!atNextStart) {
            RecordLeft(ItemKind::File, path, ERROR_SHARING_VIOLATION);
            continue;
        }
        // Windows removes it when it next starts, before Explorer opens it again. Only an
        // administrator may ask for that.
        if (dryRun || MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
            RecordLeft(ItemKind::File, path, LeftReason::Held, "removed when Windows next starts");
        else if (GetLastError() == ERROR_ACCESS_DENIED)
            RecordLeft(ItemKind::File, path, LeftReason::AccessDenied,
                       "removing it when Windows next starts needs administrator rights");
        else
            RecordLeft(ItemKind::File, path, GetLastError());
    }
    if (!dryRun && !caches.empty()) SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST | SHCNF_FLUSHNOWAIT, nullptr, nullptr);
}

void HistoryCleaner::ClearErrorReports() {
    const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
    if (local.empty()) return;
    // The reports sent and those waiting to be; the folders stay for the next ones.
    for (const char* folder : {"ReportArchive", "ReportQueue", "Temp"})
        EmptyFolder(local + "\\Microsoft\\Windows\\WER\\" + folder, true);
}

void HistoryCleaner::ClearPowerShellHistory() {
    const std::string roaming = ShellFolder(CSIDL_APPDATA);
    if (roaming.empty()) return;
    // One history per host: "ConsoleHost_history.txt", "Visual Studio Code Host_history.txt"...
    FolderList files;
    ListFiles(roaming + "\\Microsoft\\Windows\\PowerShell\\PSReadLine", files);
    for (const std::string& path : files)
        if (EndsWith(Lower(NameOf(path)), "_history.txt")) RemoveFile(path);
}

void HistoryCleaner::ClearClipboardHistory() {
    if (dryRun) return; // what the history holds cannot be counted without reading it
    const ComForThisThread com;
    if (!com.usable()) return;
    switch (ClearWindowsClipboardHistory()) {
    case ClipboardHistoryResult::Unavailable: return; // Windows before 10 1809, or the history is off
    case ClipboardHistoryResult::Cleared: {
        RecordItem item;
        item.action = ItemAction::Emptied;
        item.kind = ItemKind::Clipboard;
        item.path = "Clipboard history";
        item.detail = "pinned items kept";
        Record(std::move(item));
        return;
    }
    case ClipboardHistoryResult::Refused:
        RecordLeft(ItemKind::Clipboard, "Clipboard history", LeftReason::Failed, "Windows refused to clear it");
        return;
    }
}

void HistoryCleaner::ClearTimeline() {
    const std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
    if (local.empty()) return;
    // One folder per account that Windows has seen; the service that fills the database holds it
    // while it runs, and then it is left and said so.
    FolderList accounts;
    ListSubfolders(local + "\\ConnectedDevicesPlatform", accounts);
    DatabaseJob job;
    job.statements = {"DELETE FROM Activity", "DELETE FROM ActivityOperation", "DELETE FROM Activity_PackageId",
                      "DELETE FROM ActivityAssetCache"};
    for (const std::string& account : accounts) {
        const std::string database = account + "\\ActivitiesCache.db";
        if (GetFileAttributesA(database.c_str()) != INVALID_FILE_ATTRIBUTES) CleanDatabase(*this, database, job);
    }
}

void HistoryCleaner::ResetJumpLists() {
    const std::string roaming = ShellFolder(CSIDL_APPDATA);
    if (roaming.empty()) return;
    // Every jump list with its pins, and Quick Access's pinned folders with them.
    for (const char* folder : {"AutomaticDestinations", "CustomDestinations"})
        EmptyFolder(roaming + "\\Microsoft\\Windows\\Recent\\" + folder, true);
}

void HistoryCleaner::ClearShellBags() {
    // Explorer's memory of every folder opened and how it was shown, in the user's hive and in
    // the classes hive ("UsrClass.dat") that Windows maps below Local Settings.
    for (const char* key : {"Software\\Microsoft\\Windows\\Shell\\BagMRU", "Software\\Microsoft\\Windows\\Shell\\Bags",
                            "Software\\Microsoft\\Windows\\ShellNoRoam\\BagMRU",
                            "Software\\Microsoft\\Windows\\ShellNoRoam\\Bags",
                            "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\BagMRU",
                            "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\Bags"})
        DeleteRegistryTree(HKEY_CURRENT_USER, key);
}

void HistoryCleaner::ClearJumpListEntries() {
    if (dryRun) return; // only the shell knows which entries it would remove
    const std::string roaming = ShellFolder(CSIDL_APPDATA);
    if (roaming.empty()) return;
    const ComForThisThread com;
    if (!com.usable()) return;
    // Whether the shell offers it at all (Windows 7 and later).
    {
        ComRelease<IApplicationDestinations> probe;
        if (FAILED(CoCreateInstance(CLSID_ApplicationDestinations, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IApplicationDestinations, reinterpret_cast<void**>(&probe.object))))
            return;
    }
    // Every program the user starts from the Start menu or the taskbar, and Explorer (Quick Access).
    std::vector<std::string> ids = {"Microsoft.Windows.Explorer"};
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        RegKey registered;
        if (registered.Open(root, "Software\\Classes\\AppUserModelId", KEY_READ) == ERROR_SUCCESS)
            for (const std::string& id : registered.SubkeyNames()) ids.push_back(id);
    }
    const std::vector<KnownFolder> knownFolders = ProgramKnownFolders();
    FolderList folders;
    for (int csidl : {CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU, CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY}) {
        const std::string folder = ShellFolder(csidl);
        if (folder.empty()) continue;
        folders.push_back(folder);
        ListSubfoldersDeep(folder, folders);
    }
    const std::string pinned = roaming + "\\Microsoft\\Internet Explorer\\Quick Launch\\User Pinned";
    folders.push_back(pinned);
    ListSubfoldersDeep(pinned, folders);
    for (const std::string& folder : folders) {
        FolderList files;
        ListFiles(folder, files);
        for (const std::string& path : files)
            if (EndsWith(Lower(path), ".lnk")) ids.push_back(AppIdOfShortcut(path, knownFolders));
    }

    const std::string automatic = roaming + "\\Microsoft\\Windows\\Recent\\AutomaticDestinations";
    const auto before = DestinationFiles(*this, automatic);
    for (const std::string& id : DistinctAppIds(ids)) {
        // One object per program: its ID can be set once.
        ComRelease<IApplicationDestinations> destinations;
        if (FAILED(CoCreateInstance(CLSID_ApplicationDestinations, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IApplicationDestinations, reinterpret_cast<void**>(&destinations.object))))
            break;
        if (SUCCEEDED(destinations.object->SetAppID(Wide(id, CP_UTF8).c_str())))
            destinations.object->RemoveAllDestinations();
    }
    const auto after = DestinationFiles(*this, automatic);
    for (const auto& [path, state] : before) {
        const auto now = after.find(path);
        if (now != after.end() && now->second == state) continue;
        RecordItem item;
        item.action = ItemAction::Edited;
        item.kind = ItemKind::File;
        item.path = path;
        item.detail = "recent and frequent entries; pinned ones kept";
        if (now != after.end() && state.first > now->second.first) item.bytes = state.first - now->second.first;
        Record(std::move(item));
    }
}
