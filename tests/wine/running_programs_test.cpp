// Running programs found through their windows, and the prompts that close them: stand-in programs
// copied under the browsers' and Skype's executable names, in the test's own folder.
#include <gtest/gtest.h>

#include <algorithm>

#include "control/running_programs.h"
#include "tests/wine/standin.h"
#include "tests/wine/test_support.h"
#include "tests/wine/ui_support.h"

namespace {

// Answers every box through the test hook: questions in the order of `answers` (then `fallback`),
// noting each box and, for questions, how many windows the watched stand-in had at that moment.
struct Boxes {
    std::vector<BoxRequest> shown;
    std::vector<bool> answers;
    bool fallback = false;
    const StandIn* watched = nullptr;
    std::vector<size_t> windowsAtQuestion;
    Boxes() {
        SetBoxHookForTests([this](const BoxRequest& r) {
            shown.push_back(r);
            if (!r.question) return true;
            if (watched) windowsAtQuestion.push_back(watched->Windows().size());
            const size_t n = std::count_if(shown.begin(), shown.end(), [](const BoxRequest& b) { return b.question; });
            return n <= answers.size() ? answers[n - 1] : fallback;
        });
    }
    ~Boxes() { SetBoxHookForTests(nullptr); }
    size_t questions() const {
        return std::count_if(shown.begin(), shown.end(), [](const BoxRequest& b) { return b.question; });
    }
};

struct RunningProgramsTest : ::testing::Test {
    TempFolder folder;
    ProgramSettings s; // askCloseBrowsers on by default
};

const char kFirefoxTitle[] = "Start Page - Mozilla Firefox";

} // namespace

TEST_F(RunningProgramsTest, CensusFindsProgramsByExecutableNameIgnoringCase) {
    StandIn firefox(folder, "FIREFOX.EXE", {kFirefoxTitle});
    ASSERT_TRUE(firefox.running());
    EXPECT_TRUE(IsProgramRunning("Firefox", "firefox.exe", false));
    EXPECT_TRUE(IsProgramRunning("Firefox", "firefox.exe", true));
    EXPECT_FALSE(IsProgramRunning("Opera", "Opera.exe", false));

    const WindowCensus visible = TakeVisibleWindowCensus();
    const WindowCensus::Entry* entry = visible.Find("firefox.exe");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->title, kFirefoxTitle);
    EXPECT_EQ(entry->path, folder / "FIREFOX.EXE");
    EXPECT_EQ(entry->window, firefox.Windows().at(0));

    const WindowCensus all = TakeAllWindowCensus();
    ASSERT_NE(all.Find("firefox.exe"), nullptr);
    EXPECT_EQ(all.Find("firefox.exe")->title, "START PAGE - MOZILLA FIREFOX");
    EXPECT_EQ(all.Find("firefox.exe")->processId, firefox.processId());

    // Once it has gone it is no longer running.
    firefox.CloseAll();
    ASSERT_TRUE(firefox.WaitForExit());
    EXPECT_FALSE(IsProgramRunning("Firefox", "firefox.exe", false));
}

TEST_F(RunningProgramsTest, HiddenWindowsCountOnlyForTheAllWindowChecks) {
    StandIn skype(folder, "skype.exe", {"--hidden", "Skype tray"});
    ASSERT_TRUE(skype.running());
    ASSERT_EQ(skype.Windows().size(), 1u);
    EXPECT_FALSE(IsProgramRunning("Skype", "skype.exe", false));
    EXPECT_TRUE(IsProgramRunning("Skype", "skype.exe", true));
    EXPECT_TRUE(IsSkypeRunning());
    UpdateSkypeRunning();
    EXPECT_TRUE(SkypeRunningFlag());
    skype.CloseAll();
    ASSERT_TRUE(skype.WaitForExit());
    EXPECT_FALSE(IsSkypeRunning());
    UpdateSkypeRunning();
    EXPECT_FALSE(SkypeRunningFlag());

    // The plug-in manager alone counts as Skype too.
    StandIn manager(folder, "SkypePM.exe", {"--hidden", "Plugin manager"});
    EXPECT_TRUE(IsSkypeRunning());
}

TEST_F(RunningProgramsTest, OneTitleCountsOnceAndAMinimisedWindowIsFound) {
    StandIn chrome(folder, "chrome.exe", {"Shared title", "Shared title"}, 2);
    ASSERT_EQ(chrome.Windows().size(), 2u);
    StandIn safari(folder, "safari.exe", {"Shared title"});
    ASSERT_TRUE(safari.running());
    const WindowCensus census = TakeVisibleWindowCensus();
    const size_t shared = std::count_if(census.entries().begin(), census.entries().end(),
                                        [](const WindowCensus::Entry& e) { return e.title == "Shared title"; });
    EXPECT_EQ(shared, 1u);
    // Only the first window of the title is looked at: one of the two programs stays unseen.
    EXPECT_NE(census.Find("chrome.exe") != nullptr, census.Find("safari.exe") != nullptr);

    StandIn opera(folder, "opera.exe", {"Speed Dial - Opera"});
    ShowWindow(opera.Windows().at(0), SW_MINIMIZE);
    EXPECT_TRUE(IsProgramRunning("Opera", "Opera.exe", false));
    RecordBrowsersRunning();
    EXPECT_TRUE(BrowserRunningFlag(BrowserIndexOpera));
    EXPECT_FALSE(BrowserRunningFlag(BrowserIndexFirefox));
}

TEST_F(RunningProgramsTest, EachYesClosesOneWindowAndAsksAgainWhileOneIsOpen) {
    StandIn ie(folder, "iexplore.exe", {"Page A - Internet Explorer", "Page B - Internet Explorer"}, 2);
    ASSERT_EQ(ie.Windows().size(), 2u);
    Boxes boxes;
    boxes.fallback = true;
    boxes.watched = &ie;
    PromptCloseBrowser(nullptr, s, "Internet Explorer", "iexplore.exe");
    EXPECT_TRUE(ie.WaitForExit());
    EXPECT_EQ(ie.exitCode(), 7u); // closed by its windows, not terminated
    ASSERT_EQ(boxes.questions(), 2u);
    EXPECT_EQ(boxes.windowsAtQuestion, (std::vector<size_t>{2, 1}));
    EXPECT_EQ(boxes.shown[0].caption, "Warning");
    EXPECT_EQ(boxes.shown[0].text,
              "Internet Explorer is open.\nTo clear all history tracks it's necessary to close it.\nDo you want to "
              "close Internet Explorer now?\nIf you select 'No', only some part of history will be cleaned.");
}

TEST_F(RunningProgramsTest, NoLeavesTheBrowserAndMsnExplorerIsNeverClosed) {
    StandIn firefox(folder, "firefox.exe", {kFirefoxTitle});
    StandIn msn(folder, "msn6.exe", {"MSN"});
    {
        Boxes boxes; // No
        PromptCloseBrowser(nullptr, s, "Firefox", "firefox.exe");
        EXPECT_EQ(boxes.questions(), 1u);
    }
    {
        Boxes boxes;
        boxes.fallback = true; // "I have exited it": taken at its word, once
        PromptCloseBrowser(nullptr, s, "MSN Explorer", "msn6.exe");
        ASSERT_EQ(boxes.questions(), 1u);
        EXPECT_EQ(boxes.shown[0].text.substr(0, 76),
                  "MSN Explorer is open.\nTo clear all history tracks it's necessary to EXIT it.");
    }
    PumpMessages(300);
    EXPECT_TRUE(firefox.running());
    EXPECT_TRUE(msn.running());
    EXPECT_EQ(firefox.Windows().size(), 1u);
}

TEST_F(RunningProgramsTest, WithoutAskCloseBrowsersOnlySkypeAndGoogleDesktopAsk) {
    StandIn firefox(folder, "firefox.exe", {kFirefoxTitle});
    StandIn skype(folder, "skype.exe", {"--hidden", "Skype"});
    StandIn desktop(folder, "GoogleDesktop.exe", {"--hidden", "Google Desktop"});
    s.askCloseBrowsers = 0;
    s.clearToolbarHistory = 1;
    Boxes boxes; // No to everything
    boxes.fallback = true; // (browser prompts would close)
    PromptCloseAllBrowsers(nullptr, s);
    PromptCloseBrowser(nullptr, s, "Firefox", "firefox.exe");
    PromptCloseSelectedBrowsers(nullptr, s, [](uint32_t) { return true; });
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(firefox.running());

    boxes.fallback = false;
    EXPECT_TRUE(PromptCloseSkype(nullptr));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].caption, "Try again...");
    EXPECT_EQ(boxes.shown[0].text,
              "Skype is running!\nTo clear Skype history it's necessary to EXIT it.\nTo exit Skype, right-click on "
              "its tray icon and select 'Quit'.\nIf you have already exited Skype click 'Yes'.\nIf you don't want "
              "to exit Skype now, select 'No', but none parts of Skype history will be cleaned.");
    EXPECT_FALSE(boxes.shown[1].question);
    EXPECT_EQ(boxes.shown[1].caption, "Warning");
    EXPECT_EQ(boxes.shown[1].text, "You selected not to clear Skype history!");

    EXPECT_TRUE(PromptCloseGoogleDesktop(nullptr));
    ASSERT_EQ(boxes.shown.size(), 4u);
    EXPECT_EQ(boxes.shown[2].caption, "Try again...");
    EXPECT_EQ(boxes.shown[2].text, "Google Desktop is running!\nTo clear Google Desktop history, please close it "
                                   "and click 'Yes'. Otherwise click 'No'.");
    EXPECT_EQ(boxes.shown[3].text, "You selected not to clear Google Desktop history!");
    EXPECT_TRUE(skype.running());
}

TEST_F(RunningProgramsTest, SkypeAndGoogleDesktopAskAgainUntilTheyHaveGone) {
    StandIn skype(folder, "skype.exe", {"--hidden", "Skype"});
    Boxes boxes;
    boxes.fallback = true;
    // The user quits Skype while the question is open, then answers Yes.
    SetBoxHookForTests([&](const BoxRequest& r) {
        boxes.shown.push_back(r);
        if (boxes.shown.size() == 2) {
            skype.CloseAll();
            skype.WaitForExit();
        }
        return true;
    });
    EXPECT_FALSE(PromptCloseSkype(nullptr));
    EXPECT_EQ(boxes.shown.size(), 2u); // asked again after the first Yes; no warning at the end
    EXPECT_TRUE(std::all_of(boxes.shown.begin(), boxes.shown.end(), [](const BoxRequest& b) { return b.question; }));

    SetBoxHookForTests([&](const BoxRequest& r) {
        boxes.shown.push_back(r);
        return true;
    });
    boxes.shown.clear();
    EXPECT_FALSE(PromptCloseGoogleDesktop(nullptr)); // nothing running: no question
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RunningProgramsTest, AolCompanionIsEndedOnlyAfterTheUsersYes) {
    // It ignores the close message, so only the termination (exit code 0) can end it.
    StandIn companion(folder, "aolsoftware.exe", {"--hidden", "--stubborn", "AOL companion"});
    ASSERT_TRUE(companion.running());
    // The running checks of the watches only look.
    EXPECT_FALSE(IsProgramRunning("AOL Explorer", "aexplore.exe", false));
    RecordBrowsersRunning();
    EXPECT_TRUE(companion.running());
    {
        Boxes boxes; // No
        PromptCloseBrowser(nullptr, s, "AOL Explorer", "aexplore.exe");
        ASSERT_EQ(boxes.questions(), 1u);
        EXPECT_EQ(boxes.shown[0].text.substr(0, 21), "AOL Explorer is open.");
        EXPECT_TRUE(companion.running());
    }
    Boxes boxes;
    boxes.fallback = true;
    PromptCloseBrowser(nullptr, s, "AOL Explorer", "aexplore.exe");
    ASSERT_TRUE(companion.WaitForExit(5000));
    EXPECT_EQ(companion.exitCode(), 0u);

    // The Yes that closed AOL Explorer's window covers the companion it leaves: asked once.
    StandIn again(folder, "aolsoftware.exe", {"--hidden", "--stubborn", "AOL companion 2"});
    StandIn aol(folder, "aexplore.exe", {"AOL Explorer window"});
    boxes.shown.clear();
    PromptCloseBrowser(nullptr, s, "AOL Explorer", "aexplore.exe");
    EXPECT_EQ(boxes.questions(), 1u);
    ASSERT_TRUE(aol.WaitForExit());
    ASSERT_TRUE(again.WaitForExit(5000));
    EXPECT_EQ(again.exitCode(), 0u);

    // A companion that obeys the close message ends by itself; the termination that follows goes
    // to its own ended process, never to whatever program has its id a second later.
    StandIn obedient(folder, "aolsoftware.exe", {"--hidden", "AOL companion 3"});
    StandIn bystander(folder, "notepad.exe", {"Untitled - Notepad"});
    PromptCloseBrowser(nullptr, s, "AOL Explorer", "aexplore.exe");
    ASSERT_TRUE(obedient.WaitForExit(5000));
    EXPECT_EQ(obedient.exitCode(), 7u);
    EXPECT_TRUE(bystander.running());
}

TEST_F(RunningProgramsTest, SelectedBrowsersFollowThePagesInTheirOrder) {
    StandIn maxthon(folder, "Maxthon.exe", {"Maxthon window"});
    StandIn chrome(folder, "chrome.exe", {"New Tab - Google Chrome"});
    StandIn firefox(folder, "firefox.exe", {kFirefoxTitle});
    Boxes boxes; // No
    std::vector<uint32_t> asked;
    PromptCloseSelectedBrowsers(nullptr, s, [&](uint32_t page) {
        asked.push_back(page);
        return page == 360 || page == 366; // the Internet Explorer and Chrome pages have boxes ticked
    });
    EXPECT_EQ(asked, (std::vector<uint32_t>{360, 361, 362, 363, 364, 365, 366, 390, 391, 392}));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text.substr(0, 17), "Maxthon2 is open.");
    EXPECT_EQ(boxes.shown[1].text.substr(0, 15), "Chrome is open.");

    // With the toolbar history to clear, every browser is asked about, in the browser order.
    s.clearToolbarHistory = 1;
    boxes.shown.clear();
    PromptCloseSelectedBrowsers(nullptr, s, [](uint32_t) { return false; });
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].text.substr(0, 17), "Maxthon2 is open.");
    EXPECT_EQ(boxes.shown[1].text.substr(0, 16), "Firefox is open.");
    EXPECT_EQ(boxes.shown[2].text.substr(0, 15), "Chrome is open.");
}

TEST_F(RunningProgramsTest, AnsweredByTheBoxButtonsYesClosesTheStandIn) {
    StandIn firefox(folder, "firefox.exe", {kFirefoxTitle});
    ASSERT_TRUE(firefox.running());
    Helper helper([] {
        HWND box = WaitForWindow("Warning");
        if (box) PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    PromptCloseBrowser(nullptr, s, "Firefox", "firefox.exe");
    EXPECT_TRUE(firefox.WaitForExit());
}

TEST_F(RunningProgramsTest, ABrowserThatHasStoppedRespondingCannotHoldTheProgram) {
    StandIn hung(folder, "firefox.exe", {"--hang", kFirefoxTitle});
    ASSERT_EQ(hung.Windows().size(), 1u);
    HWND window = hung.Windows()[0];
    // The system calls a program hung once it has not looked at its messages for five seconds.
    for (int waited = 0; waited < 20000 && !IsHungAppWindow(window); waited += 100) Sleep(100);
    ASSERT_TRUE(IsHungAppWindow(window));
    Boxes boxes;
    boxes.answers = {true}; // Yes, then No
    PromptCloseBrowser(nullptr, s, "Firefox", "firefox.exe");
    EXPECT_EQ(boxes.questions(), 2u); // the close did not go through: asked again
    EXPECT_TRUE(hung.running());
}

TEST_F(RunningProgramsTest, ABrowserRunningWithoutAWindowIsFoundAndEndedOnlyOnYes) {
    StandIn edge(folder, "msedge.exe", {"--hidden", "Edge background host"});
    ASSERT_TRUE(edge.running());
    EXPECT_FALSE(IsProgramRunning("Microsoft Edge", "msedge.exe", false)); // no window to see
    EXPECT_EQ(ProcessesOf("MSEDGE.EXE"), std::vector<DWORD>{edge.processId()});
    EXPECT_TRUE(ProcessesOf("brave.exe").empty());
    {
        Boxes boxes; // No
        PromptCloseBrowser(nullptr, s, "Microsoft Edge", "msedge.exe");
        ASSERT_EQ(boxes.questions(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "Microsoft Edge is running in the background. Close it?");
        EXPECT_EQ(boxes.shown[0].caption, "Warning");
    }
    EXPECT_TRUE(edge.running());
    // Yes: its hidden window is told to close, and it ends by itself.
    {
        Boxes boxes;
        boxes.fallback = true;
        PromptCloseBrowser(nullptr, s, "Microsoft Edge", "msedge.exe");
    }
    ASSERT_TRUE(edge.WaitForExit(5000));
    EXPECT_EQ(edge.exitCode(), 7u);
    // One that ignores the close is ended; a program of another name is left alone.
    StandIn stubborn(folder, "brave.exe", {"--hidden", "--stubborn", "Brave background host"});
    StandIn bystander(folder, "firefox.exe", {"--hidden", "Firefox hidden"});
    {
        Boxes boxes;
        boxes.fallback = true;
        PromptCloseBrowser(nullptr, s, "Brave", "brave.exe");
        EXPECT_EQ(boxes.questions(), 1u);
    }
    ASSERT_TRUE(stubborn.WaitForExit(5000));
    EXPECT_NE(stubborn.exitCode(), 7u);
    EXPECT_TRUE(bystander.running());
    // A browser of old with only a hidden window is no concern of the background question.
    Boxes boxes;
    PromptCloseBrowser(nullptr, s, "Firefox", "firefox.exe");
    EXPECT_EQ(boxes.questions(), 0u);
}
