// The installed program's ways into a clearing, each driven from this second program as a user
// would drive them: options ticked on their pages and applied, shredding with its progress window
// (to its end, and cancelled half way), clear on exit and on start, the scheduler, the browser-close
// watch, the clearing hot key, the password on the tray icon, and every option kept across an exit
// and a start. The tests run in order and hand the prefix and the running program on. A picture of
// every page and box passed is left in the "artifacts" folder beside this program.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/messages.h"
#include "app/settings.h"
#include "resources/resource_ids.h"
#include "tests/e2e/e2e_support.h"
#include "tests/wine/standin.h"
#include "tests/wine/test_support.h"
#include "tests/wine/ui_support.h"

namespace {

const char kWordMru[] = "Software\\Microsoft\\Office\\12.0\\Word\\File MRU";
const char kFirefoxTitle[] = "Start Page - Mozilla Firefox";

// Where the positions of the navigation tree lead.
const std::initializer_list<int> kWhatToClear = {0};
const std::initializer_list<int> kFirefoxPage = {0, 0, 4};
const std::initializer_list<int> kWindowsPage = {0, 1};
const std::initializer_list<int> kApplicationsPage = {0, 2};
const std::initializer_list<int> kSettingsPage = {1};
const std::initializer_list<int> kShredderPage = {2};

struct Paths {
    std::string roaming = ShellFolder(CSIDL_APPDATA);
    std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);
    std::string profile = local + "\\Mozilla\\Firefox\\Profiles\\q1w2e3r4.default";
    std::string cache = profile + "\\Cache";
    std::string cached = cache + "\\_CACHE_001_";
    std::string temporary = local + "\\Temp\\~wrd0001.tmp";
    // Beside the traces, never selected.
    std::string canary = profile + "\\urlclassifier3.sqlite";
};

const char kCanaryText[] = "SQLite format 3 (safe browsing lists)";

// The program as started by the tests; handed from one test to the next.
struct Running {
    HANDLE process = nullptr;
    DWORD pid = 0;
    HWND window = nullptr;
};
Running program;

std::string Artifact(const std::string& name) {
    const std::string folder = BesideTestProgram("artifacts");
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\" + name + ".bmp";
}

void Picture(HWND window, const std::string& name) {
    if (!SaveWindowPicture(window, Artifact(name))) std::printf("no picture of %s\n", name.c_str());
}

// A protected program opens only to its `password`: false when it does not ask for it.
bool Start(const char* password = nullptr) {
    program = {};
    program.process = StartProgram(std::string("\"") + kInstalledProgram + "\"");
    if (!program.process) return false;
    program.pid = GetProcessId(program.process);
    program.window = WaitForMainWindow(60000);
    if (password) {
        HWND dialog = WaitForProgramWindow(program.pid, "Enter password", 30000);
        if (!dialog) return false;
        SendMessageA(GetDlgItem(dialog, IDC_PASSWORD_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(password));
        Press(dialog, IDOK);
    }
    WaitForInputIdle(program.process, 30000);
    return program.window && PumpUntil([] { return IsWindowVisible(program.window) != FALSE; }, 30000);
}

// "Exit" from the tray menu; the process's exit code, or -1 when it did not end within a minute.
long Exit() {
    PostMessageA(program.window, WM_COMMAND, CmdTrayExit, 0);
    const long code = WaitForExit(program.process, 60000);
    CloseHandle(program.process);
    program = {};
    return code;
}

// Shows a page, pictured under `name`; null when the tree did not lead to it.
HWND Page(std::initializer_list<int> position, const std::string& name) {
    HWND page = ShowPage(program.window, position);
    if (page) Picture(program.window, name);
    return page;
}

// Presses a page's "Apply" and waits until the page has taken the changes (the button is disabled
// again).
bool Apply(HWND page, int button) {
    Press(page, button);
    return PumpUntil([&] { return !IsWindowEnabled(GetDlgItem(page, button)); }, 10000);
}

// A cached page, a temporary file and Word's list of recent files: one trace for each of the
// options the tests choose.
void SeedTraces(const Paths& p, const std::string& tag) {
    SeedFile(p.cached, "cached page of " + tag + ".example");
    SeedFile(p.temporary, "Word's temporary copy of " + tag);
    ASSERT_TRUE(WriteStringValue(kWordMru, "Item 1", "[F00000000][T01][O00000000]*C:\\Users\\alice\\" + tag + ".doc"));
}

bool TracesGone(const Paths& p) {
    return !PathExists(p.cached) && !PathExists(p.temporary) && !KeyExists(kWordMru);
}

// Waits for the traces to go; how long it took in milliseconds, or -1 after the timeout.
long WaitUntilTracesGone(const Paths& p, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    if (!PumpUntil([&] { return TracesGone(p); }, timeoutMs)) return -1;
    return static_cast<long>(GetTickCount() - start);
}

ProgramSettings StoredSettings() {
    ProgramSettings s;
    s.dataFolder = UserDataFolder();
    BoxRecorder quiet;
    s.LoadSettings();
    return s;
}

struct Triggers : ::testing::Test {
    // The tests hand the running program on; after the last one nothing may keep running.
    static void TearDownTestSuite() { KillProgramProcesses(); }
    Paths p;
};

} // namespace

TEST_F(Triggers, OptionsChosenOnThePagesAreShreddedWithTheProgressWindowShown) {
    ASSERT_FALSE(p.local.empty());
    ASSERT_TRUE(InstallPackage());
    ASSERT_TRUE(WaitForInstallerEnd());
    SeedFile(p.roaming + "\\Mozilla\\Firefox\\profiles.ini",
             "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
             "Path=Profiles/q1w2e3r4.default\r\nDefault=1\r\n");
    SeedFile(p.canary, kCanaryText);
    ASSERT_TRUE(Start());
    Picture(program.window, "01-main-window");

    HWND page = Page(kFirefoxPage, "02-firefox-page");
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(SetCheck(page, IDC_FIREFOX_CACHE, true));
    ASSERT_TRUE(Apply(page, IDC_APPLY));
    page = Page(kWindowsPage, "03-windows-history-page");
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(SetCheck(page, IDC_WIN_TEMP_FOLDERS, true));
    ASSERT_TRUE(Apply(page, IDC_HISTORY_APPLY));
    page = Page(kApplicationsPage, "04-application-history-page");
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(SetCheck(page, IDC_APP_OFFICE, true));
    ASSERT_TRUE(Apply(page, IDC_HISTORY_APPLY));
    page = Page(kShredderPage, "05-shredder-page");
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(SetCheck(page, IDC_SHRED_FILES, true));
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_SHRED_PROGRESS)));
    ASSERT_TRUE(SetCheck(page, IDC_SHRED_PROGRESS, true));
    ASSERT_TRUE(Apply(page, IDC_SHRED_APPLY));
    Picture(program.window, "06-shredder-page-applied");

    // A few cached pages of 256 KiB. One of them is read back after the clearing by a watcher
    // outside Wine (triggers_setup.sh), which holds it open from before the run.
    SeedTraces(p, "shredded");
    const std::string secret = "shred-me-secret ";
    std::string content;
    while (content.size() < 256 * 1024) content += secret;
    for (int n = 2; n <= 6; ++n) SeedFile(p.cache + "\\_CACHE_00" + std::to_string(n) + "_", content);
    ASSERT_TRUE(PumpUntil([] { return PathExists(BesideTestProgram("held.ready")); }, 30000))
        << "the watcher outside Wine never held the cached page";

    page = Page(kWhatToClear, "07-what-to-clear-page");
    ASSERT_NE(page, nullptr);
    Press(page, IDC_WHAT_CLEAR_ALL);
    // So little is shredded that the progress window may come and go between two looks; the next
    // test, with more to shred, sees it and pictures it. The run ends with its last step (the
    // temporary folders) and its window gone; a shredding run ends without the confirmation, which
    // belongs to the clearing on the program's own thread.
    const auto progressWindow = [] { return WaitForProgramWindow(program.pid, "Files Shredding", 0); };
    ASSERT_TRUE(PumpUntil([&] { return TracesGone(p) && !progressWindow(); }, 120000)) << "the run did not end";
    EXPECT_EQ(WaitForProgramBox(program.pid, 1000).window, nullptr) << "a box after the shredding run";

    // What the disk held under the cached page when its name went: overwritten, to the last byte.
    const std::string afterwards = BesideTestProgram("held-after.bin");
    ASSERT_TRUE(PumpUntil([&] { return PathExists(afterwards); }, 30000)) << "the watcher read nothing back";
    const std::string left = FileText(afterwards);
    EXPECT_EQ(left.size(), content.size());
    EXPECT_EQ(left.find("shred-me"), std::string::npos) << "the cached page was deleted without overwriting";
    EXPECT_TRUE(TracesGone(p));
    for (int n = 2; n <= 6; ++n) EXPECT_FALSE(PathExists(p.cache + "\\_CACHE_00" + std::to_string(n) + "_")) << n;
    EXPECT_EQ(FileText(p.canary), kCanaryText);
}

TEST_F(Triggers, ACancelHalfWaySkipsTheLaterStepsAndConfirmsNothing) {
    ASSERT_NE(program.window, nullptr) << "the first test left no program running";
    // Enough cached pages that the shredding of the Firefox cache, the first step, lasts a while.
    SeedTraces(p, "cancelled");
    const std::string block(4 * 1024 * 1024, 'c');
    const int files = 64;
    for (int n = 0; n < files; ++n) SeedFile(p.cache + "\\big" + std::to_string(n), block);

    HWND page = Page(kWhatToClear, "09-what-to-clear-page");
    ASSERT_NE(page, nullptr);
    Press(page, IDC_WHAT_CLEAR_ALL);
    const HWND progress = WaitForProgramWindow(program.pid, "Files Shredding", 30000);
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(GetDlgItem(progress, IDC_PROGRESS_FILE)) != FALSE; }, 30000));
    Picture(progress, "10-progress-window-shredding");

    Press(progress, IDC_PROGRESS_CANCEL);
    const Box question = WaitForProgramBox(program.pid, 30000);
    ASSERT_NE(question.window, nullptr) << "no question after Cancel";
    EXPECT_EQ(question.caption, "Warning");
    EXPECT_EQ(question.text, "Do you want to cancel shredding?");
    Picture(question.window, "11-cancel-question");
    Press(question.window, IDOK);
    ASSERT_TRUE(WaitForWindowGone(question.window));
    ASSERT_TRUE(WaitForWindowGone(progress, 120000)) << "the run did not end after the cancel";

    // No confirmation after a cancelled run; the steps after the cache (the Office list, the
    // temporary folders) were skipped, and the cache's cleaner finished its folder: every file but
    // the one being overwritten at the cancel is gone.
    EXPECT_EQ(WaitForProgramBox(program.pid, 3000).window, nullptr) << "a box after a cancelled run";
    EXPECT_TRUE(KeyExists(kWordMru));
    EXPECT_TRUE(PathExists(p.temporary));
    int remaining = PathExists(p.cached) ? 1 : 0;
    for (int n = 0; n < files; ++n) remaining += PathExists(p.cache + "\\big" + std::to_string(n)) ? 1 : 0;
    EXPECT_LE(remaining, 1);
    EXPECT_EQ(FileText(p.canary), kCanaryText);
    EXPECT_EQ(WaitForExit(program.process, 0), -1) << "the program ended";

    // Shredding off again for the triggers that follow: they run on the program's own thread.
    page = Page(kShredderPage, "12-shredder-page");
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(SetCheck(page, IDC_SHRED_FILES, false));
    ASSERT_TRUE(Apply(page, IDC_SHRED_APPLY));
    for (int n = 0; n < files; ++n) DeleteFileA((p.cache + "\\big" + std::to_string(n)).c_str());
}

TEST_F(Triggers, ClearOnExitAndClearOnStart) {
    ASSERT_NE(program.window, nullptr) << "no program running";
    HWND page = Page(kSettingsPage, "14-settings-page");
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(SetCheck(page, IDC_SET_CLEAR_ON_EXIT, true));
    ASSERT_TRUE(Apply(page, IDC_SET_APPLY));
    SeedTraces(p, "exit");
    EXPECT_EQ(Exit(), 0);
    EXPECT_TRUE(TracesGone(p)) << "clear on exit left traces";

    ASSERT_TRUE(Start());
    page = Page(kSettingsPage, "15-settings-page-after-start");
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(IsChecked(page, IDC_SET_CLEAR_ON_EXIT));
    ASSERT_TRUE(SetCheck(page, IDC_SET_CLEAR_ON_EXIT, false));
    ASSERT_TRUE(SetCheck(page, IDC_SET_CLEAR_ON_START, true));
    ASSERT_TRUE(Apply(page, IDC_SET_APPLY));
    EXPECT_EQ(Exit(), 0);

    SeedTraces(p, "start");
    ASSERT_TRUE(Start());
    EXPECT_GE(WaitUntilTracesGone(p, 30000), 0) << "clear on start left traces";
    EXPECT_EQ(WaitForProgramBox(program.pid, 1000).window, nullptr) << "clear on start is silent";
    page = Page(kSettingsPage, "16-settings-page");
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(SetCheck(page, IDC_SET_CLEAR_ON_START, false));
    ASSERT_TRUE(Apply(page, IDC_SET_APPLY));
    EXPECT_EQ(FileText(p.canary), kCanaryText);
}

TEST_F(Triggers, TheSchedulerTheBrowserCloseWatchAndTheHotKeyClear) {
    ASSERT_NE(program.window, nullptr) << "no program running";

    // "Clear every" 0 hours 1 minute: a clearing within about a minute of "Apply".
    HWND page = Page(kSettingsPage, "17-settings-page");
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(SetCheck(page, IDC_SET_CLEAR_EVERY, true));
    SendMessageA(GetDlgItem(page, IDC_SET_HOURS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("0"));
    SendMessageA(GetDlgItem(page, IDC_SET_MINUTES), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("1"));
    Picture(program.window, "18-settings-page-scheduler");
    SeedTraces(p, "scheduled");
    ASSERT_TRUE(Apply(page, IDC_SET_APPLY));
    const long scheduled = WaitUntilTracesGone(p, 100000);
    EXPECT_GE(scheduled, 0) << "the scheduler did not clear within 100 s";
    EXPECT_GE(scheduled, 40000) << "the scheduler cleared long before its minute";
    std::printf("scheduled clearing after %ld ms\n", scheduled);
    EXPECT_EQ(WaitForProgramBox(program.pid, 500).window, nullptr) << "a scheduled clearing is silent";
    ASSERT_TRUE(SetCheck(page, IDC_SET_CLEAR_EVERY, false));
    ASSERT_TRUE(Apply(page, IDC_SET_APPLY));

    // The browser-close watch: a stand-in firefox.exe that comes and goes takes the Firefox cache
    // with it; the options of other kinds are not the watch's business.
    page = Page(kWhatToClear, "19-what-to-clear-page");
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(SetCheck(page, IDC_WHAT_ON_BROWSER_CLOSE, true));
    SeedTraces(p, "watched");
    TempFolder folder;
    {
        StandIn firefox(folder, "firefox.exe", {kFirefoxTitle});
        ASSERT_TRUE(firefox.running());
        PumpMessages(11000); // two ticks of the watch: it has seen Firefox running
        EXPECT_TRUE(PathExists(p.cached)) << "cleared while Firefox was still running";
        firefox.CloseAll();
        ASSERT_TRUE(firefox.WaitForExit());
    }
    EXPECT_TRUE(PumpUntil([&] { return !PathExists(p.cached); }, 15000)) << "closing Firefox cleared nothing";
    EXPECT_TRUE(PathExists(p.temporary));
    EXPECT_TRUE(KeyExists(kWordMru));
    ASSERT_TRUE(SetCheck(page, IDC_WHAT_ON_BROWSER_CLOSE, false));

    // Ctrl+Shift+C, registered at start, clears everything selected without a word.
    SeedTraces(p, "hot key");
    ASSERT_TRUE(PressHotKeyFromAnotherProcess(folder, 'C', HotKeyShift | HotKeyControl));
    EXPECT_GE(WaitUntilTracesGone(p, 15000), 0) << "the hot key cleared nothing";
    EXPECT_EQ(WaitForProgramBox(program.pid, 500).window, nullptr) << "a hot-key clearing is silent";
    EXPECT_EQ(FileText(p.canary), kCanaryText);
}

TEST_F(Triggers, ThePasswordGuardsTheHiddenWindowAgainstTheTrayIcon) {
    ASSERT_NE(program.window, nullptr) << "no program running";
    HWND page = Page(kSettingsPage, "20-settings-page");
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(SetCheck(page, IDC_SET_PASSWORD_ON, true));
    for (int box : {IDC_SET_PASSWORD, IDC_SET_PASSWORD_AGAIN})
        SendMessageA(GetDlgItem(page, box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Tray Secret 7"));
    ASSERT_TRUE(Apply(page, IDC_SET_APPLY));
    Picture(program.window, "21-settings-page-password");

    PostMessageA(program.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(PumpUntil([] { return !IsWindowVisible(program.window); }, 10000));

    // A double-click on the tray icon asks; a wrong password is told so and the window stays hidden.
    PostMessageA(program.window, MsgTrayCallback, kTrayIconId, WM_LBUTTONDBLCLK);
    HWND dialog = WaitForProgramWindow(program.pid, "Enter password", 15000);
    ASSERT_NE(dialog, nullptr) << "the tray icon showed the window without asking";
    EXPECT_FALSE(IsWindowVisible(program.window));
    SendMessageA(GetDlgItem(dialog, IDC_PASSWORD_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("tray secret 7"));
    Picture(dialog, "22-password-dialog");
    Press(dialog, IDOK);
    HWND error = WaitForProgramWindow(program.pid, "Error", 10000);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(BoxText(error), "Wrong password.");
    Picture(error, "23-wrong-password-box");
    Press(error, IDOK);
    ASSERT_TRUE(WaitForWindowGone(error));
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitForWindowGone(dialog));
    PumpMessages(500);
    EXPECT_FALSE(IsWindowVisible(program.window));

    // The right one shows it.
    PostMessageA(program.window, MsgTrayCallback, kTrayIconId, WM_LBUTTONDBLCLK);
    dialog = WaitForProgramWindow(program.pid, "Enter password", 15000);
    ASSERT_NE(dialog, nullptr);
    SendMessageA(GetDlgItem(dialog, IDC_PASSWORD_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Tray Secret 7"));
    Press(dialog, IDOK);
    EXPECT_TRUE(WaitForWindowGone(dialog));
    EXPECT_TRUE(PumpUntil([] { return IsWindowVisible(program.window) != FALSE; }, 10000));
}

TEST_F(Triggers, EveryOptionSurvivesAnExitAndAStart) {
    ASSERT_NE(program.window, nullptr) << "no program running";
    const std::string settingsFile = UserSettingsFile();
    ASSERT_EQ(Exit(), 0);
    const std::vector<uint8_t> firstExit = ReadFileBytes(settingsFile);
    ASSERT_FALSE(firstExit.empty());
    const ProgramSettings stored = StoredSettings();
    EXPECT_NE(stored.cacheMask & BrowserFirefox, 0u);
    EXPECT_EQ(stored.historyMask, 0u);
    EXPECT_EQ(stored.emptyTempFolders, 1);
    EXPECT_EQ(stored.clearOfficeHistory, 1);
    EXPECT_EQ(stored.clearMediaPlayerHistory, 0);
    EXPECT_EQ(stored.shredFiles, 0);
    EXPECT_EQ(stored.showShredProgress, 0); // switched off with the shredding
    EXPECT_EQ(stored.clearOnExit, 0);
    EXPECT_EQ(stored.clearOnStart, 0);
    EXPECT_EQ(stored.clearEvery, 0);
    EXPECT_EQ(stored.clearEveryHours, 0);
    EXPECT_EQ(stored.clearEveryMinutes, 1);
    EXPECT_EQ(stored.clearOnBrowserClose, 0);
    EXPECT_EQ(stored.passwordEnabled, 1);
    EXPECT_TRUE(stored.CheckPassword("Tray Secret 7"));
    EXPECT_EQ(stored.windowShowCmd, 1);

    // Started again (the window was open, so it asks for the password first), the pages show what
    // was stored, and an exit without a change stores the same bytes.
    ASSERT_TRUE(Start("Tray Secret 7"));
    HWND page = Page(kFirefoxPage, "24-firefox-page-after-start");
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(IsChecked(page, IDC_FIREFOX_CACHE));
    EXPECT_FALSE(IsChecked(page, IDC_FIREFOX_HISTORY));
    page = Page(kShredderPage, "25-shredder-page-after-start");
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(IsChecked(page, IDC_SHRED_FILES));
    EXPECT_FALSE(IsChecked(page, IDC_SHRED_PROGRESS));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_SHRED_PROGRESS)));
    page = Page(kSettingsPage, "26-settings-page-after-start");
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(IsChecked(page, IDC_SET_PASSWORD_ON));
    EXPECT_FALSE(IsChecked(page, IDC_SET_CLEAR_EVERY));
    char minutes[16] = {};
    SendMessageA(GetDlgItem(page, IDC_SET_MINUTES), WM_GETTEXT, sizeof minutes, reinterpret_cast<LPARAM>(minutes));
    EXPECT_STREQ(minutes, "1");
    ASSERT_EQ(Exit(), 0);
    EXPECT_EQ(ReadFileBytes(settingsFile), firstExit);
    EXPECT_EQ(FileText(p.canary), kCanaryText);
}
