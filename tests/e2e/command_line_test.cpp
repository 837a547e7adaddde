// The installed program's command line, run as a script or a scheduled task would run it, with its
// output on a pipe: wrong arguments, /help, /clean and /preview of the stored selection with their
// reports, a file another program holds, damaged settings, and a clearing of the program in the
// tray going on meanwhile. The tests run in order: the first installs the program.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <tlhelp32.h>

#include <atomic>
#include <set>

#include "app/messages.h"
#include "app/settings.h"
#include "resources/resource_ids.h"
#include "tests/e2e/e2e_support.h"
#include "tests/wine/engine_support.h"
#include "tests/wine/test_support.h"
#include "tests/wine/ui_support.h"

namespace {

const char kRunMru[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

std::string Zlt(const std::string& arguments) { return std::string("\"") + kInstalledProgram + "\" " + arguments; }

std::string Recent() { return ShellFolder(CSIDL_APPDATA) + "\\Microsoft\\Windows\\Recent"; }

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

void StoreSettings(ProgramSettings s) {
    s.dataFolder = UserDataFolder();
    BoxRecorder quiet;
    ASSERT_TRUE(s.SaveSettings());
}

// What "Empty Recent Items list" and "Clear Windows Run History" select, stored as the program's.
void StoreSelection(bool shred = false) {
    ProgramSettings s;
    s.emptyRecentItems = 1;
    s.clearRunHistory = 1;
    s.shredFiles = s.showShredProgress = shred ? 1 : 0;
    StoreSettings(s);
}

// The processes of zlt.exe running now.
std::set<DWORD> ProgramProcesses() {
    std::set<DWORD> pids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32First(snapshot, &entry); ok; ok = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, "zlt.exe") == 0) pids.insert(entry.th32ProcessID);
    CloseHandle(snapshot);
    return pids;
}

// Whether a window of a zlt.exe process, hidden or shown, is there: the main window (which owns
// the tray icon) or a box.
bool AnyProgramWindow() {
    struct Search {
        std::set<DWORD> pids;
        bool found = false;
    } search{ProgramProcesses()};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* search = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            const std::string cls = ClassNameOf(window);
            // The system's own helper windows of a process do not count.
            search->found = search->pids.count(pid) && (cls == "#32770" || cls == "Zephyrlanthorpe");
            return search->found ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Runs a command line while another thread looks for a window of the program; the exit code.
long RunWatched(const std::string& arguments, std::string* output, bool* windowSeen) {
    std::atomic<bool> ended{false}, seen{false};
    long code;
    {
        Helper watcher([&] {
            while (!ended) {
                if (AnyProgramWindow()) seen = true;
                Sleep(20);
            }
        });
        code = RunCommand(Zlt(arguments), output);
        ended = true;
    }
    *windowSeen = seen;
    return code;
}

struct CommandLineRun : ::testing::Test {
    void TearDown() override { KillProgramProcesses(); }
    // Two links in Recent and two Run entries; their paths and sizes.
    std::vector<std::pair<std::string, size_t>> SeedTraces() {
        std::vector<std::pair<std::string, size_t>> files = {{Recent() + "\\Secret plan.docx.lnk", 512},
                                                             {Recent() + "\\Salaries.xlsx.lnk", 1300}};
        for (const auto& [path, size] : files) SeedFile(path, std::string(size, 'L'));
        EXPECT_TRUE(WriteStringValue(kRunMru, "a", "regedit\\1"));
        EXPECT_TRUE(WriteStringValue(kRunMru, "MRUList", "a"));
        return files;
    }
    std::string ReportFile(const char* name) { return BesideTestProgram(name); }
};

const ReportFields* ItemFor(const std::vector<ReportFields>& items, const std::string& path) {
    for (const ReportFields& item : items)
        if (lstrcmpiA(item.at("path").c_str(), path.c_str()) == 0) return &item;
    return nullptr;
}

} // namespace

TEST(AnotherProcess, DISABLED_HoldsAFile) { HeldByAnotherProcess::Serve(); }

TEST_F(CommandLineRun, WrongArgumentsEndWithTwoAndAUsageLineAndHelpSaysAll) {
    ASSERT_TRUE(InstallPackage());
    ASSERT_TRUE(WaitForInstallerEnd());
    std::string output;
    bool window = false;
    EXPECT_EQ(RunWatched("/bogus", &output, &window), 2);
    EXPECT_TRUE(Contains(output, "zlt.exe: unknown argument \"/bogus\"\r\nUsage: zlt.exe ")) << output;
    EXPECT_FALSE(window);
    EXPECT_EQ(RunCommand(Zlt("/clean /report"), &output), 2);
    EXPECT_TRUE(Contains(output, "/report needs the name of a file")) << output;
    EXPECT_EQ(RunCommand(Zlt("/silent"), &output), 2);
    EXPECT_TRUE(Contains(output, "Usage: zlt.exe ")) << output;

    EXPECT_EQ(RunWatched("/help", &output, &window), 0);
    EXPECT_EQ(output.rfind("Usage: zlt.exe ", 0), 0u) << output;
    for (const char* word : {"/clean", "/preview", "/report FILE", "/silent", "Exit codes"})
        EXPECT_TRUE(Contains(output, word)) << word;
    EXPECT_FALSE(window);
    EXPECT_EQ(CountProgramProcesses(), 0);
}

TEST_F(CommandLineRun, TextGoesToTheConsoleOfTheProgramThatStartedIt) {
    // Started as from a command prompt: no handles of its own, a console beside it.
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    HANDLE screen = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(screen, INVALID_HANDLE_VALUE);
    HANDLE process = StartProgram(Zlt("/help"));
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(WaitForExit(process), 0);
    CloseHandle(process);
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    ASSERT_TRUE(GetConsoleScreenBufferInfo(screen, &info));
    std::string text(static_cast<size_t>(info.dwSize.X) * 4, ' ');
    DWORD read = 0;
    ASSERT_TRUE(ReadConsoleOutputCharacterA(screen, text.data(), static_cast<DWORD>(text.size()), {0, 0}, &read));
    EXPECT_EQ(text.rfind("Usage: zlt.exe ", 0), 0u) << text;
    CloseHandle(screen);
    FreeConsole();
}

TEST_F(CommandLineRun, CleanSilentClearsTheStoredSelectionWritesItsReportAndShowsNothing) {
    StoreSelection();
    const auto files = SeedTraces();
    const std::string report = ReportFile("clean.json");
    std::string output;
    bool window = true;
    EXPECT_EQ(RunWatched("/clean /silent /report \"" + report + "\"", &output, &window), 0);
    EXPECT_EQ(output, "");
    EXPECT_FALSE(window) << "a window or box of the program came up";
    for (const auto& file : files) EXPECT_FALSE(PathExists(file.first)) << file.first;
    EXPECT_FALSE(KeyExists(kRunMru));

    // The report FILE, and the same in the user's own reports.
    const std::string json = FileText(report);
    EXPECT_EQ(ReportString(json, "mode"), "clean");
    EXPECT_EQ(ReportString(json, "trigger"), "command-line");
    const std::vector<ReportFields> items = ReportItems(json);
    for (const auto& [path, size] : files) {
        const ReportFields* item = ItemFor(items, path);
        ASSERT_NE(item, nullptr) << path;
        EXPECT_EQ(item->at("action"), "removed");
        EXPECT_EQ(item->at("bytes"), std::to_string(size));
    }
    EXPECT_NE(ItemFor(items, std::string("HKEY_CURRENT_USER\\") + kRunMru), nullptr);
    EXPECT_EQ(ReportTotals(json)["left"], "0");
    const std::string kept = NewestReport("command-line");
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(ReportItems(FileText(kept)).size(), items.size());
}

TEST_F(CommandLineRun, PreviewChangesNothingAndSaysWhatCleanWouldDo) {
    StoreSelection();
    const auto files = SeedTraces();
    const std::string report = ReportFile("preview.json");
    const std::vector<std::string> keptBefore = FolderEntries(ReportsFolder());
    std::string output;
    EXPECT_EQ(RunCommand(Zlt("/preview /report \"" + report + "\""), &output), 0);
    EXPECT_EQ(output.rfind("Preview of ", 0), 0u) << output;
    EXPECT_TRUE(Contains(output, "\r\nTo be removed: 2 files (1.77 KB), 0 database rows, 1 registry entry.")) << output;
    for (const auto& file : files) EXPECT_EQ(FileText(file.first), std::string(file.second, 'L')) << file.first;
    EXPECT_EQ(ValueOf(kRunMru, "a"), "regedit\\1");
    const std::string json = FileText(report);
    EXPECT_EQ(ReportString(json, "mode"), "preview");
    for (const auto& file : files) EXPECT_NE(ItemFor(ReportItems(json), file.first), nullptr) << file.first;
    // A preview is no clearing: the user's reports keep only the clearings.
    EXPECT_EQ(FolderEntries(ReportsFolder()), keptBefore);
}

TEST_F(CommandLineRun, AFileAnotherProgramHoldsIsLeftNamedAndEndsWithOne) {
    StoreSelection();
    const auto files = SeedTraces();
    HeldByAnotherProcess holder(files[0].first);
    ASSERT_TRUE(holder.holding());
    const std::string report = ReportFile("held.json");
    std::string output;
    EXPECT_EQ(RunCommand(Zlt("/clean /report \"" + report + "\""), &output), 1);
    EXPECT_TRUE(PathExists(files[0].first));
    EXPECT_FALSE(PathExists(files[1].first));
    const std::vector<ReportFields> items = ReportItems(FileText(report));
    const ReportFields* item = ItemFor(items, files[0].first);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->at("action"), "left");
    EXPECT_EQ(item->at("reason"), "held");
    EXPECT_EQ(item->at("holder"), ThisProgramName());
    EXPECT_EQ(item->at("holderPid"), std::to_string(holder.pid()));
    EXPECT_TRUE(Contains(output, "Left: " + files[0].first + " (held by " + ThisProgramName())) << output;
}

TEST_F(CommandLineRun, SettingsThatCannotBeReadEndWithTwoAndClearNothing) {
    const auto files = SeedTraces();
    WriteTextFile(UserSettingsFile(), "not the program's settings");
    std::string output;
    bool window = true;
    EXPECT_EQ(RunWatched("/clean /silent", &output, &window), 2);
    EXPECT_FALSE(window) << "the damage was told in a box";
    EXPECT_TRUE(Contains(output, "Error: Wrong settings.dat")) << output;
    EXPECT_TRUE(Contains(output, "zlt.exe: the settings cannot be read; nothing was cleared")) << output;
    EXPECT_TRUE(PathExists(files[0].first));

    // A damaged options.ini beside sound settings: the same.
    StoreSelection();
    WriteTextFile(UserDataFolder() + "\\options.ini", "[Firefox]\r\nthis is no option line\r\n");
    EXPECT_EQ(RunCommand(Zlt("/clean /silent"), &output), 2);
    EXPECT_TRUE(PathExists(files[0].first));
    DeleteFileA((UserDataFolder() + "\\options.ini").c_str());
}

TEST_F(CommandLineRun, WhileTheProgramInTheTrayClearsTheCommandLineEndsWithThreeAndDisturbsNothing) {
    // A shredding run of the program that takes a while, held at its cancel question.
    StoreSelection(true);
    const std::string block(4 * 1024 * 1024, 'b');
    for (int n = 0; n < 48; ++n) SeedFile(Recent() + "\\big" + std::to_string(n) + ".lnk", block);
    HANDLE process = StartProgram(std::string("\"") + kInstalledProgram + "\"");
    ASSERT_NE(process, nullptr);
    const DWORD pid = GetProcessId(process);
    const HWND window = WaitForMainWindow(60000);
    ASSERT_NE(window, nullptr);
    WaitForInputIdle(process, 30000);

    // While it idles, a command line runs beside it and leaves it be.
    std::string output;
    EXPECT_EQ(RunCommand(Zlt("/preview /silent"), &output), 0) << output;
    EXPECT_EQ(CountProgramProcesses(), 1);
    EXPECT_EQ(WaitForMainWindow(1000), window);

    PostMessageA(window, WM_COMMAND, CmdClearAll, 0);
    const HWND progress = WaitForProgramWindow(pid, "Files Shredding", 30000);
    ASSERT_NE(progress, nullptr);
    Press(progress, IDC_PROGRESS_CANCEL);
    const Box question = WaitForProgramBox(pid, 30000);
    ASSERT_NE(question.window, nullptr);
    ASSERT_EQ(question.text, "Do you want to cancel shredding?");

    EXPECT_EQ(RunCommand(Zlt("/clean /silent"), &output), 3);
    EXPECT_TRUE(Contains(output, "zlt.exe: another clearing is running; nothing was cleared")) << output;
    EXPECT_TRUE(IsWindow(question.window));
    EXPECT_EQ(CountProgramProcesses(), 1);

    // "No": the run goes on to its end, and the program with it.
    Press(question.window, IDCANCEL);
    EXPECT_TRUE(WaitForWindowGone(progress, 300000)) << "the run did not end";
    for (int n = 0; n < 48; ++n) EXPECT_FALSE(PathExists(Recent() + "\\big" + std::to_string(n) + ".lnk")) << n;
    PostMessageA(window, WM_COMMAND, CmdExitProgram, 0);
    EXPECT_EQ(WaitForExit(process, 60000), 0);
    CloseHandle(process);
}
