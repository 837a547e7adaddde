#pragma once
// Running the real zlt.exe: installing the package, starting the program, finding its windows.
#include <windows.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

extern const char kInstalledProgram[];
extern const char kInstallFolder[];

// A file in this test program's folder.
std::string BesideTestProgram(const char* name);
// Runs ZLTSetup.exe beside this test program to its end, as a user would; true when the program is
// then installed.
bool InstallPackage();
// Starts ZLTSetup.exe beside this test program, with its temporary folder at `tempFolder` when given
// (TMP and TEMP replaced in a copy of this process's environment). The caller closes the handle.
HANDLE StartSetup(const std::string& tempFolder = {});
// The installer package that ZLTSetup.exe carries (resource "EXE"/104), read from the file.
std::vector<char> EmbeddedPackage();
// Waits until no msiexec.exe is running any more; false after the timeout.
bool WaitForInstallerEnd(DWORD timeoutMs = 120000);
// A system message box of any process whose text begins with `textStart`; null after the timeout.
HWND WaitForMessageBox(const std::string& textStart, DWORD timeoutMs = 60000);
// The text of a system message box.
std::string MessageBoxText(HWND box);
// The product's "InstallLocation" as Windows Installer reports it; empty when it is not installed.
std::string InstalledLocation();
// Starts the program with TMP and TEMP naming ProgramTempFolder(), so that its clearing of the
// user's temporary folder never reaches the folders this test keeps below its own.
HANDLE StartProgram(const std::string& path);
// The program's temporary folder: "program-temp" beside the test program, made when missing.
std::string ProgramTempFolder();
// Waits for a process to end; its exit code, or -1 after the timeout.
long WaitForExit(HANDLE process, DWORD timeoutMs = 20000);
// The running program's main window (its class and title), or null after the timeout.
HWND WaitForMainWindow(DWORD timeoutMs = 15000);
// Number of running processes named zlt.exe.
int CountProgramProcesses();
// Ends every zlt.exe that a failed test left running.
void KillProgramProcesses();
// True when the tray holds the program's icon (NIM_MODIFY succeeds only for an existing icon).
bool TrayIconExists(HWND mainWindow);
// The text of the rich-edit message in one of the program's boxes.
std::string BoxText(HWND box);

// ---------------------------------------------------------------------------------------------
// Files and registry values in the prefix

// A shell folder of the current user (created when missing); empty when the shell cannot say.
std::string ShellFolder(int csidl);
// The program's folder for this user's own files (settings.dat), and settings.dat in it.
std::string UserDataFolder();
std::string UserSettingsFile();
// Creates `folder` and every folder above it that is missing.
void MakeFolders(const std::string& folder);
// Writes `text` to `path`, making its folders first.
void SeedFile(const std::string& path, const std::string& text);
std::string FileText(const std::string& path);
// The names in a folder, "." and ".." left out.
std::vector<std::string> FolderEntries(const std::string& folder);
// Sets a string value below HKEY_CURRENT_USER, making the key; false when that fails.
bool WriteStringValue(const std::string& key, const char* name, const std::string& value);
// The value's data below HKEY_CURRENT_USER as text (a DWORD in decimal); "(missing)" when the key
// or value is not there.
std::string ValueOf(const std::string& key, const char* name);
bool KeyExists(const std::string& key);

// ---------------------------------------------------------------------------------------------
// Driving the program's windows from outside, as a user would

// One of the program's boxes (a message, a question or the password dialog).
struct Box {
    HWND window = nullptr;
    std::string caption, text;
};
// A box of the program's process, shown and with its text in place; an empty Box after the timeout.
// Each wait looks every `pollMs`; a benchmark that times a window's arrival looks more often.
Box WaitForProgramBox(DWORD process, DWORD timeoutMs, DWORD pollMs = 50);
// A visible top-level window of `process` with this caption; null after the timeout.
HWND WaitForProgramWindow(DWORD process, const char* caption, DWORD timeoutMs, DWORD pollMs = 50);
// Presses a button of a dialog as a user would: a posted click, which never waits for the dialog.
void Press(HWND dialog, int button);
// Saves what the screen shows of `window` as a 24-bit BMP at `path`.
bool SaveWindowPicture(HWND window, const std::string& path);
// Selects an entry of the main window's navigation tree, given as the positions of the entry and
// of each of its ancestors among their siblings (from the root), and waits for the page it shows;
// that page's dialog window, or null.
HWND ShowPage(HWND mainWindow, std::initializer_list<int> position);
// The option page that the main window shows now; null when none is visible.
HWND VisiblePage(HWND mainWindow);
// Clicks a check box of a page when its state differs from `on`; true when it then has that state.
bool SetCheck(HWND page, int id, bool on);
bool IsChecked(HWND page, int id);
std::string ClassNameOf(HWND window);

// ---------------------------------------------------------------------------------------------
// The program's reports (docs/report-format.md) and its command line

// %LOCALAPPDATA%\Zephyrlanthorpe\Reports of this user.
std::string ReportsFolder();
// The newest report saved there for clearings of `trigger` ("clear-all", "command-line"); empty
// when there is none.
std::string NewestReport(const std::string& trigger);
// One item of a report: its fields as text (numbers in decimal), strings unescaped.
using ReportFields = std::map<std::string, std::string>;
std::vector<ReportFields> ReportItems(const std::string& json);
// The report's "totals" object, and one of its top-level strings ("mode", "trigger").
ReportFields ReportTotals(const std::string& json);
std::string ReportString(const std::string& json, const char* name);

// Runs a command line to its end with its standard output and error on one pipe; the exit code,
// or -1 when it did not end within the timeout (it is then ended). `output` gets what it wrote.
long RunCommand(const std::string& commandLine, std::string* output, DWORD timeoutMs = 60000);
