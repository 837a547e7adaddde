// The main window's browser and Skype watches, the closing prompts before Clear All and in a
// threaded run, and the hot keys: stand-in programs play the browsers and Skype.
#include <set>

#include "app/messages.h"
#include "control/browser_windows.h"
#include "control/running_programs.h"
#include "engine/clearing_lease.h"
#include "tests/wine/main_window_fixture.h"
#include "tests/wine/recording_cleaner.h"
#include "tests/wine/standin.h"
#include "ui/pages/browser_page.h"

namespace {

struct WatchTest : MainWindowTest {
    void SetUp() override {
        MainWindowTest::SetUp();
        // The running flags live as long as the process: start from what runs now.
        RecordBrowsersRunning();
        UpdateSkypeRunning();
    }
    std::unique_ptr<HistoryCleaner> MakeCleaner() override { return std::make_unique<RecordingCleaner>(&s); }
    RecordingCleaner& recorded() { return static_cast<RecordingCleaner&>(*cleaner); }
    void Tick(UINT timer) { SendMessageA(main->hwnd(), WM_TIMER, timer, 0); }
    // Every option of every browser and of Skype.
    void SelectEverything() {
        for (uint32_t* mask : {&s.historyMask, &s.cacheMask, &s.cookiesMask, &s.passwordsMask, &s.downloadsMask})
            *mask = 0xFFFFFFFF;
        s.clearMostPopularSites = s.clearLastSession = s.clearOperaSpeedDial = 1;
        s.deleteSkypeCalls = s.deleteSkypeChats = s.purgeSkypeDatabase = 1;
    }
};

} // namespace

TEST_F(WatchTest, ABrowserThatClosesIsClearedOnceAndOnlyItsSelectedItems) {
    s.clearOnBrowserClose = 1;
    s.historyMask = BrowserFirefox | BrowserOpera;
    s.cookiesMask = BrowserFirefox;
    StandIn firefox(folder, "firefox.exe", {"Start Page - Mozilla Firefox"});
    StandIn opera(folder, "opera.exe", {"Speed Dial - Opera"});
    Tick(TimerBrowserWatch);
    EXPECT_TRUE(recorded().calls.empty()); // running, not closed
    firefox.CloseAll();
    ASSERT_TRUE(firefox.WaitForExit());
    Tick(TimerBrowserWatch);
    EXPECT_EQ(recorded().calls, (Names{"ClearFirefoxHistory", "ClearFirefoxCookies"}));
    Tick(TimerBrowserWatch);
    Tick(TimerBrowserWatch);
    EXPECT_EQ(recorded().calls.size(), 2u); // once per closing
    EXPECT_EQ(s.runActive, 0);
    // One report, of the tick that cleared: the ticks that found nothing to do leave none.
    ASSERT_NE(cleaner->LastRecord(), nullptr);
    EXPECT_EQ(cleaner->LastRecord()->trigger, "watch");
    FolderList reports;
    cleaner->ListFiles(s.ReportsFolder(), reports);
    EXPECT_EQ(reports.size(), 2u); // its text and its JSON
}

TEST_F(WatchTest, NothingFiresWhileAClearingHoldsTheLeaseAndTheClosingIsSeenAfterwards) {
    s.clearOnBrowserClose = 1;
    s.clearSkypeOnQuit = 1;
    SelectEverything();
    StandIn chrome(folder, "chrome.exe", {"New Tab - Google Chrome"});
    StandIn skype(folder, "skype.exe", {"--hidden", "Skype"});
    Tick(TimerBrowserWatch);
    Tick(TimerSkypeWatch);
    chrome.CloseAll();
    skype.CloseAll();
    ASSERT_TRUE(chrome.WaitForExit());
    ASSERT_TRUE(skype.WaitForExit());
    {
        ClearingLease other(s);
        ASSERT_TRUE(other);
        Tick(TimerBrowserWatch);
        Tick(TimerSkypeWatch);
        EXPECT_TRUE(recorded().calls.empty());
    }
    Tick(TimerBrowserWatch);
    EXPECT_EQ(recorded().calls, (Names{"ClearChromeHistory", "ClearChromeCache", "ClearChromeCookies",
                                       "ClearChromePasswords", "ClearChromeDownloads"}));
    recorded().calls.clear();
    Tick(TimerSkypeWatch);
    EXPECT_EQ(recorded().calls, (Names{"ClearSkypeCalls", "ClearSkypeChats", "PurgeSkypeDatabase"}));
    EXPECT_EQ(s.runActive, 0);
}

TEST_F(WatchTest, TheInternetExplorerFamilyClearsInTheWatchOrderWhenAnyOfItsProgramsCloses) {
    s.clearOnBrowserClose = 1;
    SelectEverything();
    StandIn maxthon(folder, "Maxthon.exe", {"Maxthon window"});
    StandIn ie(folder, "iexplore.exe", {"Blank - Internet Explorer"});
    StandIn opera(folder, "Opera.exe", {"Speed Dial - Opera"});
    Tick(TimerBrowserWatch);
    maxthon.CloseAll();
    opera.CloseAll();
    ASSERT_TRUE(maxthon.WaitForExit());
    ASSERT_TRUE(opera.WaitForExit());
    Tick(TimerBrowserWatch);
    EXPECT_EQ(recorded().calls,
              (Names{"ClearIEHistory", "ClearIECache", "ClearIEPasswords", "ClearIEDownloads", "ClearHistoryIndexDat",
                     "ClearCacheIndexDat", "ClearIECookies", "ClearCookiesIndexDat", "ClearIEMostPopularSites",
                     "ClearIELastSession", "ClearOperaHistory", "ClearOperaCache", "ClearOperaCookies",
                     "ClearOperaPasswords", "ClearOperaDownloads", "ClearOperaSpeedDial"}));
}

TEST_F(WatchTest, SkypeThatStaysOrWasNeverSeenClearsNothing) {
    s.clearSkypeOnQuit = 1;
    SelectEverything();
    Tick(TimerSkypeWatch); // not running: nothing went away
    StandIn skype(folder, "skype.exe", {"--hidden", "Skype"});
    Tick(TimerSkypeWatch);
    Tick(TimerSkypeWatch);
    EXPECT_TRUE(recorded().calls.empty());
}

TEST_F(WatchTest, ClearAllAsksAboutTheBrowsersOfPagesWithBoxesTicked) {
    s.clearRunHistory = 1; // something to clear
    StandIn firefox(folder, "firefox.exe", {"Start Page - Mozilla Firefox"});
    BoxRecorder boxes(false);
    s.confirmAfterClear = 0;
    Command(CmdClearAll);
    EXPECT_TRUE(boxes.boxes.empty()); // the Firefox page has nothing ticked

    CPage* page = main->PageFor(PAGE_FIREFOX);
    ASSERT_NE(page, nullptr);
    CheckDlgButton(page->hwnd(), IDC_FIREFOX_HISTORY, BST_CHECKED);
    Command(CmdClearAll);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].parent, main->hwnd());
    EXPECT_EQ(boxes.boxes[0].text.substr(0, 16), "Firefox is open.");
    EXPECT_EQ(recorded().calls, (Names{"ClearRunHistory", "ClearRunHistory"})); // the clearing goes on
    EXPECT_TRUE(firefox.running());
}

namespace {

// A cleaner whose Skype step is counted, asking about Skype through the window as the program does.
class SkypeCleaner : public HistoryCleaner {
public:
    using HistoryCleaner::HistoryCleaner;
    int skypeCalls = 0;
    void ClearSkypeCalls() override { ++skypeCalls; }
};

struct SkypeAtClearAll : MainWindowTest {
    std::unique_ptr<HistoryCleaner> MakeCleaner() override { return std::make_unique<SkypeCleaner>(&s); }
    int calls() { return static_cast<SkypeCleaner&>(*cleaner).skypeCalls; }
};

} // namespace

TEST_F(SkypeAtClearAll, AskedToQuitSkypeFirstAndItsHistoryKeptWhenTheUserKeepsIt) {
    s.deleteSkypeCalls = 1;
    s.confirmAfterClear = 0;
    s.askCloseBrowsers = 0; // applies to browsers only
    {
        StandIn skype(folder, "skype.exe", {"--hidden", "Skype"});
        BoxRecorder boxes(false);
        Command(CmdClearAll);
        ASSERT_EQ(boxes.boxes.size(), 2u);
        EXPECT_EQ(boxes.boxes[0].caption, "Try again...");
        EXPECT_EQ(boxes.boxes[0].parent, main->hwnd());
        EXPECT_EQ(boxes.boxes[1].text, "You selected not to clear Skype history!");
        EXPECT_EQ(calls(), 0);
    }
    BoxRecorder boxes(false);
    Command(CmdClearAll); // Skype has gone: no question, cleared
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(calls(), 1);
}

TEST_F(WatchTest, ABrowserPageAsksAboutItsBrowserBeforeItClears) {
    s.historyMask = BrowserFirefox;
    StandIn firefox(folder, "firefox.exe", {"Start Page - Mozilla Firefox"});
    auto* page = dynamic_cast<CWindowBrowserPage*>(main->PageFor(PAGE_FIREFOX));
    ASSERT_NE(page, nullptr);
    BoxRecorder boxes(true); // Yes to everything
    page->ClearNow();
    EXPECT_TRUE(firefox.WaitForExit());
    ASSERT_GE(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, "Are you sure you want to clear select items?");
    EXPECT_EQ(boxes.boxes[1].text.substr(0, 16), "Firefox is open.");
    EXPECT_EQ(boxes.boxes[1].parent, main->hwnd());
    EXPECT_EQ(recorded().calls, (Names{"ClearFirefoxHistory"}));
}

namespace {

// Google Desktop's cleaner asks first, as the real one does; notes the answer.
class AskingCleaner : public RecordingCleaner {
public:
    using RecordingCleaner::RecordingCleaner;
    std::vector<int> answers;
    void ClearGoogleDesktopHistory() override { answers.push_back(PromptCloseGoogleDesktop() ? 1 : 0); }
};

struct ThreadedPrompt : WatchTest {
    std::unique_ptr<HistoryCleaner> MakeCleaner() override { return std::make_unique<AskingCleaner>(&s); }
    AskingCleaner& asking() { return static_cast<AskingCleaner&>(*cleaner); }
};

} // namespace

TEST_F(ThreadedPrompt, AThreadedRunAsksOnTheWindowsThread) {
    StandIn desktop(folder, "GoogleDesktop.exe", {"--hidden", "Google Desktop"});
    s.clearGoogleDesktopHistory = 1;
    s.shredFiles = 1;
    std::vector<DWORD> threads;
    std::vector<BoxRequest> shown;
    SetBoxHookForTests([&](const BoxRequest& r) {
        threads.push_back(GetCurrentThreadId());
        shown.push_back(r);
        return false; // No: keep it running
    });
    Command(CmdClearAll);
    ASSERT_TRUE(PumpUntil([&] { return !main->progressWindow().running(); }));
    SetBoxHookForTests(nullptr);
    EXPECT_EQ(asking().answers, (std::vector<int>{0}));
    ASSERT_EQ(shown.size(), 2u); // the question, then the warning
    EXPECT_EQ(shown[0].parent, main->hwnd());
    EXPECT_EQ(shown[1].text, "You selected not to clear Google Desktop history!");
    EXPECT_EQ(threads, (std::vector<DWORD>{GetCurrentThreadId(), GetCurrentThreadId()}));
}

TEST_F(ThreadedPrompt, AStoppedRunNoLongerWaitsForTheAnswer) {
    StandIn desktop(folder, "GoogleDesktop.exe", {"--hidden", "Google Desktop"});
    s.clearGoogleDesktopHistory = 1;
    s.shredFiles = 1;
    BoxRecorder boxes;
    Command(CmdClearAll);
    // The window's thread is busy elsewhere (the exit path's wait) when the question comes: it
    // waits, unanswered, in this thread's queue.
    MSG queued;
    for (int waited = 0; waited < 20000 && !PeekMessageA(&queued, main->hwnd(), MsgPromptClose, MsgPromptClose, PM_NOREMOVE);
         waited += 10)
        Sleep(10);
    EXPECT_TRUE(main->progressWindow().StopRun(5000));
    EXPECT_EQ(asking().answers, (std::vector<int>{0}));
    PumpMessages(200); // the question that is still queued is dropped unasked
    EXPECT_TRUE(boxes.boxes.empty());
}

// ---- Hot keys

namespace {

// A top-level window of this process titled like a browser's; notes the order in which such
// windows are shown.
std::vector<HWND> shownOrder;
LRESULT CALLBACK NotingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_SHOWWINDOW && wp) shownOrder.push_back(w);
    return DefWindowProcA(w, m, wp, lp);
}
HWND NotingWindow(const char* title) {
    static const bool registered = [] {
        WNDCLASSA c = {};
        c.lpfnWndProc = NotingProc;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = "ZltNotingWindow";
        return RegisterClassA(&c) != 0;
    }();
    (void)registered;
    return CreateWindowExA(0, "ZltNotingWindow", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200, 100, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

bool KeyTaken(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 0x3FFF, modifiers, key)) return true;
    UnregisterHotKey(nullptr, 0x3FFF);
    return false;
}

} // namespace

TEST_F(WatchTest, HideTwiceThenShowRestoresEveryWindowInHidingOrder) {
    HWND first = NotingWindow("News - Opera");
    HideAllBrowsers();
    HWND second = NotingWindow("Home - Netscape");
    HWND third = NotingWindow("Mozilla");
    HideAllBrowsers();
    EXPECT_FALSE(IsWindowVisible(first) || IsWindowVisible(second) || IsWindowVisible(third));
    shownOrder.clear();
    EXPECT_EQ(ShowHiddenBrowsers(), 1);
    ASSERT_EQ(shownOrder.size(), 3u);
    EXPECT_EQ(shownOrder[0], first);
    EXPECT_EQ(std::set<HWND>(shownOrder.begin() + 1, shownOrder.end()), (std::set<HWND>{second, third}));
    shownOrder.clear();
    ShowHiddenBrowsers(); // the queue is empty now
    EXPECT_TRUE(shownOrder.empty());
    // Hidden by the hot key, shown again when the program ends.
    SendMessageA(main->hwnd(), WM_HOTKEY, HotKeyIdHideBrowsers, 0);
    EXPECT_FALSE(IsWindowVisible(second));
    Command(CmdExitProgram);
    EXPECT_TRUE(IsWindowVisible(first) && IsWindowVisible(second) && IsWindowVisible(third));
    for (HWND w : {first, second, third}) DestroyWindow(w);
}

TEST_F(WatchTest, AtStartTwoHotKeysAndAfterApplyAllSixFromAnotherProcess) {
    const UINT ctrlShift = MOD_CONTROL | MOD_SHIFT;
    EXPECT_TRUE(KeyTaken(ctrlShift, 'C'));
    EXPECT_TRUE(KeyTaken(ctrlShift, 'E'));
    EXPECT_FALSE(KeyTaken(ctrlShift, 'H'));
    EXPECT_FALSE(KeyTaken(ctrlShift, 'M'));

    s.hotKeyShowBrowsers = 0; // no key: nothing registered, nothing said
    s.hotKeyMinimizeAll = MakeHotKeyValue('M', HotKeyAlt);
    ApplyHotKeys(main->hwnd(), s);
    EXPECT_TRUE(KeyTaken(ctrlShift, 'H'));
    EXPECT_TRUE(KeyTaken(ctrlShift, 'Q'));
    EXPECT_TRUE(KeyTaken(MOD_ALT, 'M'));
    EXPECT_FALSE(KeyTaken(ctrlShift, 'M'));
    EXPECT_FALSE(KeyTaken(ctrlShift, 'S'));

    // Keys pressed in another program reach the action.
    HWND browser = NotingWindow("Start Page - Mozilla Firefox");
    ASSERT_TRUE(PressHotKeyFromAnotherProcess(folder, 'H', HotKeyShift | HotKeyControl));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(browser); }, 5000));
    ShowHiddenBrowsers();
    ASSERT_TRUE(PressHotKeyFromAnotherProcess(folder, 'Q', HotKeyShift | HotKeyControl));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(browser); }, 5000));
    s.clearRunHistory = 1;
    ASSERT_TRUE(PressHotKeyFromAnotherProcess(folder, 'C', HotKeyShift | HotKeyControl));
    EXPECT_TRUE(PumpUntil([&] { return !recorded().calls.empty(); }, 5000));
    EXPECT_EQ(recorded().calls, (Names{"ClearRunHistory"}));
    // Applying again keeps them (each is given up before it is taken again); a changed key frees
    // the old combination.
    ApplyHotKeys(main->hwnd(), s);
    EXPECT_TRUE(KeyTaken(ctrlShift, 'H'));
    s.hotKeyHideBrowsers = RegisterHotKeyFor(main->hwnd(), MakeHotKeyValue('H', HotKeyAlt), HotKeyIdHideBrowsers);
    EXPECT_EQ(s.hotKeyHideBrowsers, MakeHotKeyValue('H', HotKeyAlt));
    EXPECT_FALSE(KeyTaken(ctrlShift, 'H'));
    EXPECT_TRUE(KeyTaken(MOD_ALT, 'H'));
}
