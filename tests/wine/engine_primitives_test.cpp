// Folder walks, registry operations and key security on a real file system and registry.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/messages.h"
#include "engine/history_cleaner.h"
#include "tests/wine/engine_support.h"

namespace {

struct Primitives : ::testing::Test {
    TempFolder folder;
    ProgramSettings settings;
    HistoryCleaner cleaner{&settings};
    void SetUp() override {
        settings.ApplyDefaults();
        isWow64 = false;
    }
    void TearDown() override { isWow64 = false; }
    std::string Make(const std::string& relative, size_t size = 10) {
        const std::string path = folder / relative;
        MakeFolder(path.substr(0, path.rfind('\\')));
        MakeFile(path, size);
        return path;
    }
};

bool Contains(const FolderList& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

size_t IndexOf(const FolderList& list, const std::string& item) {
    return static_cast<size_t>(std::find(list.begin(), list.end(), item) - list.begin());
}

} // namespace

// ---- Folder walks

TEST_F(Primitives, EmptyFolderRemovesEverythingBelowButKeepsTheTop) {
    Make("a.txt");
    Make("one\\b.txt");
    Make("one\\two\\c.txt");
    Make("one\\two\\three\\d.bin", 5000);
    MakeFolder(folder / "empty\\deeper");
    cleaner.EmptyFolder(folder.path(), false);
    EXPECT_TRUE(PathExists(folder.path()));
    FolderList left;
    cleaner.ListFiles(folder.path(), left);
    cleaner.ListSubfolders(folder.path(), left);
    EXPECT_TRUE(left.empty());
}

TEST_F(Primitives, WhatCannotBeDeletedStaysWithTheFoldersAboveIt) {
    const std::string readOnly = Make("keep\\inner\\ro.txt");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string busy = Make("busy\\b\\held.log");
    Make("keep\\sibling.txt");
    Make("keep\\inner\\other.txt");
    Make("gone\\x.txt");
    {
        HeldFile hold(busy, 0);
        ASSERT_TRUE(hold.held());
        cleaner.EmptyFolder(folder.path(), false);
    }
    EXPECT_TRUE(PathExists(readOnly));
    EXPECT_TRUE(GetFileAttributesA(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY); // walks change no attribute
    EXPECT_TRUE(PathExists(busy));
    EXPECT_FALSE(PathExists(folder / "keep\\sibling.txt"));
    EXPECT_FALSE(PathExists(folder / "keep\\inner\\other.txt"));
    EXPECT_FALSE(PathExists(folder / "gone"));
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Primitives, ShreddingDecidesWhetherTheProgressWindowHearsOfEachFile) {
    PostedMessages sink;
    ProgressTo progress(cleaner, sink.window(), nullptr); // every file announced, to be counted
    Make("x\\1.txt");
    Make("x\\2.txt");
    cleaner.EmptyFolder(folder.path(), true); // shredding allowed but off: plain deletes
    EXPECT_TRUE(sink.Drain(MsgShowCurrentFile, MsgShowCurrentFile).empty());
    EXPECT_FALSE(PathExists(folder / "x"));

    settings.shredFiles = 1;
    Make("y\\1.txt");
    const std::string last = Make("y\\2.txt");
    cleaner.EmptyFolder(folder.path(), false); // not allowed for this walk: still plain deletes
    EXPECT_TRUE(sink.Drain(MsgShowCurrentFile, MsgShowCurrentFile).empty());

    Make("y\\1.txt");
    Make("y\\2.txt");
    cleaner.EmptyFolder(folder.path(), true);
    EXPECT_EQ(sink.Drain(MsgShowCurrentFile, MsgShowCurrentFile).size(), 2u);
    EXPECT_FALSE(PathExists(folder / "y"));
    const std::string shown = cleaner.CurrentFileText();
    EXPECT_TRUE(shown == folder / "y\\1.txt" || shown == last) << shown;
}

TEST_F(Primitives, RemoveFileInEachFolderAlwaysGoesThroughRemoveFile) {
    PostedMessages sink;
    ProgressTo progress(cleaner, sink.window(), nullptr); // every file announced, to be counted
    const std::string a = Make("p1\\index.dat");
    const std::string b = Make("p2\\index.dat");
    MakeFolder(folder / "p3"); // no such file here
    const std::string other = Make("p3\\other.dat");
    cleaner.RemoveFileInEachFolder("index.dat", {folder / "p1", folder / "p2", folder / "p3", ""});
    EXPECT_FALSE(PathExists(a));
    EXPECT_FALSE(PathExists(b));
    EXPECT_TRUE(PathExists(other));
    EXPECT_EQ(sink.Drain(MsgShowCurrentFile, MsgShowCurrentFile).size(), 2u); // shredding is off
}

TEST_F(Primitives, ListingsAreDepthFirstPreOrder) {
    MakeFolder(folder / "a\\b\\c");
    MakeFolder(folder / "a\\d");
    MakeFolder(folder / "e");
    Make("a\\file.txt");
    Make("top.txt");
    FolderList deep;
    cleaner.ListSubfoldersDeep(folder.path(), deep);
    ASSERT_EQ(deep.size(), 5u);
    EXPECT_LT(IndexOf(deep, folder / "a"), IndexOf(deep, folder / "a\\b"));
    EXPECT_EQ(IndexOf(deep, folder / "a\\b") + 1, IndexOf(deep, folder / "a\\b\\c"));
    EXPECT_TRUE(Contains(deep, folder / "a\\d"));
    EXPECT_TRUE(Contains(deep, folder / "e"));
    EXPECT_FALSE(Contains(deep, folder.path()));

    FolderList immediate{"kept"};
    cleaner.ListSubfolders(folder.path(), immediate);
    EXPECT_EQ(immediate.size(), 3u); // appended after what was there
    EXPECT_EQ(immediate[0], "kept");

    FolderList files;
    cleaner.ListFiles(folder.path(), files);
    EXPECT_EQ(files, FolderList{folder / "top.txt"});
}

TEST_F(Primitives, EmptyFolderPathNeverMeansTheDriveRoot) {
    FolderList list;
    cleaner.ListSubfolders("", list);
    cleaner.ListFiles("", list);
    cleaner.ListSubfoldersDeep("", list);
    EXPECT_TRUE(list.empty());
    ASSERT_TRUE(PathExists("C:\\windows")); // the root that "\*.*" would have listed
}

TEST_F(Primitives, NameRuleWalksKeepFoldersAndOtherNames) {
    const std::string deep = Make("a\\b\\deep.dat");
    const std::string upper = Make("a\\UPPER.DAT");
    const std::string longer = Make("a\\b\\x.data");
    cleaner.RemoveFilesBySuffix(folder.path(), ".dat", false);
    EXPECT_FALSE(PathExists(deep));
    EXPECT_TRUE(PathExists(upper));
    EXPECT_TRUE(PathExists(longer));
    EXPECT_TRUE(PathExists(folder / "a\\b"));

    const std::string match = Make("cookie1.txt");
    const std::string nested = Make("sub\\cookie2.txt");
    cleaner.RemoveFilesByPrefix(folder.path(), "cookie", false);
    EXPECT_FALSE(PathExists(match));
    EXPECT_TRUE(PathExists(nested)); // one level only

    const std::string eight = Make("12345678.s");
    const std::string bare = Make("sub\\.s");
    const std::string letter = Make("a1.s");
    const std::string dots = Make("sub\\12.34.s");
    const std::string capital = Make("upper\\12345678.S"); // one folder cannot hold both spellings
    cleaner.RemoveDigitNamedSFiles(folder.path());
    EXPECT_FALSE(PathExists(eight));
    EXPECT_FALSE(PathExists(bare));
    EXPECT_TRUE(PathExists(letter));
    EXPECT_TRUE(PathExists(dots));
    EXPECT_TRUE(PathExists(capital));
    EXPECT_TRUE(PathExists(folder / "sub"));
}

// ---- Registry

namespace {

void MakeThreeLevels(const std::string& top) {
    for (const char* leaf : {"a\\b\\c", "a\\b\\d", "a\\e", "f"})
        CreateKey(HKEY_CURRENT_USER, top + "\\" + leaf);
    SetString(HKEY_CURRENT_USER, top, "v", "1");
    SetString(HKEY_CURRENT_USER, top + "\\a\\b", "w", "2");
}

} // namespace

TEST_F(Primitives, DeleteRegistryTreeOfMissingKeyCountsAsDone) {
    TestKey key("Missing");
    EXPECT_TRUE(cleaner.DeleteRegistryTree(HKEY_CURRENT_USER, key / "not\\there"));
    isWow64 = true;
    EXPECT_TRUE(cleaner.DeleteRegistryTree(HKEY_CURRENT_USER, key / "not\\there"));
}

TEST_F(Primitives, DeleteRegistryTreeRemovesThreeLevels) {
    TestKey key("Tree");
    MakeThreeLevels(key / "Top");
    CreateKey(HKEY_CURRENT_USER, key / "Neighbour");
    EXPECT_TRUE(cleaner.DeleteRegistryTree(HKEY_CURRENT_USER, key / "Top"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key / "Top"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key / "Neighbour"));
    // A trailing backslash does not double the separator of the children.
    MakeThreeLevels(key / "Slash");
    EXPECT_TRUE(cleaner.DeleteRegistryTree(HKEY_CURRENT_USER, key / "Slash\\"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key / "Slash"));
}

namespace {

// A key under HKLM\Software, which has a separate 32-bit view for this 64-bit program: the view a
// 32-bit program under WOW64 must also reach is played here by the 32-bit one.
struct TwoViews {
    const std::string path = "Software\\ZltEngineViewTest";
    TwoViews() {
        wow64OtherView = KEY_WOW64_32KEY;
        Remove();
    }
    ~TwoViews() {
        Remove();
        wow64OtherView = KEY_WOW64_64KEY;
    }
    void Remove() {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, path, KEY_WOW64_32KEY);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, path, KEY_WOW64_64KEY);
    }
    void MakeInBoth(const std::string& sub) {
        ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, path + "\\" + sub, KEY_WOW64_32KEY));
        ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, path + "\\" + sub, KEY_WOW64_64KEY));
    }
    bool In(REGSAM view, const std::string& sub) const { return KeyExists(HKEY_LOCAL_MACHINE, path + "\\" + sub, view); }
};

} // namespace

TEST_F(Primitives, UnderWow64TheRegistryDeletionsReachTheOtherViewToo) {
    TwoViews views;
    views.MakeInBoth("tree\\a\\b");
    views.MakeInBoth("leaf");
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, views.path + "\\probe", KEY_WOW64_32KEY));
    if (views.In(KEY_WOW64_64KEY, "probe")) GTEST_SKIP() << "views are not split here";

    isWow64 = false; // only the default view
    EXPECT_TRUE(cleaner.DeleteRegistryTree(HKEY_LOCAL_MACHINE, views.path + "\\tree"));
    cleaner.DeleteRegistryKey(HKEY_LOCAL_MACHINE, views.path + "\\leaf");
    EXPECT_FALSE(views.In(KEY_WOW64_64KEY, "tree"));
    EXPECT_FALSE(views.In(KEY_WOW64_64KEY, "leaf"));
    EXPECT_TRUE(views.In(KEY_WOW64_32KEY, "tree\\a\\b"));
    EXPECT_TRUE(views.In(KEY_WOW64_32KEY, "leaf"));

    isWow64 = true; // both
    views.MakeInBoth("tree\\a\\b");
    views.MakeInBoth("leaf");
    EXPECT_TRUE(cleaner.DeleteRegistryTree(HKEY_LOCAL_MACHINE, views.path + "\\tree"));
    cleaner.DeleteRegistryKey(HKEY_LOCAL_MACHINE, views.path + "\\leaf");
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        EXPECT_FALSE(views.In(view, "tree")) << view;
        EXPECT_FALSE(views.In(view, "leaf")) << view;
    }
    // Only in the other view: still reported as deleted.
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, views.path + "\\only32\\x", KEY_WOW64_32KEY));
    EXPECT_TRUE(cleaner.DeleteRegistryTree(HKEY_LOCAL_MACHINE, views.path + "\\only32"));
    EXPECT_FALSE(views.In(KEY_WOW64_32KEY, "only32"));
}

TEST_F(Primitives, EachViewDeletesOnlyInItsOwnView) {
    // The 32-bit view of HKLM\Software is a separate tree for a 64-bit process: a view flag lost
    // on the way down the recursion would delete the wrong tree or none.
    const std::string path = "Software\\ZltEngineViewTest";
    DeleteKeyTree(HKEY_LOCAL_MACHINE, path, KEY_WOW64_32KEY);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, path, KEY_WOW64_64KEY);
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, path + "\\only32\\a\\b", KEY_WOW64_32KEY));
    if (KeyExists(HKEY_LOCAL_MACHINE, path + "\\only32", KEY_WOW64_64KEY))
        GTEST_SKIP() << "views are not split here";
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, path + "\\only64\\c\\d", KEY_WOW64_64KEY));

    EXPECT_TRUE(DeleteRegistryTreeInView(HKEY_LOCAL_MACHINE, path, KEY_WOW64_32KEY));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, path, KEY_WOW64_32KEY));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, path + "\\only64\\c\\d", KEY_WOW64_64KEY));

    EXPECT_TRUE(DeleteRegistryTreeInView(HKEY_LOCAL_MACHINE, path, KEY_WOW64_64KEY));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, path, KEY_WOW64_64KEY));
}

TEST_F(Primitives, DeleteRegistryKeyRemovesOnlyALeaf) {
    TestKey key("Leaf");
    CreateKey(HKEY_CURRENT_USER, key / "leaf");
    CreateKey(HKEY_CURRENT_USER, key / "parent\\child");
    cleaner.DeleteRegistryKey(HKEY_CURRENT_USER, key / "leaf");
    cleaner.DeleteRegistryKey(HKEY_CURRENT_USER, key / "parent");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key / "leaf"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key / "parent\\child"));
}

TEST_F(Primitives, DeleteRegistryValueLeavesTheOthers) {
    TestKey key("Values");
    SetString(HKEY_CURRENT_USER, key.path(), "gone", "x");
    SetString(HKEY_CURRENT_USER, key.path(), "kept", "y");
    cleaner.DeleteRegistryValue(key.path(), "gone");
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, key.path(), "gone"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, key.path(), "kept"));
    cleaner.DeleteRegistryValue(key / "missing", "kept"); // nothing to open: nothing happens
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key / "missing"));
}

TEST_F(Primitives, DeleteAllSubkeysKeepsTheKeyAndItsValues) {
    TestKey key("AllSubkeys");
    SetString(HKEY_CURRENT_USER, key.path(), "v1", "a");
    SetDword(HKEY_CURRENT_USER, key.path(), "v2", 7);
    MakeThreeLevels(key / "first");
    CreateKey(HKEY_CURRENT_USER, key / "second\\x");
    cleaner.DeleteAllSubkeys(key.path());
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key.path()));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, key.path(), "v1"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, key.path(), "v2"));
    EXPECT_TRUE(SubkeyNames(HKEY_CURRENT_USER, key.path()).empty());
    cleaner.DeleteAllSubkeys(key / "missing"); // no key: nothing happens
}

TEST_F(Primitives, DeleteSubkeyUnderEachRemovesOnlyTheNamedChild) {
    TestKey key("UnderEach");
    CreateKey(HKEY_CURRENT_USER, key / "7.0\\AVGeneral\\cRecentFiles\\c1");
    CreateKey(HKEY_CURRENT_USER, key / "7.0\\AVGeneral\\cOther");
    CreateKey(HKEY_CURRENT_USER, key / "8.0\\AVGeneral\\cRecentFiles");
    CreateKey(HKEY_CURRENT_USER, key / "9.0");
    cleaner.DeleteSubkeyUnderEach(key.path(), "AVGeneral\\cRecentFiles");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key / "7.0\\AVGeneral\\cRecentFiles"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key / "8.0\\AVGeneral\\cRecentFiles"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key / "7.0\\AVGeneral\\cOther"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key / "8.0\\AVGeneral"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key / "9.0"));
}

TEST_F(Primitives, ReadInstallDirectoriesSkipsVersionsWithoutMain) {
    TestKey key("Install");
    SetString(HKEY_CURRENT_USER, key / "1.0\\Main", "Install Directory", "C:\\Old");
    CreateKey(HKEY_CURRENT_USER, key / "1.5\\Other");
    SetString(HKEY_CURRENT_USER, key / "2.0\\Main", "Install Directory", "C:\\New Place");
    SetString(HKEY_CURRENT_USER, key / "3.0\\Main", "Something Else", "C:\\Nope");
    FolderList list{"before"};
    cleaner.ReadInstallDirectories(key.path(), list);
    EXPECT_EQ(list, (FolderList{"before", "C:\\Old", "C:\\New Place"}));
    cleaner.ReadInstallDirectories(key / "missing", list);
    EXPECT_EQ(list.size(), 3u);
}

TEST_F(Primitives, ReadLastDirectoriesAndFolderValue) {
    TestKey key("Last");
    SetString(HKEY_CURRENT_USER, key.path(), "Last Directory3", "C:\\Three");
    SetString(HKEY_CURRENT_USER, key.path(), "Folder", "C:\\Profile Folder");
    FolderList list;
    cleaner.ReadLastDirectories(key.path(), list);
    EXPECT_EQ(list, FolderList{"C:\\Three"});
    SetString(HKEY_CURRENT_USER, key.path(), "Last Directory2", "C:\\Two");
    list.clear();
    cleaner.ReadLastDirectories(key.path(), list);
    EXPECT_EQ(list, (FolderList{"C:\\Two", "C:\\Three"}));
    cleaner.ReadFolderValue(key.path(), list);
    EXPECT_EQ(list.back(), "C:\\Profile Folder");
    list.clear();
    cleaner.ReadFolderValue(key / "missing", list);
    EXPECT_TRUE(list.empty());
}

TEST_F(Primitives, RegistryOperationsCloseTheKeysTheyOpen) {
    TestKey key("Handles");
    SetString(HKEY_CURRENT_USER, key / "1.0\\Main", "Install Directory", "C:\\A");
    SetString(HKEY_CURRENT_USER, key.path(), "Folder", "C:\\B");
    isWow64 = true;
    auto round = [&] {
        FolderList list;
        cleaner.ReadInstallDirectories(key.path(), list);
        cleaner.ReadFolderValue(key.path(), list);
        cleaner.ReadLastDirectories(key.path(), list);
        MakeThreeLevels(key / "t");
        cleaner.DeleteAllSubkeys(key / "t");
        cleaner.DeleteSubkeyUnderEach(key.path(), "Main");
        cleaner.DeleteRegistryTree(HKEY_CURRENT_USER, key / "t");
        cleaner.DeleteRegistryValue(key.path(), "none");
        PSECURITY_DESCRIPTOR saved = cleaner.SaveKeySecurity(HKEY_CURRENT_USER, key.path());
        if (saved) cleaner.SetKeySecurity(HKEY_CURRENT_USER, key.path(), saved, true);
        HeapFree(GetProcessHeap(), 0, saved);
    };
    round(); // first use loads what it loads
    const uintptr_t before = NextHandleValue();
    for (int i = 0; i < 20; ++i) round();
    EXPECT_EQ(NextHandleValue(), before);
}

// ---- Security

TEST_F(Primitives, SidsInTextForm) {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID system = nullptr;
    ASSERT_TRUE(AllocateAndInitializeSid(&nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0, 0, 0, 0, &system));
    EXPECT_EQ(cleaner.FormatSid(system), "S-1-5-18");
    FreeSid(system);

    PSID user = cleaner.GetCurrentUserSid();
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(cleaner.FormatSid(user), "S-1-5-21-0-0-0-1000"); // Wine's fixed user
    HeapFree(GetProcessHeap(), 0, user);
    EXPECT_TRUE(cleaner.IsNT5OrLater());
}

TEST_F(Primitives, A64BitProcessIsNeverWow64) {
    isWow64 = true;
    DetectWow64();
    EXPECT_FALSE(isWow64); // these tests run as x86_64 programs
}

TEST_F(Primitives, FullAccessDescriptorGrantsUserThenSystem) {
    PSID user = cleaner.GetCurrentUserSid();
    ASSERT_NE(user, nullptr);
    SECURITY_DESCRIPTOR descriptor;
    PACL acl = nullptr;
    ASSERT_TRUE(cleaner.BuildFullAccessSecurity(user, &descriptor, &acl));
    ASSERT_NE(acl, nullptr);
    EXPECT_EQ(acl->AceCount, 2);
    for (int i = 0; i < 2; ++i) {
        void* ace = nullptr;
        ASSERT_TRUE(GetAce(acl, i, &ace));
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_EQ(allowed->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
        EXPECT_EQ(allowed->Mask, DWORD{KEY_ALL_ACCESS});
        EXPECT_EQ(cleaner.FormatSid(&allowed->SidStart), i == 0 ? "S-1-5-21-0-0-0-1000" : "S-1-5-18");
    }
    BOOL present = FALSE, defaulted = TRUE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(&descriptor, &present, &dacl, &defaulted));
    EXPECT_TRUE(present);
    EXPECT_FALSE(defaulted);
    EXPECT_EQ(dacl, acl);
    HeapFree(GetProcessHeap(), 0, acl);
    HeapFree(GetProcessHeap(), 0, user);
    EXPECT_FALSE(cleaner.BuildFullAccessSecurity(nullptr, &descriptor, &acl));
}

namespace {

// Applies an empty DACL (nobody may do anything) to one key.
void LockKey(const std::string& path) {
    HKEY h;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, &h), ERROR_SUCCESS) << path;
    SECURITY_DESCRIPTOR sd;
    ACL empty;
    InitializeAcl(&empty, sizeof empty, ACL_REVISION);
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, &empty, FALSE);
    EXPECT_EQ(RegSetKeySecurity(h, DACL_SECURITY_INFORMATION, &sd), ERROR_SUCCESS);
    RegCloseKey(h);
}

} // namespace

TEST_F(Primitives, TakingOverAKeyTreeLetsItBeDeleted) {
    TestKey key("Locked");
    const std::string top = key / "tree";
    CreateKey(HKEY_CURRENT_USER, top + "\\child\\grandchild");
    // Bottom-up: a locked parent could not be opened to lock its children.
    LockKey(top + "\\child\\grandchild");
    LockKey(top + "\\child");
    LockKey(top);
    HKEY probe;
    ASSERT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, top.c_str(), 0, KEY_READ, &probe), ERROR_SUCCESS);
    EXPECT_FALSE(cleaner.DeleteRegistryTree(HKEY_CURRENT_USER, top));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, top));

    PSECURITY_DESCRIPTOR saved = cleaner.SaveKeySecurity(HKEY_CURRENT_USER, top);
    ASSERT_NE(saved, nullptr);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(saved, &present, &dacl, &defaulted));
    EXPECT_TRUE(present);
    ASSERT_NE(dacl, nullptr);
    EXPECT_EQ(dacl->AceCount, 0);
    HeapFree(GetProcessHeap(), 0, saved);

    PSID user = cleaner.GetCurrentUserSid();
    SECURITY_DESCRIPTOR full;
    PACL acl = nullptr;
    ASSERT_TRUE(cleaner.BuildFullAccessSecurity(user, &full, &acl));
    cleaner.SetKeySecurity(HKEY_CURRENT_USER, top, &full, true);
    HeapFree(GetProcessHeap(), 0, acl);
    HeapFree(GetProcessHeap(), 0, user);

    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (top + "\\child\\grandchild").c_str(), 0, KEY_READ, &probe),
              ERROR_SUCCESS);
    RegCloseKey(probe);
    EXPECT_TRUE(cleaner.DeleteRegistryTree(HKEY_CURRENT_USER, top));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, top));
}

TEST_F(Primitives, SaveKeySecurityOfMissingKeyIsNone) {
    EXPECT_EQ(cleaner.SaveKeySecurity(HKEY_CURRENT_USER, "Software\\ZltEngineTest\\NoSuchKey"), nullptr);
}
