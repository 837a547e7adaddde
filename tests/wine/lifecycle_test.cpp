// The life of a clearing and of the program around it: the clear entry, one clearing at a time,
// the exit path with and without a run going, and how the program starts from its settings.
#include <algorithm>
#include <atomic>
#include <mutex>
#include <objbase.h>
#include <shlobj.h>

#include "app/messages.h"
#include "app/settings_format.h"
#include "engine/clearing_lease.h"
#include "tests/wine/engine_support.h"
#include "tests/wine/main_window_fixture.h"

namespace {

// A cleaner whose Run history step holds until it is released (or the run is stopped), and which
// notes on which thread each step ran and whether two ever overlapped.
class HeldCleaner : public HistoryCleaner {
public:
    using HistoryCleaner::HistoryCleaner;
    std::atomic<int> calls{0}, inside{0}, mostInside{0};
    std::atomic<bool> release{false};
    std::mutex lock;
    std::vector<DWORD> threads; // in the order the steps began

    void ClearRunHistory() override {
        {
            std::lock_guard<std::mutex> guard(lock);
            threads.push_back(GetCurrentThreadId());
        }
        ++calls;
        const int now = ++inside;
        if (now > mostInside) mostInside = now;
        // Bounded, so that a clear that should have been refused fails the test instead of hanging.
        for (int waited = 0; waited < 3000 && !release && !settings->stopRequested; waited += 5) Sleep(5);
        --inside;
    }
};

struct HeldRun : MainWindowTest {
    std::unique_ptr<HistoryCleaner> MakeCleaner() override { return std::make_unique<HeldCleaner>(&s); }
    HeldCleaner& held() { return static_cast<HeldCleaner&>(*cleaner); }
    void TearDown() override {
        held().release = true;
        if (main && main->hwnd()) PumpUntil([&] { return !main->progressWindow().running(); }, 5000);
        MainWindowTest::TearDown();
    }
};

} // namespace

TEST_F(MainWindowTest, NoOptionSelectedWarnsAndClearsNothing) {
    BoxRecorder boxes;
    Command(CmdClearAll);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Warning");
    EXPECT_EQ(boxes.boxes[0].text, "Please select items you want to clear in 'What to clear' windows.");
    EXPECT_EQ(s.runActive, 0);
}


namespace {
const char kRunMru[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

void SeedKey(const char* path) { ASSERT_TRUE(SetString(HKEY_CURRENT_USER, path, "a", "notepad")); }

// The reports saved in `folder`, by what started each clearing ("clear-all", "hot-key", ...).
std::vector<std::string> SavedReports(const std::string& folder) {
    std::vector<std::string> triggers;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.json").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return triggers;
    do {
        // "20261208-170141-clear-all.json", or "...-clear-all-2.json" for the second in that second.
        std::string trigger = found.cFileName;
        trigger = trigger.substr(16, trigger.size() - 21);
        const size_t dash = trigger.find_last_of('-');
        if (dash != std::string::npos && trigger.find_first_not_of("0123456789", dash + 1) == std::string::npos)
            trigger.erase(dash);
        triggers.push_back(trigger);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(triggers.begin(), triggers.end());
    return triggers;
}

bool RecordsRemovalOf(const RunRecord& record, const std::string& key) {
    return std::any_of(record.items.begin(), record.items.end(), [&](const RecordItem& item) {
        return item.action == ItemAction::Removed && item.path == "HKEY_CURRENT_USER\\" + key;
    });
}
} // namespace

TEST_F(MainWindowTest, ClearAllWithoutShreddingClearsAndConfirms) {
    SeedKey(kRunMru);
    s.clearRunHistory = 1;
    s.confirmAfterClear = 1;
    BoxRecorder boxes;
    Command(CmdClearAll);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRunMru));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Zephyrlanthorpe");
    // The line it always had, then what the clearing's record says went, and the offer of its report.
    EXPECT_TRUE(boxes.boxes[0].question);
    EXPECT_EQ(boxes.boxes[0].text.rfind("All selected items have been deleted.\nRemoved: 0 files", 0), 0u)
        << boxes.boxes[0].text;
    EXPECT_NE(boxes.boxes[0].text.find("1 registry entry"), std::string::npos) << boxes.boxes[0].text;
    EXPECT_EQ(s.runActive, 0);
    ASSERT_NE(cleaner->LastRecord(), nullptr);
    EXPECT_TRUE(RecordsRemovalOf(*cleaner->LastRecord(), kRunMru));
    // The hot key and the scheduler clear silently, each recorded as itself.
    SeedKey(kRunMru);
    SendMessageA(main->hwnd(), WM_HOTKEY, HotKeyIdClearAll, 0);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRunMru));
    EXPECT_TRUE(RecordsRemovalOf(*cleaner->LastRecord(), kRunMru));
    SendMessageA(main->hwnd(), WM_TIMER, TimerScheduler, 0);
    EXPECT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(SavedReports(s.ReportsFolder()), (std::vector<std::string>{"clear-all", "hot-key", "scheduler"}));
}

TEST_F(MainWindowTest, AClearingThatLeavesItemsDoesNotSayEverythingWasDeleted) {
    // The Recent folder, with a link that no program may delete meanwhile.
    const std::string recent = MakeFolder(ShellFolderPath(CSIDL_APPDATA) + "\\Microsoft\\Windows\\Recent");
    const std::string link = recent + "\\plan.txt.lnk";
    WriteTextFile(link, "kept open");
    HeldFile open(link, 0);
    ASSERT_TRUE(open.held());
    s.emptyRecentItems = 1;
    s.confirmAfterClear = 1;
    BoxRecorder boxes;
    Command(CmdClearAll);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.rfind("Not all selected items could be deleted.\n", 0), 0u) << boxes.boxes[0].text;
    EXPECT_TRUE(PathExists(link));
}

TEST_F(MainWindowTest, ThreadedRunClearsInTheBackgroundWithoutAConfirmation) {
    SeedKey(kRunMru);
    s.clearRunHistory = 1;
    s.shredFiles = 1;
    BoxRecorder boxes;
    Command(CmdClearAll);
    ASSERT_TRUE(PumpUntil([&] { return !main->progressWindow().running(); }));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRunMru));
    EXPECT_EQ(s.runActive, 0);
    EXPECT_TRUE(boxes.boxes.empty());
    // Recorded and saved on the worker before its end was heard of here.
    ASSERT_NE(cleaner->LastRecord(), nullptr);
    EXPECT_TRUE(RecordsRemovalOf(*cleaner->LastRecord(), kRunMru));
    EXPECT_EQ(SavedReports(s.ReportsFolder()), std::vector<std::string>{"clear-all"});
}

TEST_F(MainWindowTest, ExitWithClearingOnAShreddingRunEndsAfterTheRun) {
    SeedKey(kRunMru);
    s.clearRunHistory = 1;
    s.shredFiles = 1;
    s.clearOnExit = 1;
    HWND window = main->hwnd();
    Command(CmdToolbarExit);
    // The run posts the exit command at its end; the window goes then.
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 15000));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRunMru));
    // The run, and the clearing on this thread that the exit path always ends with.
    EXPECT_EQ(SavedReports(s.ReportsFolder()), (std::vector<std::string>{"exit", "exit"}));
    EXPECT_EQ(s.exiting, 1);
    EXPECT_EQ(s.runActive, 0);
    EXPECT_TRUE(PathExists(folder / "settings.dat"));
}

TEST_F(MainWindowTest, AnExitWithNothingToClearArmsNoLaterExit) {
    s.clearOnExit = 1;
    BoxRecorder boxes;
    Command(CmdToolbarExit);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Please select items you want to clear in 'What to clear' windows.");
    EXPECT_TRUE(IsWindow(main->hwnd()));
    EXPECT_EQ(s.exitAfterRun, 0);
    // The next shredding run ends as a run, not as the program.
    SeedKey(kRunMru);
    s.clearRunHistory = 1;
    s.shredFiles = 1;
    Command(CmdClearAll);
    ASSERT_TRUE(PumpUntil([&] { return !main->progressWindow().running(); }));
    PumpMessages(300);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRunMru));
    EXPECT_TRUE(IsWindow(main->hwnd()));
    EXPECT_EQ(s.exiting, 0);
}

TEST_F(HeldRun, WhileARunGoesNoOtherClearingStarts) {
    BoxRecorder boxes;
    s.clearRunHistory = 1;
    s.shredFiles = 1;
    Command(CmdClearAll);
    ASSERT_TRUE(PumpUntil([&] { return held().inside == 1; }));
    Command(CmdClearAll);                                  // another threaded run
    SendMessageA(main->hwnd(), WM_TIMER, TimerScheduler, 0); // the scheduler
    s.shredFiles = 0;
    Command(CmdClearAll); // a synchronous clearing on this thread
    EXPECT_EQ(held().calls, 1);
    held().release = true;
    ASSERT_TRUE(PumpUntil([&] { return !main->progressWindow().running(); }));
    EXPECT_EQ(held().calls, 1);
    EXPECT_EQ(held().mostInside, 1);
    EXPECT_EQ(s.runActive, 0);
    // Afterwards a clearing starts again.
    Command(CmdClearAll);
    EXPECT_EQ(held().calls, 2);
}

TEST(ClearingLease, ASynchronousClearingThatThrowsGivesTheLeaseBack) {
    ProgramSettings s;
    try {
        ClearingLease lease(s);
        ASSERT_TRUE(lease);
        EXPECT_FALSE(ClearingLease(s)); // taken
        throw 1;
    } catch (int) {
    }
    EXPECT_EQ(s.runActive, 0);
    EXPECT_TRUE(ClearingLease(s));
}

TEST_F(MainWindowTest, ACancelledShutdownKeepsTheProgramRunning) {
    SendMessageA(main->hwnd(), WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(IsWindow(main->hwnd()));
    EXPECT_EQ(s.exiting, 0);
    EXPECT_TRUE(main->trayIconAdded());
}

TEST_F(HeldRun, EndOfSessionStopsTheRunBeforeTheExitClearing) {
    s.clearRunHistory = 1;
    s.shredFiles = 1;
    s.clearOnExit = 1;
    Command(CmdClearAll);
    ASSERT_TRUE(PumpUntil([&] { return held().inside == 1; }));
    const DWORD worker = held().threads.at(0);
    HWND window = main->hwnd();
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IsWindow(window));
    // The exit-time clearing ran on this thread, only once the worker had let go of the cleaner.
    ASSERT_EQ(held().threads.size(), 2u);
    EXPECT_NE(held().threads[0], GetCurrentThreadId());
    EXPECT_EQ(held().threads[0], worker);
    EXPECT_EQ(held().threads[1], GetCurrentThreadId());
    EXPECT_EQ(held().mostInside, 1);
    EXPECT_FALSE(main->progressWindow().running());
    EXPECT_EQ(ReadFileBytes(folder / "settings.dat").size(), 179u);
}

// ---- Hot keys

namespace {

// A top-level window titled like a browser's, of a class that goes on WM_CLOSE.
HWND BrowserLikeWindow(const char* title) {
    return CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                           nullptr, nullptr, nullptr);
}

} // namespace

TEST_F(MainWindowTest, BrowserHotKeysHideShowMinimiseAndClose) {
    HWND firefox = BrowserLikeWindow("Start Page - Mozilla Firefox");
    HWND chrome = BrowserLikeWindow("Start Page - Google Chrome");
    auto hotKey = [&](int id) {
        SendMessageA(main->hwnd(), WM_HOTKEY, id, 0);
        PumpMessages(100);
    };
    hotKey(HotKeyIdHideBrowsers);
    EXPECT_FALSE(IsWindowVisible(firefox));
    EXPECT_TRUE(IsWindowVisible(chrome)); // no title ending of the list
    hotKey(HotKeyIdShowBrowsers);
    EXPECT_TRUE(IsWindowVisible(firefox));
    hotKey(HotKeyIdMinimizeAll);
    EXPECT_TRUE(IsIconic(firefox));
    EXPECT_TRUE(IsIconic(chrome));
    EXPECT_TRUE(IsIconic(main->hwnd())); // the program's own window too
    ShowWindow(main->hwnd(), SW_RESTORE);
    hotKey(HotKeyIdCloseBrowsers);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(firefox); }, 3000));
    EXPECT_TRUE(IsWindow(chrome));
    DestroyWindow(chrome);
    hotKey(HotKeyIdHelp);
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_HELP));
    EXPECT_EQ(main->leftPanel().mode(), 1);
}

// ---- COM on the worker

TEST_F(MainWindowTest, TheWorkerCanUseComObjects) {
    HRESULT created = E_FAIL;
    ASSERT_TRUE(main->progressWindow().Start(main->hwnd(), [&](CDeleteThread& t) {
        IShellLinkA* link = nullptr;
        created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link));
        if (link) link->Release();
        t.observer->RunFinished(false);
    }));
    ASSERT_TRUE(PumpUntil([&] { return !main->progressWindow().running(); }));
    EXPECT_EQ(created, S_OK);
}

// ---- Starting on a damaged or misplaced settings file

namespace {

// Writes settings.dat before the window starts; `cut` keeps only that many bytes of it.
struct StartWithSettings : MainWindowTest {
    ProgramSettings stored;
    size_t cut = 0;
    size_t boxesAtStart = 0;
    void SetUp() override {
        stored.ApplyDefaults();
        Prepare();
        auto bytes = SerializeSettings(stored);
        if (cut) bytes.resize(cut);
        ASSERT_TRUE(WriteFileBytes(folder / "settings.dat", bytes));
        BoxRecorder boxes;
        MainWindowTest::SetUp();
        boxesAtStart = boxes.boxes.size();
    }
    virtual void Prepare() = 0;
};

struct CutSettingsStart : StartWithSettings {
    void Prepare() override {
        stored.windowLeft = 60;
        stored.windowTop = 70;
        stored.windowWidth = 700;
        stored.windowHeight = 500; // beyond the cut
        cut = 45;
    }
};

struct OffScreenStart : StartWithSettings {
    void Prepare() override {
        stored.windowLeft = -32000;
        stored.windowTop = -32000;
        stored.windowWidth = 700;
    }
};

// Protected, and open when the program last ended.
struct ProtectedStart : StartWithSettings {
    std::unique_ptr<PasswordAnswer> answer;
    void Prepare() override {
        stored.passwordEnabled = 1;
        stored.SetPassword("pass");
        answer = std::make_unique<PasswordAnswer>("nope");
    }
};

} // namespace

TEST_F(ProtectedStart, TheWindowOpensOnlyToItsPassword) {
    answer.reset();
    EXPECT_FALSE(IsWindowVisible(main->hwnd()));
    EXPECT_TRUE(main->trayIconAdded());
    EXPECT_EQ(s.windowShowCmd, 0);
}

TEST_F(CutSettingsStart, StartsVisibleWithTheValuesReadAndDefaultsForTheRest) {
    EXPECT_EQ(boxesAtStart, 1u); // told that the file was damaged and where it was kept
    EXPECT_TRUE(IsWindowVisible(main->hwnd()));
    EXPECT_TRUE(main->trayIconAdded());
    const RECT r = WindowRect(main->hwnd());
    EXPECT_EQ(r.left, 60);
    EXPECT_EQ(r.top, 70);
    EXPECT_EQ(r.right - r.left, 700);
    EXPECT_EQ(s.windowHeight, 450); // the window itself is never below its minimum tracking size
    EXPECT_EQ(s.hotKeyClearAll, 0x430003u);
    EXPECT_TRUE(PathExists(folder / "settings.dat.bad"));
    // What it saves at exit is a whole record again.
    Command(CmdExitProgram);
    const auto saved = ReadFileBytes(folder / "settings.dat");
    ProgramSettings parsed;
    EXPECT_EQ(ParseSettings(saved.data(), saved.size(), parsed), ParseResult::Ok);
    EXPECT_EQ(saved.size(), 179u);
}

TEST_F(OffScreenStart, APlacementOnNoScreenGivesTheDefaultOne) {
    EXPECT_EQ(boxesAtStart, 0u);
    EXPECT_TRUE(IsWindowVisible(main->hwnd()));
    const RECT r = WindowRect(main->hwnd());
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(s.windowWidth, 650);
}

namespace {

// Records what the clear on start saw of WOW64: start-up detects it before anything can clear.
class Wow64Witness : public HistoryCleaner {
public:
    using HistoryCleaner::HistoryCleaner;
    int seen = -1;
    void ClearRunHistory() override { seen = isWow64 ? 1 : 0; }
};

struct ClearOnStart : StartWithSettings {
    std::unique_ptr<HistoryCleaner> MakeCleaner() override { return std::make_unique<Wow64Witness>(&s); }
    void Prepare() override {
        stored.clearOnStart = 1;
        stored.clearRunHistory = 1;
        isWow64 = true; // what start-up found, before the window
    }
    void TearDown() override {
        isWow64 = false;
        StartWithSettings::TearDown();
    }
};

struct InvisibleStart : StartWithSettings {
    void Prepare() override { stored.invisibleMode = 1; }
};

struct Scheduler : StartWithSettings, ::testing::WithParamInterface<std::pair<int, int>> {
    void Prepare() override {
        stored.clearEvery = 1;
        stored.clearEveryHours = GetParam().first;
        stored.clearEveryMinutes = GetParam().second;
        stored.clearRunHistory = 1;
    }
};

} // namespace

TEST_F(ClearOnStart, ClearsSilentlyWithWow64AlreadyKnown) {
    EXPECT_EQ(static_cast<Wow64Witness&>(*cleaner).seen, 1);
    EXPECT_TRUE(isWow64); // not detected again, after the clear, by the window
    EXPECT_EQ(boxesAtStart, 0u); // no confirmation
    EXPECT_EQ(s.runActive, 0);
    ASSERT_NE(cleaner->LastRecord(), nullptr);
    EXPECT_EQ(cleaner->LastRecord()->trigger, "start");
}

TEST_F(InvisibleStart, NoWindowAndNoTrayIconUntilAskedFor) {
    EXPECT_FALSE(IsWindowVisible(main->hwnd()));
    EXPECT_FALSE(main->trayIconAdded());
    EXPECT_EQ(main->showCount(), 0);
    Command(CmdOpenMainWindow);
    EXPECT_TRUE(IsWindowVisible(main->hwnd()));
}

TEST_P(Scheduler, RunsOnlyWithAPeriodAndClearsSilentlyOnEachTick) {
    const bool period = GetParam().first * 60 + GetParam().second > 0;
    EXPECT_EQ(main->schedulerRunning(), period);
    if (!period) return;
    SeedKey(kRunMru);
    BoxRecorder boxes;
    SendMessageA(main->hwnd(), WM_TIMER, TimerScheduler, 0);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRunMru));
    EXPECT_TRUE(boxes.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Periods, Scheduler,
                         ::testing::Values(std::make_pair(0, 0), std::make_pair(0, 1), std::make_pair(2, 0)));
