// Start-up, the single instance and the exit path of the real program, installed with Windows
// Installer into this test's sandboxed prefix. The tests run in order: the first one needs the
// program not yet installed.
#include <gtest/gtest.h>

#include "app/messages.h"
#include "app/settings.h"
#include "resources/resource_ids.h"
#include "tests/e2e/e2e_support.h"
#include "tests/wine/test_support.h"
#include "tests/wine/ui_support.h"

namespace {

ProgramSettings StoredSettings() {
    ProgramSettings s;
    s.dataFolder = UserDataFolder();
    BoxRecorder quiet;
    s.LoadSettings();
    return s;
}

void StoreSettings(ProgramSettings s) {
    s.dataFolder = UserDataFolder();
    BoxRecorder quiet;
    ASSERT_TRUE(s.SaveSettings());
}

// Ends the running program through its exit command and waits for the process.
void ExitProgram(HANDLE process, HWND window) {
    PostMessageA(window, WM_COMMAND, CmdExitProgram, 0);
    EXPECT_EQ(WaitForExit(process), 0);
    CloseHandle(process);
}

struct Running {
    HANDLE process = nullptr;
    HWND window = nullptr;
};

// Starts the installed program and waits until its initialisation is over (its message loop idles).
Running Start() {
    Running r;
    r.process = StartProgram(std::string("\"") + kInstalledProgram + "\"");
    if (!r.process) return r;
    r.window = WaitForMainWindow();
    WaitForInputIdle(r.process, 15000);
    return r;
}

// A failed assertion must not leave a program running into the next test.
struct Startup : ::testing::Test {
    void TearDown() override { KillProgramProcesses(); }
};

} // namespace

TEST_F(Startup, NotInstalledShowsItsOwnBoxAndNoWindow) {
    HANDLE process = StartProgram("\"" + BesideTestProgram("zlt.exe") + "\"");
    ASSERT_NE(process, nullptr);
    HWND box = WaitForWindow("Error", nullptr, 15000, true);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), "Zephyrlanthorpe is not installed.");
    EXPECT_EQ(FindWindowA("Zephyrlanthorpe", nullptr), nullptr);
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(WaitForExit(process), 0);
    CloseHandle(process);
    EXPECT_EQ(FindWindowA("Zephyrlanthorpe", nullptr), nullptr);
}

TEST_F(Startup, InstalledRunsOnceWithWindowAndTrayIcon) {
    ASSERT_TRUE(InstallPackage());
    Running first = Start();
    ASSERT_NE(first.window, nullptr);
    EXPECT_TRUE(IsWindowVisible(first.window));
    EXPECT_TRUE(TrayIconExists(first.window));
    EXPECT_EQ(CountProgramProcesses(), 1);

    // A second start raises the first window, restored when it was minimised, and ends.
    ShowWindow(first.window, SW_MINIMIZE);
    PumpMessages(200);
    ASSERT_TRUE(IsIconic(first.window));
    HANDLE second = StartProgram(std::string("\"") + kInstalledProgram + "\"");
    EXPECT_EQ(WaitForExit(second), 0);
    CloseHandle(second);
    EXPECT_FALSE(IsIconic(first.window));
    EXPECT_TRUE(IsWindowVisible(first.window));
    EXPECT_EQ(CountProgramProcesses(), 1);

    // Hidden (as by the close box) and started again: shown.
    PostMessageA(first.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpUntil([&] { return !IsWindowVisible(first.window); }, 5000);
    ASSERT_FALSE(IsWindowVisible(first.window));
    second = StartProgram(std::string("\"") + kInstalledProgram + "\"");
    EXPECT_EQ(WaitForExit(second), 0);
    CloseHandle(second);
    EXPECT_TRUE(IsWindowVisible(first.window));

    // Exit: the placement is recorded, hidden is stored as 0, and a second exit request during the
    // wait changes nothing.
    MoveWindow(first.window, 40, 50, 700, 480, TRUE);
    ShowWindow(first.window, SW_HIDE);
    PumpMessages(100);
    PostMessageA(first.window, WM_COMMAND, CmdExitProgram, 0);
    PostMessageA(first.window, WM_COMMAND, CmdExitProgram, 0);
    EXPECT_EQ(WaitForExit(first.process), 0);
    CloseHandle(first.process);
    EXPECT_FALSE(TrayIconExists(first.window));
    const ProgramSettings stored = StoredSettings();
    EXPECT_EQ(stored.windowShowCmd, 0);
    EXPECT_EQ(stored.windowLeft, 40);
    EXPECT_EQ(stored.windowTop, 50);
    EXPECT_EQ(stored.windowWidth, 700);
    EXPECT_EQ(stored.windowHeight, 480);
    EXPECT_EQ(ReadFileBytes(UserSettingsFile()).size(), 179u);
}

TEST_F(Startup, PasswordGuardsTheHiddenWindowOfTheFirstInstance) {
    ProgramSettings s = StoredSettings();
    s.passwordEnabled = 1;
    s.SetPassword("Right one");
    s.windowShowCmd = 0; // starts hidden
    StoreSettings(s);

    Running first = Start();
    ASSERT_NE(first.window, nullptr);
    PumpMessages(300);
    ASSERT_FALSE(IsWindowVisible(first.window));

    // Wrong password: told so, and the window stays hidden.
    HANDLE second = StartProgram(std::string("\"") + kInstalledProgram + "\"");
    HWND dialog = WaitForWindow("Enter password", nullptr, 15000, true);
    ASSERT_NE(dialog, nullptr);
    SendMessageA(GetDlgItem(dialog, IDC_PASSWORD_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("wrong one"));
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    HWND error = WaitForWindow("Error", nullptr, 10000, true);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(BoxText(error), "Wrong password.");
    PostMessageA(GetDlgItem(error, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForWindowGone(error));
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForExit(second), 0);
    CloseHandle(second);
    EXPECT_FALSE(IsWindowVisible(first.window));

    // The right password shows it.
    second = StartProgram(std::string("\"") + kInstalledProgram + "\"");
    dialog = WaitForWindow("Enter password", nullptr, 15000, true);
    ASSERT_NE(dialog, nullptr);
    SendMessageA(GetDlgItem(dialog, IDC_PASSWORD_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Right one"));
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(WaitForExit(second), 0);
    CloseHandle(second);
    EXPECT_TRUE(IsWindowVisible(first.window));

    // Minimised is as good as hidden: a second start asks before it restores the window.
    ShowWindow(first.window, SW_MINIMIZE);
    PumpMessages(200);
    second = StartProgram(std::string("\"") + kInstalledProgram + "\"");
    dialog = WaitForWindow("Enter password", nullptr, 15000, true);
    ASSERT_NE(dialog, nullptr) << "restored without the password";
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(WaitForExit(second), 0);
    CloseHandle(second);
    EXPECT_TRUE(IsIconic(first.window));

    ExitProgram(first.process, first.window);
    ProgramSettings stored = StoredSettings();
    EXPECT_EQ(stored.windowShowCmd, 2);
    stored.passwordEnabled = 0; // the next tests start an open program
    stored.password.clear();
    StoreSettings(stored);
}

TEST_F(Startup, AStartDuringTheExitComesUpOnItsOwn) {
    Running first = Start();
    ASSERT_NE(first.window, nullptr);
    PostMessageA(first.window, WM_COMMAND, CmdExitProgram, 0);
    // The exit path ends with a wait of its own: a start then must neither hand its request to the
    // ending program nor give up, but come up as the program once the old one has gone. The window
    // goes out of sight just before that wait.
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(first.window) == FALSE; }, 15000));
    HANDLE second = StartProgram(std::string("\"") + kInstalledProgram + "\"");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(WaitForExit(first.process), 0);
    CloseHandle(first.process);
    HWND window = WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(window, first.window);
    // The window exists from its creation on and is shown at the end of its initialisation.
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(window) != FALSE; }, 15000));
    EXPECT_EQ(CountProgramProcesses(), 1);
    ExitProgram(second, window);
}
