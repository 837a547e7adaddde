#include "engine/file_entry.h"

#include "engine/walk_rules.h"

namespace {

using GetFinalPathNameByHandleWFn = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
using SetFileInformationByHandleFn = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
using GetFileInformationByHandleExFn = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
constexpr int kFileBasicInfo = 0;
constexpr int kFileStandardInfo = 1;
constexpr int kFileDispositionInfo = 4;
constexpr int kFileAttributeTagInfo = 9;
constexpr int kFileInternalInformation = 6; // NtQueryInformationFile's class: the file's number

using NtQueryInformationFileFn = LONG(WINAPI*)(HANDLE, void* /*IO_STATUS_BLOCK*/, void*, ULONG, int);

// The layouts of FILE_BASIC_INFO and FILE_STANDARD_INFO, which XP's headers lack.
struct BasicInfo {
    LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime;
    DWORD fileAttributes;
};
struct AttributeTagInfo {
    DWORD fileAttributes;
    DWORD reparseTag;
};
struct StandardInfo {
    LARGE_INTEGER allocationSize, endOfFile;
    DWORD numberOfLinks;
    BOOLEAN deletePending, directory;
};

// These arrived with Vista: looked up, never imported, so that the program still starts on XP.
template <class Fn> Fn Kernel32Function(const char* name) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name))) : nullptr;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos) return {};
    // An entry in a drive's root: "C:" alone would name the current folder of that drive.
    if (slash == 2 && path[1] == ':') return path.substr(0, 3);
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The entry's own long name: a path handed in by a cleaner may spell it in 8.3 form.
std::string LongNameOf(const std::string& path) {
    char buffer[MAX_PATH * 2];
    const DWORD length = GetLongPathNameA(path.c_str(), buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return {};
    return NameOf(buffer);
}

} // namespace

std::string FinalPathOf(HANDLE handle) {
    // The wide function, asked once with room enough: Wine's ANSI one asks the wide one twice (for
    // the length, then for the name), and each time Wine makes the name anew from the Unix path.
    static const auto getFinalPath = Kernel32Function<GetFinalPathNameByHandleWFn>("GetFinalPathNameByHandleW");
    if (!getFinalPath) return {};
    std::wstring wide(MAX_PATH * 2, L'\0');
    DWORD length = getFinalPath(handle, wide.data(), static_cast<DWORD>(wide.size()), 0);
    if (length >= wide.size()) {
        wide.resize(length + 1);
        length = getFinalPath(handle, wide.data(), static_cast<DWORD>(wide.size()), 0);
    }
    if (length == 0 || length >= wide.size()) return {};
    // In the code page of the paths it is compared with, as the ANSI function gives it.
    const UINT codePage = AreFileApisANSI() ? CP_ACP : CP_OEMCP;
    const int size = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string path(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(length), path.data(), size, nullptr, nullptr);
    return path;
}

std::string FinalPathOfFolder(const std::string& folder) {
    FileEntry entry;
    if (!entry.Open(folder, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE))
        return {};
    return FinalPathOf(entry.handle());
}

std::string FinalPathOfFolderOf(const std::string& path) { return FinalPathOfFolder(FolderOf(path)); }

bool FileEntry::Open(const std::string& path, DWORD access, DWORD share, DWORD flags) {
    // Backup semantics lets the same call open a folder.
    handle_.Reset(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
    return handle_.valid();
}

namespace {

struct EntryFacts {
    DWORD attributes = 0;
    DWORD links = 0;
    uint64_t size = 0;
    int64_t changeTime = 0; // known only from Vista on
    DWORD reparseTag = 0; // known only for reparse points, and only from Vista on
};

// The attributes and the number of names of an opened entry. GetFileInformationByHandle answers
// too, but it also fetches the volume's serial number, which Wine asks its mount manager for in
// another process: half a millisecond for every file of a folder being emptied.
bool ReadEntryFacts(HANDLE handle, EntryFacts& facts) {
    static const auto getInformation =
        Kernel32Function<GetFileInformationByHandleExFn>("GetFileInformationByHandleEx");
    if (getInformation) {
        BasicInfo basic{};
        StandardInfo standard{};
        if (getInformation(handle, kFileBasicInfo, &basic, sizeof basic) &&
            getInformation(handle, kFileStandardInfo, &standard, sizeof standard)) {
            facts.attributes = basic.fileAttributes;
            facts.links = standard.numberOfLinks;
            facts.size = static_cast<uint64_t>(standard.endOfFile.QuadPart);
            facts.changeTime = basic.changeTime.QuadPart;
            AttributeTagInfo tag{};
            if ((facts.attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                getInformation(handle, kFileAttributeTagInfo, &tag, sizeof tag))
                facts.reparseTag = tag.reparseTag;
            return true;
        }
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info)) return false;
    facts.attributes = info.dwFileAttributes;
    facts.links = info.nNumberOfLinks;
    facts.size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return true;
}

// The entry's facts, and what its attributes alone tell: Missing (nothing could be read), Link,
// Placeholder, or Plain for an ordinary entry whose path and names are still to be asked.
FileEntry::Kind ReadNature(const ScopedHandle& handle, EntryFacts& info) {
    if (!handle.valid() || !ReadEntryFacts(handle.get(), info)) return FileEntry::Kind::Missing;
    switch (NatureOf(info.attributes, info.reparseTag)) {
    case EntryNature::Link: return FileEntry::Kind::Link;
    case EntryNature::CloudPlaceholder: return FileEntry::Kind::Placeholder;
    case EntryNature::Ordinary: break;
    }
    return FileEntry::Kind::Plain;
}

} // namespace

FileEntry::Kind FileEntry::Identify(const std::string& path, const std::string& folderFinal) const {
    EntryFacts info;
    const Kind nature = ReadNature(handle_, info);
    if (nature == Kind::Missing) return nature;
    size_ = info.size;
    attributes_ = info.attributes;
    if (nature != Kind::Plain) return nature;

    const std::string entryFinal = FinalPathOf(handle_.get());
    if (!entryFinal.empty()) {
        const std::string folder = folderFinal.empty() ? FinalPathOfFolder(FolderOf(path)) : folderFinal;
        if (!folder.empty() && !IsEntryOfFolder(entryFinal, folder, NameOf(path))) {
            const std::string longName = LongNameOf(path);
            if (longName.empty() || !IsEntryOfFolder(entryFinal, folder, longName)) return Kind::Link;
        }
    }
    if (!(info.attributes & FILE_ATTRIBUTE_DIRECTORY) && info.links > 1) return Kind::SeveralNames;
    return Kind::Plain;
}

namespace {

// The file's number on its volume (NTFS's file reference, the inode on Wine), through ntdll, which
// has answered it since NT 3.1: GetFileInformationByHandle would also fetch the volume's serial.
bool FileNumberOf(HANDLE handle, uint64_t& number) {
    static const auto query = [] {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll ? reinterpret_cast<NtQueryInformationFileFn>(
                           reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryInformationFile")))
                     : nullptr;
    }();
    if (!query) return false;
    ULONG_PTR status[2] = {};
    LARGE_INTEGER index{};
    if (query(handle, status, &index, sizeof index, kFileInternalInformation) < 0) return false;
    number = static_cast<uint64_t>(index.QuadPart);
    return true;
}

} // namespace

FileEntry::Kind FileEntry::IdentifyAs(HANDLE pinned) const {
    EntryFacts info, pinnedInfo;
    const Kind nature = ReadNature(handle_, info);
    if (nature == Kind::Missing) return nature;
    size_ = info.size;
    attributes_ = info.attributes;
    if (nature != Kind::Plain) return nature;
    uint64_t number = 0, pinnedNumber = 0;
    // Without the numbers nothing ties the two: a link. The change times are known from Vista on
    // (XP has no links to files that a file number would not tell apart).
    if (!ReadEntryFacts(pinned, pinnedInfo) || !FileNumberOf(handle_.get(), number) ||
        !FileNumberOf(pinned, pinnedNumber) || number != pinnedNumber ||
        info.changeTime != pinnedInfo.changeTime)
        return Kind::Link;
    if (!(info.attributes & FILE_ATTRIBUTE_DIRECTORY) && info.links > 1) return Kind::SeveralNames;
    return Kind::Plain;
}

bool FileEntry::Delete(const std::string& path) {
    static const auto setInformation =
        Kernel32Function<SetFileInformationByHandleFn>("SetFileInformationByHandle");
    if (setInformation) {
        // Through the handle that was checked: nothing can be swapped in under the name meanwhile.
        BOOL deleteIt = TRUE;
        const bool deleted =
            setInformation(handle_.get(), kFileDispositionInfo, &deleteIt, sizeof deleteIt) != FALSE;
        Close();
        return deleted;
    }
    Close();
    return DeleteFileA(path.c_str()) != FALSE;
}
