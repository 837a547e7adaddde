// The Internet Explorer family cleaners against registry trees, shell folders and WinINet cache
// entries that the tests build in the sandboxed prefix. Beside every trace lies a canary that must
// survive the cleaner.
#include <gtest/gtest.h>

#include "engine/history_cleaner.h"
#include "tests/wine/engine_support.h"

#include <objbase.h>
#include <shlobj.h>
#include <urlhist.h>
#include <wininet.h>

#include <algorithm>
#include <map>
#include <thread>

namespace {

const HKEY kUser = HKEY_CURRENT_USER;
const std::string kIE = "Software\\Microsoft\\Internet Explorer";
const std::string kStorageRoot = "Software\\Microsoft\\Protected Storage System Provider";
const std::string kAutoComplete = "e161255a-37c3-11d2-bcaa-00c04fd929db";

struct IE : ::testing::Test {
    ProgramSettings settings;
    HistoryCleaner cleaner{&settings};
    void SetUp() override { settings.ApplyDefaults(); }
};

bool FolderIsEmpty(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return true;
    bool empty = true;
    do {
        if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..") empty = false;
    } while (empty && FindNextFileA(search, &found));
    FindClose(search);
    return empty;
}

// ---- Key security

struct Sid {
    PSID sid = nullptr;
    Sid() {
        HANDLE token;
        OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        buffer.resize(size);
        GetTokenInformation(token, TokenUser, buffer.data(), size, &size);
        CloseHandle(token);
        sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    }
    std::vector<BYTE> buffer;
};

// An ACL granting `sid` the given rights, or an empty ACL (nobody has access) without a SID.
std::vector<BYTE> MakeAcl(PSID sid = nullptr, DWORD access = 0) {
    std::vector<BYTE> acl(256);
    InitializeAcl(reinterpret_cast<PACL>(acl.data()), static_cast<DWORD>(acl.size()), ACL_REVISION);
    if (sid) AddAccessAllowedAce(reinterpret_cast<PACL>(acl.data()), ACL_REVISION, access, sid);
    return acl;
}

bool SetKeyDacl(HKEY root, const std::string& path, std::vector<BYTE>& acl) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return false;
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, reinterpret_cast<PACL>(acl.data()), FALSE);
    const bool ok = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

// The key's DACL, byte for byte (empty when it cannot be read).
std::vector<BYTE> KeyDacl(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, READ_CONTROL, &key) != ERROR_SUCCESS) return {};
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    std::vector<BYTE> descriptor(size);
    std::vector<BYTE> result;
    if (size && RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor.data(), &size) == ERROR_SUCCESS) {
        BOOL present = FALSE, defaulted = FALSE;
        PACL acl = nullptr;
        if (GetSecurityDescriptorDacl(descriptor.data(), &present, &acl, &defaulted) && present && acl)
            result.assign(reinterpret_cast<BYTE*>(acl), reinterpret_cast<BYTE*>(acl) + acl->AclSize);
    }
    RegCloseKey(key);
    return result;
}

bool CanRead(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Takes a key tree back whatever its DACL, and removes it (test cleanup).
void ForceDeleteTree(HKEY root, const std::string& path, PSID sid) {
    std::vector<BYTE> full = MakeAcl(sid, KEY_ALL_ACCESS);
    SetKeyDacl(root, path, full);
    for (const std::string& name : SubkeyNames(root, path)) ForceDeleteTree(root, path + "\\" + name, sid);
    DeleteKeyTree(root, path);
}

// The user's Protected Storage tree, removed with its DACLs at the end.
struct ProtectedStorage : IE {
    Sid user;
    std::string key; // below HKEY_CURRENT_USER
    std::string data;
    void SetUp() override {
        IE::SetUp();
        key = kStorageRoot + "\\" + cleaner.FormatSid(user.sid);
        data = key + "\\Data";
        ForceDeleteTree(kUser, kStorageRoot, user.sid);
    }
    void TearDown() override { ForceDeleteTree(kUser, kStorageRoot, user.sid); }
};

TEST_F(ProtectedStorage, AutoCompleteTypeGoesThroughItsDenyingAclAndTheUserKeyGetsItsDaclBack) {
    const std::string autoComplete = data + "\\" + kAutoComplete;
    const std::string otherType = data + "\\5e7e8100-9138-11d1-945a-00c04fc308ff";
    const std::string otherUser = kStorageRoot + "\\S-1-5-21-7-7-7-1234";
    ASSERT_TRUE(SetString(kUser, autoComplete + "\\sub1\\item1", "Behavior", "1"));
    ASSERT_TRUE(SetString(kUser, autoComplete + "\\sub1\\item2", "Behavior", "1"));
    ASSERT_TRUE(SetString(kUser, autoComplete + "\\sub2\\item3\\deeper", "x", "y"));
    ASSERT_TRUE(SetString(kUser, otherType + "\\sub\\item", "Behavior", "kept"));
    ASSERT_TRUE(SetString(kUser, otherUser + "\\Data\\" + kAutoComplete + "\\sub\\item", "x", "other user"));

    // Nobody may read the AutoComplete tree, and the user may only read their own key.
    std::vector<BYTE> none = MakeAcl();
    for (const std::string& k : {autoComplete + "\\sub1\\item1", autoComplete + "\\sub1\\item2",
                                 autoComplete + "\\sub1", autoComplete + "\\sub2\\item3\\deeper",
                                 autoComplete + "\\sub2\\item3", autoComplete + "\\sub2", autoComplete})
        ASSERT_TRUE(SetKeyDacl(kUser, k, none)) << k;
    std::vector<BYTE> readOnly = MakeAcl(user.sid, KEY_READ);
    ASSERT_TRUE(SetKeyDacl(kUser, key, readOnly));
    std::vector<BYTE> siblingAcl = MakeAcl(user.sid, KEY_READ | KEY_SET_VALUE | WRITE_DAC);
    ASSERT_TRUE(SetKeyDacl(kUser, otherType, siblingAcl));
    const std::vector<BYTE> keyDaclBefore = KeyDacl(kUser, key);
    const std::vector<BYTE> siblingDaclBefore = KeyDacl(kUser, otherType);
    ASSERT_FALSE(keyDaclBefore.empty());
    // Without the take-over the tree stays where it is.
    ASSERT_FALSE(CanRead(kUser, autoComplete));
    ASSERT_FALSE(DeleteRegistryTreeInView(kUser, autoComplete, 0));
    ASSERT_TRUE(KeyExists(kUser, autoComplete + "\\sub1"));

    cleaner.ClearIEProtectedStorage();

    EXPECT_FALSE(KeyExists(kUser, autoComplete));
    EXPECT_TRUE(ValueExists(kUser, otherType + "\\sub\\item", "Behavior"));
    EXPECT_TRUE(KeyExists(kUser, otherUser + "\\Data\\" + kAutoComplete + "\\sub\\item"));
    EXPECT_EQ(KeyDacl(kUser, key), keyDaclBefore);
    EXPECT_EQ(KeyDacl(kUser, otherType), siblingDaclBefore);
    // "Data" keeps the rights it was given: the user's and the system's full access.
    const std::vector<BYTE> dataDacl = KeyDacl(kUser, data);
    ASSERT_GE(dataDacl.size(), sizeof(ACL));
    EXPECT_EQ(reinterpret_cast<const ACL*>(dataDacl.data())->AceCount, 2);
    EXPECT_NE(dataDacl, keyDaclBefore);
}

TEST_F(ProtectedStorage, WindowsNineXTreeBelowTheMachineKeyByLogonName) {
    char name[260];
    DWORD length = sizeof name;
    ASSERT_TRUE(GetUserNameA(name, &length));
    const std::string machine = kStorageRoot + "\\" + name + "\\Data";
    ASSERT_TRUE(SetString(HKEY_LOCAL_MACHINE, machine + "\\" + kAutoComplete + "\\sub\\item", "x", "typed"));
    ASSERT_TRUE(SetString(HKEY_LOCAL_MACHINE, machine + "\\other-type\\sub\\item", "x", "kept"));
    ASSERT_TRUE(SetString(HKEY_LOCAL_MACHINE, kStorageRoot + "\\SomebodyElse\\Data\\" + kAutoComplete, "x", "y"));
    cleaner.ClearIEProtectedStorage();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, machine + "\\" + kAutoComplete));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, machine + "\\other-type\\sub\\item", "x"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kStorageRoot + "\\SomebodyElse\\Data\\" + kAutoComplete, "x"));
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kStorageRoot);
}

// ---- MSN Explorer's items

struct MsnCase {
    bool passwords;
    bool history;
};

struct MsnStorage : ProtectedStorage, ::testing::WithParamInterface<MsnCase> {};

const char* const kSiteLogins[] = {"http://mail.example/", "https://login.example/", "ftp://files.example/"};
// Neighbours in enumeration order, so that a deletion while enumerating would skip some.
const char* const kAutoCompleteItems[] = {"fieldA", "fieldB", "HTTP://upper.example/", "ftp:/one-slash",
                                          "fieldC"};

TEST_P(MsnStorage, ItemsGoByPrefixAndOptionAndTheMarsItemStays) {
    const auto [passwords, history] = GetParam();
    if (passwords) settings.passwordsMask |= BrowserIE;
    else settings.passwordsMask &= ~BrowserIE;
    if (history) settings.historyMask |= BrowserIE;
    else settings.historyMask &= ~BrowserIE;

    const std::string msnType = data + "\\89c39569-6841-11d2-9f59-0000f8085266";
    const std::string msnSub = msnType + "\\9a6a9c60-6841-11d2-9f59-0000f8085266";
    const std::string otherSub = msnType + "\\other-subtype";
    const std::string otherType = data + "\\not-msn-type";
    ASSERT_TRUE(SetString(kUser, msnType, "Display String", "MSN"));
    ASSERT_TRUE(SetString(kUser, msnSub, "Display String", "MSN"));
    ASSERT_TRUE(SetString(kUser, otherSub, "Display String", "MSN Explorer"));
    ASSERT_TRUE(SetString(kUser, otherType, "Display String", "Other"));
    ASSERT_TRUE(SetString(kUser, otherType + "\\sub", "Display String", "MSN"));
    for (const char* item : kSiteLogins) ASSERT_TRUE(SetString(kUser, msnSub + "\\" + item, "Item Data", "pw"));
    for (const char* item : kAutoCompleteItems)
        ASSERT_TRUE(SetString(kUser, msnSub + "\\" + item + "\\deeper", "Item Data", "typed"));
    ASSERT_TRUE(SetString(kUser, msnSub + "\\MARSUSERPROTECTEDINFO", "Item Data", "account"));
    ASSERT_TRUE(SetString(kUser, otherSub + "\\http://kept.example/", "Item Data", "pw"));
    ASSERT_TRUE(SetString(kUser, otherSub + "\\fieldKept", "Item Data", "typed"));
    ASSERT_TRUE(SetString(kUser, otherType + "\\sub\\http://kept.example/", "Item Data", "pw"));
    ASSERT_TRUE(SetString(kUser, otherType + "\\sub\\fieldKept", "Item Data", "typed"));
    // An item the user may not read is left alone.
    ASSERT_TRUE(SetString(kUser, msnSub + "\\http://unreadable.example/\\x", "Item Data", "pw"));
    std::vector<BYTE> none = MakeAcl();
    ASSERT_TRUE(SetKeyDacl(kUser, msnSub + "\\http://unreadable.example/", none));
    ASSERT_FALSE(CanRead(kUser, msnSub + "\\http://unreadable.example/"));
    std::vector<BYTE> readOnly = MakeAcl(user.sid, KEY_READ);
    ASSERT_TRUE(SetKeyDacl(kUser, key, readOnly));
    const std::vector<BYTE> keyDaclBefore = KeyDacl(kUser, key);

    cleaner.ClearMSNProtectedStorage();

    for (const char* item : kSiteLogins) EXPECT_EQ(KeyExists(kUser, msnSub + "\\" + item), !passwords) << item;
    for (const char* item : kAutoCompleteItems)
        EXPECT_EQ(KeyExists(kUser, msnSub + "\\" + item), !history) << item;
    EXPECT_TRUE(ValueExists(kUser, msnSub + "\\MARSUSERPROTECTEDINFO", "Item Data"));
    EXPECT_TRUE(KeyExists(kUser, msnSub + "\\http://unreadable.example/\\x"));
    EXPECT_TRUE(ValueExists(kUser, msnSub, "Display String"));
    for (const std::string& sub : {otherSub, otherType + "\\sub"}) {
        EXPECT_TRUE(ValueExists(kUser, sub + "\\http://kept.example/", "Item Data")) << sub;
        EXPECT_TRUE(ValueExists(kUser, sub + "\\fieldKept", "Item Data")) << sub;
    }
    EXPECT_EQ(KeyDacl(kUser, key), keyDaclBefore);
}

INSTANTIATE_TEST_SUITE_P(Options, MsnStorage,
                         ::testing::Values(MsnCase{true, false}, MsnCase{false, true}, MsnCase{true, true},
                                           MsnCase{false, false}));

TEST_F(ProtectedStorage, PasswordsTakeIntelliFormsAndMsnSiteLogins) {
    settings.passwordsMask |= BrowserIE;
    settings.historyMask &= ~BrowserIE;
    const std::string msnSub = data + "\\msn-type\\msn-sub";
    ASSERT_TRUE(SetString(kUser, data + "\\msn-type", "Display String", "MSN"));
    ASSERT_TRUE(SetString(kUser, msnSub, "Display String", "MSN"));
    ASSERT_TRUE(SetString(kUser, msnSub + "\\https://bank.example/", "Item Data", "pw"));
    ASSERT_TRUE(SetString(kUser, msnSub + "\\searchbox", "Item Data", "typed"));
    ASSERT_TRUE(SetString(kUser, kIE + "\\IntelliForms", "FormSuggest Passwords", "yes"));
    ASSERT_TRUE(SetString(kUser, kIE + "\\IntelliForms\\Storage1", "hash", "x"));
    ASSERT_TRUE(SetString(kUser, kIE + "\\IntelliForms\\Storage2\\deep", "hash", "x"));
    ASSERT_TRUE(SetString(kUser, kIE + "\\IntelliFormsZltCanary", "keep", "1"));
    cleaner.ClearIEPasswords();
    EXPECT_FALSE(KeyExists(kUser, kIE + "\\IntelliForms"));
    EXPECT_TRUE(ValueExists(kUser, kIE + "\\IntelliFormsZltCanary", "keep"));
    EXPECT_FALSE(KeyExists(kUser, msnSub + "\\https://bank.example/"));
    EXPECT_TRUE(KeyExists(kUser, msnSub + "\\searchbox"));
    DeleteKeyTree(kUser, kIE + "\\IntelliFormsZltCanary");
}

// ---- History

// Seeds what ClearIEHistory removes and its canaries; Check() asserts the outcome.
struct HistoryTraces {
    const std::string typed = kIE + "\\TypedURLs";
    const std::string history = ShellFolderPath(CSIDL_HISTORY);
    const std::string besideHistory = ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\ZltBesideHistory";
    const std::string aol = ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\Aol";
    const std::string maxthon = ShellFolderPath(CSIDL_LOCAL_APPDATA) +
                                "\\VirtualStore\\Program Files\\Maxthon2\\SharedAccount\\Data\\History.dat";
    std::string storage; // the user's Protected Storage "Data" key

    void Seed(HistoryCleaner& cleaner) {
        Sid user;
        storage = kStorageRoot + "\\" + cleaner.FormatSid(user.sid) + "\\Data";
        ASSERT_TRUE(SetString(kUser, storage + "\\" + kAutoComplete + "\\sub\\item", "Item Data", "typed"));
        ASSERT_TRUE(SetString(kUser, storage + "\\msn", "Display String", "MSN"));
        ASSERT_TRUE(SetString(kUser, storage + "\\msn\\sub", "Display String", "MSN"));
        ASSERT_TRUE(SetString(kUser, storage + "\\msn\\sub\\searchbox", "Item Data", "typed"));
        ASSERT_TRUE(SetString(kUser, storage + "\\msn\\sub\\http://site.example/", "Item Data", "pw"));
        MakeFolder(maxthon.substr(0, maxthon.rfind('\\')));
        ASSERT_TRUE(MakeFile(maxthon, 100));
        ASSERT_TRUE(SetString(kUser, typed, "url1", "http://secret.example/"));
        ASSERT_TRUE(SetString(kUser, typed, "url2", "http://other.example/"));
        ASSERT_TRUE(SetString(kUser, kIE + "\\TypedURLsZltCanary", "url1", "kept"));
        ASSERT_TRUE(SetString(kUser, kIE + "\\Main", "Save Directory", "C:\\secret\\"));
        ASSERT_TRUE(SetString(kUser, kIE + "\\Main", "Start Page", "about:blank"));
        ASSERT_TRUE(SetString(kUser, kIE, "Download Directory", "C:\\downloads\\"));
        ASSERT_TRUE(SetString(kUser, kIE, "ZltCanary", "kept"));
        MakeFolder(history + "\\History.IE5\\MSHist012026120120261208");
        ASSERT_TRUE(MakeFile(history + "\\History.IE5\\MSHist012026120120261208\\visit.url", 300));
        ASSERT_TRUE(MakeFile(history + "\\desktop.ini", 50));
        MakeFolder(besideHistory);
        ASSERT_TRUE(MakeFile(besideHistory + "\\keep.txt", 10));
        MakeFolder(aol + "\\UserProfiles\\screenname\\deeper");
        ASSERT_TRUE(MakeFile(aol + "\\UserProfiles\\screenname\\deeper\\history.dat", 100));
        ASSERT_TRUE(MakeFile(aol + "\\UserProfiles\\top.txt", 100));
        ASSERT_TRUE(MakeFile(aol + "\\keep.ini", 10));
    }
    void Check() {
        EXPECT_FALSE(KeyExists(kUser, typed));
        EXPECT_TRUE(ValueExists(kUser, kIE + "\\TypedURLsZltCanary", "url1"));
        EXPECT_FALSE(ValueExists(kUser, kIE + "\\Main", "Save Directory"));
        EXPECT_TRUE(ValueExists(kUser, kIE + "\\Main", "Start Page"));
        EXPECT_FALSE(ValueExists(kUser, kIE, "Download Directory"));
        EXPECT_TRUE(ValueExists(kUser, kIE, "ZltCanary"));
        EXPECT_TRUE(PathExists(history));
        EXPECT_TRUE(FolderIsEmpty(history));
        EXPECT_TRUE(PathExists(besideHistory + "\\keep.txt"));
        EXPECT_TRUE(PathExists(aol + "\\UserProfiles"));
        EXPECT_TRUE(FolderIsEmpty(aol + "\\UserProfiles"));
        EXPECT_TRUE(PathExists(aol + "\\keep.ini"));
        // The steps for the browsers that share Internet Explorer's stores.
        EXPECT_FALSE(KeyExists(kUser, storage + "\\" + kAutoComplete));
        EXPECT_FALSE(KeyExists(kUser, storage + "\\msn\\sub\\searchbox"));
        EXPECT_TRUE(KeyExists(kUser, storage + "\\msn\\sub\\http://site.example/")); // passwords not selected
        EXPECT_FALSE(PathExists(maxthon));
        DeleteKeyTree(kUser, kStorageRoot);
    }
};

TEST_F(IE, HistoryStepsRunOnAThreadWithoutCom) {
    // A worker that never initialised COM: the history object cannot be created there.
    HistoryTraces traces;
    settings.historyMask |= BrowserIE;
    settings.passwordsMask &= ~BrowserIE;
    traces.Seed(cleaner);
    HRESULT created = S_OK;
    std::thread worker([&] {
        IUnknown* object = nullptr;
        created = CoCreateInstance(CLSID_CUrlHistory, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(&object));
        if (object) object->Release();
        cleaner.ClearIEHistory();
    });
    worker.join();
    EXPECT_TRUE(FAILED(created));
    traces.Check();
}

TEST_F(IE, HistoryStepsRunWhenTheHistoryObjectDoesNotClear) {
    // With COM the object is created; Wine's ClearHistory answers E_NOTIMPL, which is ignored.
    HistoryTraces traces;
    settings.historyMask |= BrowserIE;
    settings.passwordsMask &= ~BrowserIE;
    traces.Seed(cleaner);
    HRESULT cleared = E_FAIL;
    std::thread worker([&] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        IUrlHistoryStg2* history = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_CUrlHistory, nullptr, CLSCTX_INPROC_SERVER, IID_IUrlHistoryStg2,
                                       reinterpret_cast<void**>(&history)))) {
            cleared = history->ClearHistory();
            history->Release();
        }
        cleaner.ClearIEHistory();
        CoUninitialize();
    });
    worker.join();
    EXPECT_NE(cleared, E_FAIL) << "the history object could not be created";
    traces.Check();
}

// ---- Maxthon

const std::string kConfig =
    "[main]\r\nhome=http://start.example/\r\n[typedurls]\r\nurl1=http://secret.example/\r\n"
    "url2=http://page.example/?q=[x]\r\n[favorites]\r\nfav=1\r\n";
const std::string kConfigCleared = "[main]\r\nhome=http://start.example/\r\n[typedurls]\r\n[favorites]\r\nfav=1\r\n";

struct Maxthon : IE {
    TempFolder install;
    const std::string store =
        ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\VirtualStore\\Program Files\\Maxthon2\\SharedAccount";
    void SetUp() override {
        IE::SetUp();
        ASSERT_TRUE(SetString(kUser, "Software\\Maxthon2", "Folder", install.path()));
        for (const std::string& root : {install / "SharedAccount", store}) {
            MakeFolder(root + "\\Data");
            MakeFolder(root + "\\Config");
            for (const char* name : {"Dynamic.ini", "Form.dat", "History.dat", "LastSession.ini"})
                ASSERT_TRUE(MakeFile(root + "\\Data\\" + name, 100));
            ASSERT_TRUE(MakeFile(root + "\\Data\\Favorite.dat", 100));
            WriteTextFile(root + "\\Data\\Config.ini", kConfig);
            WriteTextFile(root + "\\Config\\Config.ini", kConfig);
        }
    }
    void TearDown() override {
        DeleteKeyTree(kUser, "Software\\Maxthon2");
        RemoveTree(ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\VirtualStore");
    }
    static std::string Text(const std::string& path) {
        const auto bytes = ReadFileBytes(path);
        return std::string(bytes.begin(), bytes.end());
    }
};

TEST_F(Maxthon, HistoryFilesGoAndTypedUrlsAreEmptiedInBothProfiles) {
    cleaner.ClearMaxthonHistory();
    for (const std::string& root : {install / "SharedAccount", store}) {
        for (const char* name : {"Dynamic.ini", "Form.dat", "History.dat", "LastSession.ini"})
            EXPECT_FALSE(PathExists(root + "\\Data\\" + name)) << root << name;
        EXPECT_TRUE(PathExists(root + "\\Data\\Favorite.dat"));
        // Cut to the new length, not just overwritten at the front.
        EXPECT_EQ(Text(root + "\\Data\\Config.ini"), kConfigCleared) << root;
        EXPECT_EQ(Text(root + "\\Config\\Config.ini"), kConfigCleared) << root;
    }
}

TEST_F(Maxthon, ConfigInUseIsPassedOverAndTheNextProfileIsStillCleared) {
    const std::string held = install / "SharedAccount\\Data\\Config.ini";
    {
        HeldFile running(held, FILE_SHARE_READ);
        ASSERT_TRUE(running.held());
        cleaner.ClearMaxthonHistory();
    }
    EXPECT_EQ(Text(held), kConfig);
    EXPECT_EQ(Text(store + "\\Data\\Config.ini"), kConfigCleared);
    EXPECT_EQ(Text(install / "SharedAccount\\Config\\Config.ini"), kConfigCleared);
}

TEST_F(Maxthon, ConfigThatStartsWithTheSectionOrHasNoUrlStaysAsItIs) {
    const std::string atStart = "[typedurls]\r\nurl1=http://secret.example/\r\n[next]\r\n";
    const std::string noUrl = "[main]\r\n[typedurls]\r\nfirst=http://a.example/\r\n[next]\r\n";
    WriteTextFile(install / "SharedAccount\\Data\\Config.ini", atStart);
    WriteTextFile(store + "\\Data\\Config.ini", noUrl);
    cleaner.ClearMaxthonTypedUrls({install / "SharedAccount\\Data", store + "\\Data", install / "missing"});
    EXPECT_EQ(Text(install / "SharedAccount\\Data\\Config.ini"), atStart);
    EXPECT_EQ(Text(store + "\\Data\\Config.ini"), noUrl);
}

TEST_F(Maxthon, EmptyFolderValueNeverReachesTheDriveRoot) {
    ASSERT_TRUE(SetString(kUser, "Software\\Maxthon2", "Folder", ""));
    // The current folder is on C:, so "\SharedAccount" would be C:\SharedAccount.
    MakeFolder("C:\\SharedAccount\\Data");
    ASSERT_TRUE(MakeFile("C:\\SharedAccount\\Data\\History.dat", 100));
    cleaner.ClearMaxthonHistory();
    EXPECT_TRUE(PathExists("C:\\SharedAccount\\Data\\History.dat"));
    EXPECT_FALSE(PathExists(store + "\\Data\\History.dat")); // the virtual store is still done
    RemoveTree("C:\\SharedAccount");
}

// ---- WinINet cache

struct CacheEntry {
    std::string url;
    DWORD type;
};

// Every entry of the URL cache, read with a buffer large enough for any of them.
std::vector<CacheEntry> CacheEntries() {
    std::vector<CacheEntry> entries;
    std::vector<uint64_t> storage(64 * 1024 / 8);
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(storage.data());
    DWORD size = 64 * 1024;
    HANDLE search = FindFirstUrlCacheEntryA(nullptr, info, &size);
    if (!search) return entries;
    do {
        entries.push_back({info->lpszSourceUrlName, info->CacheEntryType});
        size = 64 * 1024;
    } while (FindNextUrlCacheEntryA(search, info, &size));
    FindCloseUrlCache(search);
    return entries;
}

bool InCache(const std::string& url) {
    const auto entries = CacheEntries();
    return std::any_of(entries.begin(), entries.end(), [&](const CacheEntry& e) { return e.url == url; });
}

int CookieEntries() {
    int count = 0;
    for (const CacheEntry& entry : CacheEntries())
        if (entry.type & COOKIE_CACHE_ENTRY) ++count;
    return count;
}

// A page in the cache through WinINet itself: its file in Temporary Internet Files and its entry.
std::string CachePage(const std::string& url, size_t headerBytes = 0) {
    char file[MAX_PATH] = "";
    if (!CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) return {};
    if (!MakeFile(file, 2000, 'p')) return {};
    std::string header = "HTTP/1.1 200 OK\r\nX-Zlt: ";
    header += std::string(headerBytes, 'h') + "\r\n\r\n";
    FILETIME never{};
    if (!CommitUrlCacheEntryA(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY,
                              reinterpret_cast<BYTE*>(header.data()), static_cast<DWORD>(header.size()), nullptr,
                              nullptr))
        return {};
    return file;
}

bool SetPersistentCookie(const std::string& url, const std::string& cookie) {
    return InternetSetCookieA(url.c_str(), nullptr, (cookie + "; expires=Sat, 01-Jan-2050 00:00:00 GMT").c_str());
}

// A second process of this program is asked whether WinINet knows a cookie for `url`: a process
// keeps the cookies it has seen in memory, so only a fresh one shows what the store still holds.
// 1: known, 0: unknown, -1: the probe could not run.
int CookieSeenByAnotherProcess(const std::string& url) {
    char self[MAX_PATH] = "";
    if (!GetModuleFileNameA(nullptr, self, sizeof self)) return -1;
    std::string command = "\"" + std::string(self) +
                          "\" --gtest_filter=CookieProbe.DISABLED_Known --gtest_also_run_disabled_tests --gtest_brief=1";
    SetEnvironmentVariableA("ZLT_COOKIE_URL", url.c_str());
    // Its report stays out of this program's log: only its exit status counts.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                             nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process{};
    const bool started =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableA("ZLT_COOKIE_URL", nullptr);
    if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    if (!started) return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 2;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0 ? 1 : code == 1 ? 0 : -1;
}

// Runs only in the probe process; fails (exit status 1) when WinINet has no cookie for the URL.
TEST(CookieProbe, DISABLED_Known) {
    char url[1024] = "";
    ASSERT_TRUE(GetEnvironmentVariableA("ZLT_COOKIE_URL", url, sizeof url));
    char data[4096] = "";
    DWORD size = sizeof data;
    EXPECT_TRUE(InternetGetCookieA(url, nullptr, data, &size));
}

struct WinInetCache : IE {
    std::string pageFile;
    const std::string page = "http://zlt.example/page.htm";
    const std::string bigPage = "http://zlt.example/big.htm";
    const std::string canary = ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\ZltBesideCache\\keep.txt";
    void SetUp() override {
        IE::SetUp();
        pageFile = CachePage(page);
        ASSERT_FALSE(pageFile.empty());
        // Larger than the 4096-byte buffer the walk starts with.
        ASSERT_FALSE(CachePage(bigPage, 9000).empty());
        ASSERT_TRUE(SetPersistentCookie("http://zlt.example/", "session=secret"));
        ASSERT_TRUE(SetPersistentCookie("http://other.example/", "id=42"));
        MakeFolder(ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\ZltBesideCache");
        ASSERT_TRUE(MakeFile(canary, 10));
        ASSERT_TRUE(InCache(page));
        ASSERT_TRUE(InCache(bigPage));
        ASSERT_GE(CookieEntries(), 2);
    }
};

// Windows walks only the container a search pattern names, the content without one; Wine walks them
// all without one, so the patterns asked for are what shows whether cookies would be found there.
TEST_F(IE, EachCacheWalkAsksForTheContainersItsOptionNames) {
    std::vector<std::string> asked;
    cleaner.onUrlCacheSearch = [&](const char* pattern) { asked.push_back(pattern ? pattern : "(content)"); };
    cleaner.DeleteUrlCacheEntries(true);
    EXPECT_EQ(asked, std::vector<std::string>{"Cookie:"});
    asked.clear();
    cleaner.ClearIECache();
    EXPECT_EQ(asked, (std::vector<std::string>{"(content)", "Visited:"}));
    cleaner.onUrlCacheSearch = nullptr;
}

TEST_F(WinInetCache, CookieCleanerTakesTheCookiesAndLeavesEveryOtherEntry) {
    const std::string cookies = ShellFolderPath(CSIDL_COOKIES);
    MakeFolder(cookies + "\\low");
    ASSERT_TRUE(MakeFile(cookies + "\\low\\user@zlt.example[1].txt", 50));
    ASSERT_EQ(CookieSeenByAnotherProcess("http://zlt.example/"), 1);
    cleaner.ClearIECookies();
    EXPECT_EQ(CookieEntries(), 0);
    EXPECT_EQ(CookieSeenByAnotherProcess("http://zlt.example/"), 0);
    EXPECT_EQ(CookieSeenByAnotherProcess("http://other.example/"), 0);
    EXPECT_TRUE(InCache(page));
    EXPECT_TRUE(InCache(bigPage));
    EXPECT_TRUE(PathExists(pageFile));
    EXPECT_FALSE(PathExists(cookies + "\\low"));
    EXPECT_TRUE(PathExists(canary));
}

// WinINet's own cookies of example.com, a subdomain, a tracker and a device on a port, with
// example.com and the device kept: a fresh process still knows the kept ones only.
TEST_F(WinInetCache, CookieCleanerLeavesTheKeptSitesCookiesToTheEntry) {
    for (const char* url : {"http://example.com/", "http://a.example.com/", "http://tracker.test/",
                            "http://192.168.1.10:8080/", "http://notexample.com/"})
        ASSERT_TRUE(SetPersistentCookie(url, "id=KEEPTEST"));
    settings.options.SetAll("Cookies to keep", "Site", {"example.com", "192.168.1.10:8080"});
    ASSERT_EQ(CookieSeenByAnotherProcess("http://tracker.test/"), 1);
    cleaner.ClearIECookies();
    EXPECT_EQ(CookieSeenByAnotherProcess("http://example.com/"), 1);
    EXPECT_EQ(CookieSeenByAnotherProcess("http://a.example.com/"), 1);
    EXPECT_EQ(CookieSeenByAnotherProcess("http://192.168.1.10:8080/"), 1);
    EXPECT_EQ(CookieSeenByAnotherProcess("http://tracker.test/"), 0);
    EXPECT_EQ(CookieSeenByAnotherProcess("http://notexample.com/"), 0);
    EXPECT_EQ(CookieSeenByAnotherProcess("http://zlt.example/"), 0);
    // No cookie file of the others is left; index.dat is WinINet's index of the kept ones.
    std::map<std::string, std::string> files;
    FilesBelow(ShellFolderPath(CSIDL_COOKIES), files);
    for (const auto& [path, bytes] : files) {
        if (path.find("index.dat") == std::string::npos) {
            EXPECT_EQ(bytes.find("tracker.test"), std::string::npos) << path;
        }
    }
    settings.options.SetAll("Cookies to keep", "Site", {});
    cleaner.ClearIECookies();
    EXPECT_EQ(CookieSeenByAnotherProcess("http://example.com/"), 0);
}

// Last of this program's WinINet tests: emptying Temporary Internet Files takes WinINet's cache
// folders along, and it creates no entry in this process afterwards.
TEST_F(WinInetCache, CacheCleanerTakesEveryOtherEntryAndLeavesTheCookies) {
    const int cookies = CookieEntries();
    cleaner.ClearIECache();
    EXPECT_FALSE(InCache(page));
    EXPECT_FALSE(InCache(bigPage)); // reached only by growing the buffer
    EXPECT_FALSE(PathExists(pageFile));
    for (const CacheEntry& entry : CacheEntries())
        EXPECT_TRUE(entry.type & COOKIE_CACHE_ENTRY) << entry.url;
    EXPECT_EQ(CookieEntries(), cookies);
    EXPECT_EQ(CookieSeenByAnotherProcess("http://zlt.example/"), 1);
    EXPECT_TRUE(PathExists(canary));
}

// ---- Downloads, most popular sites, last session

TEST_F(IE, DownloadListIndexDatGoesInTheWholeTreeAndNothingElse) {
    const std::string windows = ShellFolderPath(CSIDL_APPDATA) + "\\Microsoft\\Windows";
    const std::string downloads = windows + "\\IEDownloadHistory";
    MakeFolder(downloads + "\\sub\\deeper");
    MakeFolder(windows + "\\IEDownloadHistoryZltCanary");
    for (const std::string& folder : {downloads, downloads + "\\sub", downloads + "\\sub\\deeper"}) {
        ASSERT_TRUE(MakeFile(folder + "\\index.dat", 5000));
        ASSERT_TRUE(MakeFile(folder + "\\other.dat", 10));
    }
    ASSERT_TRUE(MakeFile(windows + "\\IEDownloadHistoryZltCanary\\index.dat", 10));
    cleaner.ClearIEDownloads();
    for (const std::string& folder : {downloads, downloads + "\\sub", downloads + "\\sub\\deeper"}) {
        EXPECT_FALSE(PathExists(folder + "\\index.dat")) << folder;
        EXPECT_TRUE(PathExists(folder + "\\other.dat")) << folder;
    }
    EXPECT_TRUE(PathExists(windows + "\\IEDownloadHistoryZltCanary\\index.dat"));
}

TEST_F(IE, MostPopularSitesValueGoesAndItsNeighboursStay) {
    const std::string key = kIE + "\\TabbedBrowsing\\NewTabPage";
    ASSERT_TRUE(SetString(kUser, key, "MFV", "sites"));
    ASSERT_TRUE(SetDword(kUser, key, "NewTabPageShow", 1));
    cleaner.ClearIEMostPopularSites();
    EXPECT_FALSE(ValueExists(kUser, key, "MFV"));
    EXPECT_TRUE(ValueExists(kUser, key, "NewTabPageShow"));
}

TEST_F(IE, LastSessionTakesDatFilesOfTheThreeRecoveryFolders) {
    const std::string recovery = ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\Microsoft\\Internet Explorer\\Recovery";
    for (const char* folder : {"\\Last Active", "\\High\\Active", "\\High\\Last Active", "\\Active"}) {
        MakeFolder(recovery + folder + "\\sub");
        ASSERT_TRUE(MakeFile(recovery + folder + "\\{ABC}.dat", 500));
        ASSERT_TRUE(MakeFile(recovery + folder + "\\sub\\tab.dat", 500));
        ASSERT_TRUE(MakeFile(recovery + folder + "\\notes.txt", 10));
    }
    cleaner.ClearIELastSession();
    for (const char* folder : {"\\Last Active", "\\High\\Active", "\\High\\Last Active"}) {
        EXPECT_FALSE(PathExists(recovery + folder + "\\{ABC}.dat")) << folder;
        EXPECT_FALSE(PathExists(recovery + folder + "\\sub\\tab.dat")) << folder;
        EXPECT_TRUE(PathExists(recovery + folder + "\\notes.txt")) << folder;
    }
    EXPECT_TRUE(PathExists(recovery + "\\Active\\{ABC}.dat")); // the running session's own
    EXPECT_TRUE(PathExists(recovery + "\\Active\\sub\\tab.dat"));
}

} // namespace
