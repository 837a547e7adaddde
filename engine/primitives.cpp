// Folder walks, registry deletion and lookups, and key security: the pieces every cleaner is
// built from.
#include <cstring>

#include "engine/file_entry.h"
#include "engine/history_cleaner.h"
#include "engine/walk_rules.h"
#include "platform/handles.h"
#include "platform/system_library.h"

namespace {

bool IsFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

using RegDeleteKeyExAFn = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);

// Absent before XP x64 and Vista, so never imported: looked up at each call.
RegDeleteKeyExAFn FindRegDeleteKeyEx() {
    HMODULE advapi = GetModuleHandleA("Advapi32.dll");
    if (!advapi) advapi = LoadSystemLibrary("advapi32.dll");
    if (!advapi) return nullptr;
    return reinterpret_cast<RegDeleteKeyExAFn>(
        reinterpret_cast<void*>(GetProcAddress(advapi, "RegDeleteKeyExA")));
}

bool DeleteOneKey(HKEY root, const std::string& key, REGSAM view, RegDeleteKeyExAFn deleteKeyEx) {
    if (view == 0) return RegDeleteKeyA(root, key.c_str()) == ERROR_SUCCESS;
    return deleteKeyEx(root, key.c_str(), view, 0) == ERROR_SUCCESS;
}

bool DeleteTree(HKEY root, const std::string& key, REGSAM view, RegDeleteKeyExAFn deleteKeyEx) {
    // Windows 9x removes a whole tree here; NT only a key without subkeys.
    if (DeleteOneKey(root, key, view, deleteKeyEx)) return true;
    RegKey parent;
    const LONG opened = parent.Open(root, key, KEY_READ | view);
    if (opened != ERROR_SUCCESS) return opened == ERROR_FILE_NOT_FOUND;
    const std::string prefix = RegistryChildPrefix(key);
    std::string previous;
    for (;;) {
        char name[260];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(parent.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        // The child at index 0 is gone after a successful deletion; one that comes back (seen
        // through another view, say) would loop for ever.
        if (name == previous) break;
        previous = name;
        if (!DeleteTree(root, prefix + name, view, deleteKeyEx)) break;
    }
    parent.Close();
    return DeleteOneKey(root, key, view, deleteKeyEx);
}

// key + "\\" + name of every subkey of HKCU\key, in enumeration order; empty when the key
// cannot be opened.
FolderList CollectSubkeysForDeletion(const std::string& key) {
    FolderList paths;
    RegKey parent;
    if (parent.Open(HKEY_CURRENT_USER, key, KEY_READ) != ERROR_SUCCESS) return paths;
    for (const std::string& name : parent.SubkeyNames()) paths.push_back(key + "\\" + name);
    return paths;
}

// The string value `name` of an open key, as far as the 16383-byte buffer goes.
bool ReadStringValue(HKEY key, const char* name, std::string& value) {
    std::vector<char> buffer(16383, 0);
    DWORD size = static_cast<DWORD>(buffer.size());
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    value.assign(buffer.data(), size > 0 ? size - 1 : 0);
    return true;
}

void ReadValuesInto(const std::string& key, std::initializer_list<const char*> names, FolderList& list) {
    RegKey opened;
    if (opened.Open(HKEY_CURRENT_USER, key, KEY_READ) != ERROR_SUCCESS) return;
    for (const char* name : names) {
        std::string value;
        if (ReadStringValue(opened.get(), name, value)) list.push_back(value);
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Folder walks

// The folder a walk is in. Its final path is what every entry found in it must sit under; it is
// looked up once, when the first removal needs it, and only for the length of that walk.
class HistoryCleaner::WalkedFolder {
public:
    explicit WalkedFolder(const std::string& path) : path(path) {}
    const std::string& path;
    const std::string& Final() const {
        if (!known_) final_ = FinalPathOfFolder(path), known_ = true;
        return final_;
    }

private:
    mutable std::string final_;
    mutable bool known_ = false;
};

// Calls visit(name, attributes, walkedFolder) for every entry of `folder` except "." and "..", in
// the order the file system gives them. The search stays open while visit recurses.
template <class Visit> void HistoryCleaner::ForEachEntry(const std::string& folder, Visit&& visit) {
    if (folder.empty()) return; // an unresolved shell folder must never become the drive's root
    // The folder a walk starts in is asked what it is like every entry below it: a Temp or
    // Cookies folder that is itself a junction would have the walk empty what it leads to.
    if (walkDepth_ == 0 && !IsWalkableRoot(folder)) return;
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    } depth(walkDepth_);
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA((folder + "\\*.*").c_str(), &found));
    if (!search.valid()) return;
    const WalkedFolder walked(folder);
    do {
        const char* name = found.cFileName;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        // A junction or symbolic link leads out of the tree being cleaned: neither enter nor
        // delete it (on Wine DeleteFileA through a Unix symlink even removes the target). A cloud
        // placeholder is the user's file kept online. A file the system compressed is a file.
        // The search's own word on a reparse point is not taken (Wine fills dwReserved0 with
        // anything): the entry itself is asked, which costs an open only for reparse points.
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            FileEntry entry;
            if (!entry.Open(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE))
                continue;
            const FileEntry::Kind kind = entry.Identify(path, walked.Final());
            if (kind == FileEntry::Kind::Link || kind == FileEntry::Kind::Placeholder) continue;
        } else if (NatureOf(found.dwFileAttributes, 0) != EntryNature::Ordinary) {
            continue;
        }
        visit(std::string(name), found.dwFileAttributes, walked);
    } while (FindNextFileA(search.get(), &found));
}

bool HistoryCleaner::IsWalkableRoot(const std::string& folder) {
    // A folder named with a trailing backslash (as the registry often names them) is asked by its
    // own name; a drive's root is no link.
    std::string path = folder;
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    if (path.size() <= 3 && path.size() >= 2 && path[1] == ':') return true;
    FileEntry root;
    if (!root.Open(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE))
        return true; // not there: the search finds nothing either
    const FileEntry::Kind kind = root.Identify(path);
    return kind != FileEntry::Kind::Link && kind != FileEntry::Kind::Placeholder;
}

void HistoryCleaner::ListSubfoldersDeep(const std::string& folder, FolderList& list) {
    ForEachEntry(folder, [&](const std::string& name, DWORD attributes, const WalkedFolder&) {
        if (!IsFolder(attributes)) return;
        const std::string path = folder + "\\" + name;
        list.push_back(path);
        ListSubfoldersDeep(path, list);
    });
}

void HistoryCleaner::ListSubfolders(const std::string& folder, FolderList& list) {
    ForEachEntry(folder, [&](const std::string& name, DWORD attributes, const WalkedFolder&) {
        if (IsFolder(attributes)) list.push_back(folder + "\\" + name);
    });
}

void HistoryCleaner::ListFiles(const std::string& folder, FolderList& list) {
    ForEachEntry(folder, [&](const std::string& name, DWORD attributes, const WalkedFolder&) {
        if (!IsFolder(attributes)) list.push_back(folder + "\\" + name);
    });
}

void HistoryCleaner::ApplyRemovalRule(const std::string& path, const WalkedFolder& folder, bool allowShred) {
    if (allowShred && settings->shredFiles)
        RemoveFileIn(path, folder.Final());
    else
        DeleteEntryIn(path, folder.Final()); // a file gone since the search cannot be opened: nothing happens
}

void HistoryCleaner::EmptyFolder(const std::string& folder, bool allowShred) {
    ForEachEntry(folder, [&](const std::string& name, DWORD attributes, const WalkedFolder& walked) {
        const std::string path = folder + "\\" + name;
        if (IsFolder(attributes)) {
            const uint64_t leftBefore = itemsLeft_;
            EmptyFolder(path, allowShred);
            // Fails, and stays, when something below could not be removed (and says so itself).
            if (dryRun ? itemsLeft_ == leftBefore : RemoveDirectoryA(path.c_str()) != FALSE) {
                RecordItem item;
                item.kind = ItemKind::Folder;
                item.path = path;
                Record(std::move(item));
            } else if (!dryRun && GetLastError() != ERROR_DIR_NOT_EMPTY) {
                RecordLeft(ItemKind::Folder, path, GetLastError());
            }
        } else {
            ApplyRemovalRule(path, walked, allowShred);
        }
    });
}

void HistoryCleaner::RemoveFilesBySuffix(const std::string& folder, const std::string& suffix,
                                         bool allowShred) {
    ForEachEntry(folder, [&](const std::string& name, DWORD attributes, const WalkedFolder& walked) {
        const std::string path = folder + "\\" + name;
        if (IsFolder(attributes))
            RemoveFilesBySuffix(path, suffix, allowShred);
        else if (MatchesSuffix(name, suffix))
            ApplyRemovalRule(path, walked, allowShred);
    });
}

void HistoryCleaner::RemoveFilesByPrefix(const std::string& folder, const std::string& prefix,
                                         bool allowShred) {
    ForEachEntry(folder, [&](const std::string& name, DWORD attributes, const WalkedFolder& walked) {
        if (!IsFolder(attributes) && MatchesPrefix(name, prefix))
            ApplyRemovalRule(folder + "\\" + name, walked, allowShred);
    });
}

void HistoryCleaner::RemoveFileInEachFolder(const std::string& name, const FolderList& folders) {
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        const std::string path = folder + "\\" + name;
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) RemoveFile(path);
    }
}

void HistoryCleaner::RemoveDigitNamedSFiles(const std::string& folder) {
    ForEachEntry(folder, [&](const std::string& name, DWORD attributes, const WalkedFolder& walked) {
        const std::string path = folder + "\\" + name;
        if (IsFolder(attributes))
            RemoveDigitNamedSFiles(path);
        else if (IsDigitNamedSFile(name) && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            RemoveFileIn(path, walked.Final());
    });
}

// ---------------------------------------------------------------------------------------------
// Registry

std::string RegistryRootName(HKEY root) {
    if (root == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
    if (root == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
    if (root == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
    if (root == HKEY_USERS) return "HKEY_USERS";
    return "HKEY";
}

bool DeleteRegistryTreeInView(HKEY root, const std::string& key, REGSAM view) {
    RegDeleteKeyExAFn deleteKeyEx = nullptr;
    if (view != 0) {
        deleteKeyEx = FindRegDeleteKeyEx();
        if (!deleteKeyEx) return false;
    }
    return DeleteTree(root, key, view, deleteKeyEx);
}

bool HistoryCleaner::KeyExistsInSomeView(HKEY root, const std::string& key) const {
    RegKey opened;
    if (opened.Open(root, key, KEY_READ) == ERROR_SUCCESS) return true;
    return isWow64 && opened.Open(root, key, KEY_READ | wow64OtherView) == ERROR_SUCCESS;
}

void HistoryCleaner::RecordKeyGone(HKEY root, const std::string& key, ItemKind kind, const std::string& value) {
    RecordItem item;
    item.kind = kind;
    item.path = RegistryRootName(root) + "\\" + key;
    item.detail = value;
    Record(std::move(item));
}

bool HistoryCleaner::DeleteRegistryTree(HKEY root, const std::string& key) {
    const bool existed = KeyExistsInSomeView(root, key);
    if (dryRun) {
        if (existed) RecordKeyGone(root, key, ItemKind::RegistryKey);
        return true;
    }
    // The 64-bit view first: a 32-bit process would otherwise see only its redirected copy.
    const bool deleted64 = isWow64 && DeleteRegistryTreeInView(root, key, wow64OtherView);
    const bool deletedDefault = DeleteRegistryTreeInView(root, key, 0);
    if (existed) {
        if (KeyExistsInSomeView(root, key))
            RecordLeft(ItemKind::RegistryKey, RegistryRootName(root) + "\\" + key, ERROR_ACCESS_DENIED);
        else
            RecordKeyGone(root, key, ItemKind::RegistryKey);
    }
    return deletedDefault || deleted64;
}

void HistoryCleaner::DeleteRegistryKey(HKEY root, const std::string& key) {
    const bool existed = KeyExistsInSomeView(root, key);
    if (dryRun) {
        if (existed) RecordKeyGone(root, key, ItemKind::RegistryKey);
        return;
    }
    RegDeleteKeyA(root, key.c_str());
    if (isWow64)
        if (RegDeleteKeyExAFn deleteKeyEx = FindRegDeleteKeyEx()) deleteKeyEx(root, key.c_str(), wow64OtherView, 0);
    if (!existed) return;
    if (KeyExistsInSomeView(root, key))
        RecordLeft(ItemKind::RegistryKey, RegistryRootName(root) + "\\" + key, ERROR_ACCESS_DENIED);
    else
        RecordKeyGone(root, key, ItemKind::RegistryKey);
}

void HistoryCleaner::DeleteRegistryValue(const std::string& key, const std::string& name) {
    RegKey opened;
    if (opened.Open(HKEY_CURRENT_USER, key, KEY_WRITE | KEY_QUERY_VALUE) != ERROR_SUCCESS) return;
    bool existed = RegQueryValueExA(opened.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    LONG deleted = ERROR_FILE_NOT_FOUND;
    if (!dryRun) deleted = RegDeleteValueA(opened.get(), name.c_str());
    opened.Close();
    if (isWow64 && opened.Open(HKEY_CURRENT_USER, key, KEY_WRITE | KEY_QUERY_VALUE | wow64OtherView) == ERROR_SUCCESS) {
        if (RegQueryValueExA(opened.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            existed = true;
        if (!dryRun && RegDeleteValueA(opened.get(), name.c_str()) == ERROR_SUCCESS) deleted = ERROR_SUCCESS;
    }
    if (!existed) return;
    if (dryRun || deleted == ERROR_SUCCESS)
        RecordKeyGone(HKEY_CURRENT_USER, key, ItemKind::RegistryValue, name);
    else
        RecordLeft(ItemKind::RegistryValue, RegistryRootName(HKEY_CURRENT_USER) + "\\" + key, static_cast<DWORD>(deleted), name);
}

void HistoryCleaner::DeleteAllSubkeys(const std::string& key) {
    const FolderList paths = CollectSubkeysForDeletion(key);
    if (paths.empty()) return;
    RegKey writable;
    if (writable.Open(HKEY_CURRENT_USER, key, KEY_WRITE) != ERROR_SUCCESS) return;
    for (const std::string& path : paths) DeleteRegistryTree(HKEY_CURRENT_USER, path);
}

void HistoryCleaner::DeleteValuesByPrefix(const std::string& key, const std::string& prefix) {
    for (const REGSAM view : {REGSAM(0), isWow64 ? wow64OtherView : REGSAM(0)}) {
        RegKey opened;
        if (opened.Open(HKEY_CURRENT_USER, key, KEY_READ | KEY_SET_VALUE | view) != ERROR_SUCCESS) continue;
        // Names first: deleting while enumerating by index would skip the value after each one.
        std::vector<std::string> names;
        for (const std::string& name : opened.ValueNames())
            if (MatchesPrefix(name, prefix)) names.push_back(name);
        for (const std::string& name : names) {
            const LONG deleted = dryRun ? ERROR_SUCCESS : RegDeleteValueA(opened.get(), name.c_str());
            if (deleted == ERROR_SUCCESS)
                RecordKeyGone(HKEY_CURRENT_USER, key, ItemKind::RegistryValue, name);
            else
                RecordLeft(ItemKind::RegistryValue, RegistryRootName(HKEY_CURRENT_USER) + "\\" + key,
                           static_cast<DWORD>(deleted), name);
        }
        if (!isWow64) break;
    }
}

void HistoryCleaner::DeleteSubkeyUnderEach(const std::string& key, const std::string& child) {
    const FolderList paths = CollectSubkeysForDeletion(key);
    if (paths.empty()) return;
    RegKey writable;
    if (writable.Open(HKEY_CURRENT_USER, key, KEY_WRITE) != ERROR_SUCCESS) return;
    for (const std::string& path : paths) DeleteRegistryTree(HKEY_CURRENT_USER, path + "\\" + child);
}

void HistoryCleaner::ReadInstallDirectories(const std::string& key, FolderList& list) {
    RegKey versions;
    if (versions.Open(HKEY_CURRENT_USER, key, KEY_READ) != ERROR_SUCCESS) return;
    for (const std::string& name : versions.SubkeyNames()) {
        RegKey main;
        if (main.Open(HKEY_CURRENT_USER, key + "\\" + name + "\\Main", KEY_READ) != ERROR_SUCCESS) continue;
        std::string directory;
        if (ReadStringValue(main.get(), "Install Directory", directory)) list.push_back(directory);
    }
}

void HistoryCleaner::ReadLastDirectories(const std::string& key, FolderList& list) {
    ReadValuesInto(key, {"Last Directory2", "Last Directory3"}, list);
}

void HistoryCleaner::ReadFolderValue(const std::string& key, FolderList& list) {
    ReadValuesInto(key, {"Folder"}, list);
}

// ---------------------------------------------------------------------------------------------
// Security

PSID HistoryCleaner::GetCurrentUserSid() {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return nullptr;
    const ScopedHandle token(opened);
    HANDLE heap = GetProcessHeap();
    PSID result = nullptr;
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size) &&
        GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        auto* user = static_cast<TOKEN_USER*>(HeapAlloc(heap, 0, size));
        if (user) {
            if (GetTokenInformation(token.get(), TokenUser, user, size, &size)) {
                const DWORD length = GetLengthSid(user->User.Sid);
                result = HeapAlloc(heap, 0, length);
                if (result && !CopySid(length, result, user->User.Sid)) {
                    HeapFree(heap, 0, result);
                    result = nullptr;
                }
            }
            HeapFree(heap, 0, user);
        }
    }
    return result;
}

std::string HistoryCleaner::FormatSid(PSID sid) {
    if (!sid || !IsValidSid(sid)) return {};
    const SID_IDENTIFIER_AUTHORITY* authority = GetSidIdentifierAuthority(sid);
    std::vector<uint32_t> subAuthorities;
    const UCHAR count = *GetSidSubAuthorityCount(sid);
    for (UCHAR i = 0; i < count; ++i) subAuthorities.push_back(*GetSidSubAuthority(sid, i));
    return FormatSidText(authority->Value[5], subAuthorities);
}

PSECURITY_DESCRIPTOR HistoryCleaner::SaveKeySecurity(HKEY root, const std::string& key) {
    RegKey opened;
    if (opened.Open(root, key, READ_CONTROL) != ERROR_SUCCESS) return nullptr;
    DWORD size = 0;
    if (RegGetKeySecurity(opened.get(), DACL_SECURITY_INFORMATION, nullptr, &size) !=
        ERROR_INSUFFICIENT_BUFFER)
        return nullptr;
    HANDLE heap = GetProcessHeap();
    PSECURITY_DESCRIPTOR descriptor = HeapAlloc(heap, 0, size);
    if (!descriptor) return nullptr;
    if (RegGetKeySecurity(opened.get(), DACL_SECURITY_INFORMATION, descriptor, &size) != ERROR_SUCCESS) {
        HeapFree(heap, 0, descriptor);
        return nullptr;
    }
    return descriptor;
}

bool HistoryCleaner::BuildFullAccessSecurity(PSID userSid, PSECURITY_DESCRIPTOR descriptor, PACL* acl) {
    *acl = nullptr;
    if (!userSid || !IsValidSid(userSid)) return false;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID system = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system))
        return false;
    HANDLE heap = GetProcessHeap();
    const DWORD userLength = GetLengthSid(userSid);
    const DWORD systemLength = GetLengthSid(system);
    const DWORD aclLength = userLength + systemLength + 24;
    auto* list = static_cast<PACL>(HeapAlloc(heap, HEAP_ZERO_MEMORY, aclLength));
    bool ok = list && InitializeAcl(list, aclLength, ACL_REVISION);
    for (PSID sid : {userSid, system}) {
        if (!ok) break;
        // ACE header, access mask, then the SID itself.
        const DWORD sidLength = GetLengthSid(sid);
        const DWORD aceLength = 8 + sidLength;
        std::vector<BYTE> ace(aceLength);
        auto* header = reinterpret_cast<ACE_HEADER*>(ace.data());
        header->AceType = ACCESS_ALLOWED_ACE_TYPE;
        header->AceFlags = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
        header->AceSize = static_cast<WORD>(aceLength);
        const DWORD mask = KEY_ALL_ACCESS;
        std::memcpy(ace.data() + 4, &mask, 4);
        std::memcpy(ace.data() + 8, sid, sidLength);
        ok = AddAce(list, ACL_REVISION, MAXDWORD, ace.data(), aceLength) != FALSE;
    }
    ok = ok && InitializeSecurityDescriptor(descriptor, SECURITY_DESCRIPTOR_REVISION) &&
         SetSecurityDescriptorDacl(descriptor, TRUE, list, FALSE);
    FreeSid(system);
    if (list) *acl = list; // the descriptor points into it: the caller frees it after use
    return ok;
}

void HistoryCleaner::SetKeySecurity(HKEY root, const std::string& key, PSECURITY_DESCRIPTOR descriptor,
                                    bool recursive) {
    if (dryRun) return; // a preview changes no key's rights
    {
        RegKey opened;
        if (opened.Open(root, key, WRITE_DAC) == ERROR_SUCCESS)
            RegSetKeySecurity(opened.get(), DACL_SECURITY_INFORMATION, descriptor);
    }
    if (!recursive) return;
    // Top-down: the parent's new DACL is what lets us open it to reach its children.
    RegKey parent;
    if (parent.Open(root, key, KEY_READ) != ERROR_SUCCESS) return;
    DWORD count = 0;
    if (RegQueryInfoKeyA(parent.get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0; index < count; ++index) {
        char name[261];
        const LONG read = RegEnumKeyA(parent.get(), index, name, sizeof name);
        if (read == ERROR_NO_MORE_ITEMS) break;
        if (read != ERROR_SUCCESS) continue;
        SetKeySecurity(parent.get(), name, descriptor, true);
    }
}
