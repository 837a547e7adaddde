// ZLTSetup.exe and the package it carries, run in this test's sandboxed prefix as a user would run
// them: installation, the launch condition, the running-program check, the uninstaller, and the
// setup program's own failures. The tests run in order and hand the prefix on: the first one needs
// the product not yet installed.
#include <gtest/gtest.h>

#include <set>

#include <objbase.h>
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include "app/messages.h"
#include "app/settings_format.h"
#include "tests/e2e/e2e_support.h"
#include "tests/wine/test_support.h"
#include "tests/wine/ui_support.h"

namespace {

const char kLaunchConditionText[] =
    "Another version of Zephyrlanthorpe is installed on this computer. Please uninstall it first and then continue.";
const char kRunningText[] =
    "'Zephyrlanthorpe' is running. To uninstall program, you should exit it first.\n"
    "To exit 'Zephyrlanthorpe', select 'Exit' from 'Zephyrlanthorpe' tray menu or toolbar.\n"
    "Then click 'Retry' button.";

std::string TempFolderPath() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    return temp;
}

// The package that a running setup wrote: in a folder of its own below `temp`.
std::string WrittenPackage(const std::string& temp = TempFolderPath()) {
    for (const std::string& name : FolderEntries(temp))
        if (PathExists(temp + name + "\\Zephyrlanthorpe.msi")) return temp + name + "\\Zephyrlanthorpe.msi";
    return "<no package below " + temp + ">";
}

std::vector<char> FileBytes(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

// A string value, or "<missing>".
std::string RegistryString(HKEY root, const char* key, const char* name) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return "<missing>";
    char value[256] = {};
    DWORD size = sizeof value - 1;
    const LONG result = RegQueryValueExA(k, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(k);
    return result == ERROR_SUCCESS ? value : "<missing>";
}

void SetRegistryString(HKEY root, const char* key, const char* name, const char* value) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenA(value) + 1);
    RegCloseKey(k);
}

bool KeyExists(HKEY root, const char* key) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

// Where a per-machine shortcut lies. The package puts them into the common folders; Wine's
// installer resolves those to the current user's, so both are looked at.
std::string FindShortcut(int commonCsidl, int userCsidl, const std::string& name) {
    for (int csidl : {commonCsidl, userCsidl}) {
        const std::string path = ShellFolder(csidl) + "\\" + name;
        if (PathExists(path)) return path;
    }
    return "<no " + name + ">";
}

// The entries of an object's access list that let Everyone, Users or Authenticated Users do any of
// `rights`, one "SID:mask" each; "no access list" when anybody may do anything.
std::string OthersWhoMayWrite(const char* object, SE_OBJECT_TYPE type, ACCESS_MASK rights) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    PACL dacl = nullptr;
    if (GetNamedSecurityInfoA(object, type, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr, &sd))
        return "<unreadable>";
    std::string found = dacl ? "" : "no access list";
    rights |= DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        char* sid = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)) || ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE ||
            !(ace->Mask & rights) || !ConvertSidToStringSidA(&ace->SidStart, &sid))
            continue;
        for (const char* other : {"S-1-1-0", "S-1-5-32-545", "S-1-5-11"})
            if (std::string(sid) == other) found += std::string(sid) + ":" + std::to_string(ace->Mask) + " ";
        LocalFree(sid);
    }
    LocalFree(sd);
    return found;
}

struct Link {
    std::string target, workingFolder;
    int showCmd = -1;
};

Link ReadLink(const std::string& path) {
    Link link;
    IShellLinkA* shell = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shell))))
        return link;
    IPersistFile* file = nullptr;
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(wide, STGM_READ))) {
        char text[MAX_PATH] = {};
        shell->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
        link.target = text;
        shell->GetWorkingDirectory(text, MAX_PATH);
        link.workingFolder = text;
        shell->GetShowCmd(&link.showCmd);
    }
    if (file) file->Release();
    shell->Release();
    return link;
}

std::string InFolder(const char* name) { return std::string(kInstallFolder) + "\\" + name; }

const char* const kInstalledFiles[] = {"zlt.exe", "zlt.chm", "hook.dll", "sqlite3.dll", "uninst.exe"};

struct Setup : ::testing::Test {
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }
    // A failed assertion must not leave a program or a box of the installer into the next test.
    void TearDown() override {
        KillProgramProcesses();
        WaitForInstallerEnd(30000);
    }
};

} // namespace

TEST_F(Setup, AnotherVersionStopsTheInstallationAndThePackageIsStillDeleted) {
    SetRegistryString(HKEY_CURRENT_USER, "Software\\Zephyrlanthorpe\\Version", "Build", "7.0");
    const std::vector<char> embedded = EmbeddedPackage();
    ASSERT_GT(embedded.size(), 100000u);
    // A program planted beside setup under the installer's name is never started in its place (it
    // would say "Zephyrlanthorpe is not installed." instead of the installer's message).
    const std::string planted = BesideTestProgram("msiexec.exe");
    ASSERT_TRUE(CopyFileA(BesideTestProgram("zlt.exe").c_str(), planted.c_str(), FALSE));

    HANDLE setup = StartSetup();
    ASSERT_NE(setup, nullptr);
    HWND box = WaitForMessageBox("Another version");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kLaunchConditionText);

    // While the installer holds it, the written package is the embedded one, byte for byte, and
    // nobody can write, replace or delete it.
    const std::string package = WrittenPackage();
    EXPECT_TRUE(FileBytes(package) == embedded) << package;
    HANDLE writer = CreateFileA(package.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    EXPECT_FALSE(MoveFileA(package.c_str(), (package + ".old").c_str()));

    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(WaitForExit(setup, 60000), 0);
    CloseHandle(setup);
    EXPECT_FALSE(PathExists(package));
    EXPECT_FALSE(PathExists(package.substr(0, package.rfind('\\')))); // its folder went with it
    EXPECT_FALSE(PathExists(kInstallFolder));
    EXPECT_EQ(InstalledLocation(), "");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Zephyrlanthorpe\\Version");
    DeleteFileA(planted.c_str());
}

TEST_F(Setup, InstallsTheProductAndLeavesNoPackageBehind) {
    // The same version in the user's registry does not stop it.
    SetRegistryString(HKEY_CURRENT_USER, "Software\\Zephyrlanthorpe\\Version", "Build", "7.5");
    // "Start with Windows" of an older version for every user goes; other start-up entries stay.
    const char run[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    SetRegistryString(HKEY_LOCAL_MACHINE, run, "Zephyrlanthorpe", "C:\\old\\zlt.exe");
    SetRegistryString(HKEY_LOCAL_MACHINE, run, "Other", "C:\\other.exe");
    // A temporary folder whose path holds a blank, as the long form of many users' folders does.
    TempFolder parent;
    const std::string temp = parent / "Local Settings\\";
    ASSERT_TRUE(CreateDirectoryA(temp.c_str(), nullptr));

    HANDLE setup = StartSetup(temp);
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(WaitForExit(setup, 120000), 0);
    CloseHandle(setup);
    EXPECT_EQ(FolderEntries(temp), std::vector<std::string>{}); // nothing left behind

    for (const char* name : kInstalledFiles) EXPECT_TRUE(PathExists(InFolder(name))) << name;
    EXPECT_EQ(InstalledLocation(), std::string(kInstallFolder) + "\\");
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, "Software\\Zephyrlanthorpe\\Version", "Build"), "7.5");
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, run, "Zephyrlanthorpe"), "<missing>");
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, run, "Other"), "C:\\other.exe");

    // The folder and the product's key are the administrators' to change, as what they live in is:
    // a user who could replace the program or a library beside it would run code as every user.
    // (Wine's installer applies no LockPermissions rows at all; the package test sees that there
    // are none. Here Wine gives the folder SYSTEM and the user full access and Everyone read and
    // execute, and the key full access for Administrators and read for Users.)
    EXPECT_EQ(OthersWhoMayWrite(kInstallFolder, SE_FILE_OBJECT,
                                FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                    FILE_DELETE_CHILD),
              "");
    EXPECT_EQ(OthersWhoMayWrite("MACHINE\\SOFTWARE\\Zephyrlanthorpe", SE_REGISTRY_KEY,
                                KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK),
              "");

    const struct {
        std::string link;
        const char* target;
    } shortcuts[] = {
        {FindShortcut(CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS, "Zephyrlanthorpe\\Zephyrlanthorpe.lnk"), "zlt.exe"},
        {FindShortcut(CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS, "Zephyrlanthorpe\\Help.lnk"), "zlt.chm"},
        {FindShortcut(CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS, "Zephyrlanthorpe\\Uninstall Zephyrlanthorpe.lnk"),
         "uninst.exe"},
        {FindShortcut(CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOPDIRECTORY, "Zephyrlanthorpe.lnk"), "zlt.exe"},
    };
    for (const auto& s : shortcuts) {
        const Link link = ReadLink(s.link);
        EXPECT_EQ(lstrcmpiA(link.target.c_str(), InFolder(s.target).c_str()), 0) << s.link << " -> " << link.target;
        EXPECT_EQ(lstrcmpiA(link.workingFolder.c_str(), InFolder("").c_str()), 0) << s.link << ": " << link.workingFolder;
        EXPECT_EQ(link.showCmd, SW_SHOWNORMAL) << s.link;
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Zephyrlanthorpe\\Version");
}

TEST_F(Setup, RemovalWaitsForTheRunningProgramAndTakesEverythingWithIt) {
    ASSERT_TRUE(PathExists(kInstalledProgram));
    // An older version's settings.dat, shared by every user in the program's folder: this user's
    // first start takes its options over.
    ProgramSettings old;
    old.confirmAfterClear = 0;
    old.maxIndexDatSizeMb = 33;
    old.hotKeyClearAll = 0x4B0006;
    const std::vector<uint8_t> oldBytes = SerializeSettings(old);
    ASSERT_TRUE(WriteFileBytes(InFolder("settings.dat"), oldBytes));
    HANDLE program = StartProgram(std::string("\"") + kInstalledProgram + "\"");
    ASSERT_NE(program, nullptr);
    HWND window = WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    WaitForInputIdle(program, 15000);
    // The program's start-up deletion list, as the index.dat tools leave it.
    WriteTextFile(InFolder("index.bat"), "@echo off\r\n");

    // Cancel: nothing is removed while the program runs.
    HANDLE uninstaller = StartProgram("\"" + InFolder("uninst.exe") + "\"");
    ASSERT_NE(uninstaller, nullptr);
    EXPECT_EQ(WaitForExit(uninstaller), 0);
    CloseHandle(uninstaller);
    HWND box = WaitForMessageBox("'Zephyrlanthorpe' is running.");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kRunningText);
    PostMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForInstallerEnd());
    for (const char* name : kInstalledFiles) EXPECT_TRUE(PathExists(InFolder(name))) << name;
    EXPECT_EQ(InstalledLocation(), std::string(kInstallFolder) + "\\");
    EXPECT_EQ(CountProgramProcesses(), 1);

    // Asked again, the user exits the program (which writes settings.dat) and retries.
    uninstaller = StartProgram("\"" + InFolder("uninst.exe") + "\"");
    ASSERT_NE(uninstaller, nullptr);
    EXPECT_EQ(WaitForExit(uninstaller), 0);
    CloseHandle(uninstaller);
    box = WaitForMessageBox("'Zephyrlanthorpe' is running.");
    ASSERT_NE(box, nullptr);
    PostMessageA(window, WM_COMMAND, CmdExitProgram, 0);
    EXPECT_EQ(WaitForExit(program), 0);
    CloseHandle(program);
    // The user's own file holds the options taken over; the program's folder holds nothing the
    // program wrote, and the shared file is as it was.
    const std::vector<uint8_t> saved = ReadFileBytes(UserSettingsFile());
    ProgramSettings stored;
    ASSERT_EQ(ParseSettings(saved.data(), saved.size(), stored), ParseResult::Ok);
    EXPECT_EQ(stored.confirmAfterClear, 0);
    EXPECT_EQ(stored.maxIndexDatSizeMb, 33);
    EXPECT_EQ(stored.hotKeyClearAll, 0x4B0006u);
    EXPECT_EQ(ReadFileBytes(InFolder("settings.dat")), oldBytes);
    std::set<std::string> expected(std::begin(kInstalledFiles), std::end(kInstalledFiles)), present;
    expected.insert({"settings.dat", "index.bat"});
    for (const std::string& name : FolderEntries(kInstallFolder)) present.insert(name);
    EXPECT_EQ(present, expected);
    PostMessageA(GetDlgItem(box, IDRETRY), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForInstallerEnd());

    EXPECT_FALSE(PathExists(kInstallFolder));
    EXPECT_TRUE(PathExists(UserSettingsFile())); // the user's own stays
    EXPECT_EQ(InstalledLocation(), "");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Zephyrlanthorpe"));
    EXPECT_FALSE(PathExists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Zephyrlanthorpe"));
    EXPECT_FALSE(PathExists(ShellFolder(CSIDL_PROGRAMS) + "\\Zephyrlanthorpe"));
    EXPECT_FALSE(PathExists(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Zephyrlanthorpe.lnk"));
    EXPECT_FALSE(PathExists(ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\Zephyrlanthorpe.lnk"));
}

TEST_F(Setup, AFileLeftUnderThePackagesNameIsNeitherWrittenNorInstalled) {
    ASSERT_FALSE(PathExists(kInstallFolder));
    // Somebody else's file where the package used to go, held open for reading.
    const std::string planted = TempFolderPath() + "Zephyrlanthorpe.msi";
    ASSERT_TRUE(WriteFileBytes(planted, std::vector<uint8_t>(4096, 'x')));
    HANDLE held = CreateFileA(planted.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    HANDLE setup = StartSetup();
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(WaitForExit(setup, 120000), 0);
    CloseHandle(setup);
    EXPECT_EQ(InstalledLocation(), std::string(kInstallFolder) + "\\");
    EXPECT_TRUE(PathExists(kInstalledProgram));
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(planted), std::vector<uint8_t>(4096, 'x'));
    DeleteFileA(planted.c_str());
}

TEST_F(Setup, MissingTemporaryFolderIsReportedAsAFileOpenError) {
    HANDLE setup = StartSetup("C:\\no such folder\\");
    ASSERT_NE(setup, nullptr);
    HWND box = WaitForMessageBox("File open error");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), "Error");
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(WaitForExit(setup, 60000), 0);
    CloseHandle(setup);
    EXPECT_FALSE(PathExists("C:\\no such folder"));
}
