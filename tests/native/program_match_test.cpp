// Which windows a census counts, how a window is matched to a program, and the decisions of the
// closing prompts that need no windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/program_match.h"

namespace {
void* W(uintptr_t n) { return reinterpret_cast<void*>(n); }
} // namespace

TEST(ProgramMatch, ExecutableNameIsTheLastPathPartIgnoringCase) {
    EXPECT_TRUE(ModuleMatchesExecutable("C:\\Program Files\\Mozilla Firefox\\FIREFOX.EXE", "firefox.exe"));
    EXPECT_TRUE(ModuleMatchesExecutable("C:\\PROGRAM FILES\\OPERA\\OPERA.EXE", "Opera.exe"));
    EXPECT_TRUE(ModuleMatchesExecutable("chrome.exe", "chrome.exe")); // no backslash: the whole path
    EXPECT_FALSE(ModuleMatchesExecutable("C:\\firefox.exe\\helper.exe", "firefox.exe"));
    EXPECT_FALSE(ModuleMatchesExecutable("C:\\apps\\notfirefox.exe", "firefox.exe"));
    EXPECT_FALSE(ModuleMatchesExecutable("C:\\apps\\firefox.exe.old", "firefox.exe"));
    EXPECT_FALSE(ModuleMatchesExecutable("C:\\apps\\", "firefox.exe"));
    EXPECT_FALSE(ModuleMatchesExecutable("C:/apps/firefox.exe", "firefox.exe")); // only a backslash separates
}

TEST(WindowCensus, LeavesOutUntitledDesktopPathlessAndRepeatedTitles) {
    WindowCensus census;
    EXPECT_FALSE(census.Offer("", "C:\\a\\firefox.exe", W(1), 1));
    EXPECT_FALSE(census.Offer("Program Manager", "C:\\windows\\explorer.exe", W(2), 2));
    // Without a path the window is not counted, so it does not shadow a later one of its title.
    EXPECT_FALSE(census.Offer("Start Page", "", W(3), 3));
    EXPECT_TRUE(census.Offer("Start Page", "C:\\a\\firefox.exe", W(4), 4));
    // The second window of a title is not looked at: its program stays unseen.
    EXPECT_FALSE(census.Offer("Start Page", "C:\\b\\iexplore.exe", W(5), 5));
    EXPECT_TRUE(census.Offer("start page", "C:\\c\\opera.exe", W(6), 6)); // exact comparison
    ASSERT_EQ(census.entries().size(), 2u);
    EXPECT_EQ(census.Find("iexplore.exe"), nullptr);
    ASSERT_NE(census.Find("FIREFOX.EXE"), nullptr);
    EXPECT_EQ(census.Find("FIREFOX.EXE")->window, W(4));
    EXPECT_EQ(census.entries()[1].title, "start page"); // as the system gave it
    EXPECT_EQ(census.entries()[1].path, "C:\\c\\opera.exe");
}

TEST(WindowCensus, AllWindowCensusIsUpperCaseAndComparesThere) {
    WindowCensus census(true);
    EXPECT_FALSE(census.Offer("program manager", "C:\\windows\\explorer.exe", W(1), 1));
    EXPECT_TRUE(census.Offer("Inbox - Skype", "C:\\Program Files\\Skype\\Skype.exe", W(2), 42));
    EXPECT_FALSE(census.Offer("INBOX - SKYPE", "C:\\other\\other.exe", W(3), 43));
    EXPECT_FALSE(census.Wants("inbox - skype"));
    EXPECT_TRUE(census.Wants("Another"));
    ASSERT_EQ(census.entries().size(), 1u);
    EXPECT_EQ(census.entries()[0].title, "INBOX - SKYPE");
    EXPECT_EQ(census.entries()[0].path, "C:\\PROGRAM FILES\\SKYPE\\SKYPE.EXE");
    EXPECT_EQ(census.entries()[0].processId, 42u);
    ASSERT_NE(census.Find("skype.exe"), nullptr);
    // The substring search compares as stored: upper-case names find upper-case paths only.
    EXPECT_NE(census.FindPathContaining("SKYPE.EXE"), nullptr);
    EXPECT_EQ(census.FindPathContaining("Skype.exe"), nullptr);
}

TEST(WindowCensus, FirstMatchInCensusOrderWins) {
    WindowCensus census;
    census.Offer("Window A", "C:\\x\\chrome.exe", W(10), 1);
    census.Offer("Window B", "C:\\y\\CHROME.EXE", W(11), 2);
    ASSERT_NE(census.Find("chrome.exe"), nullptr);
    EXPECT_EQ(census.Find("chrome.exe")->window, W(10));
    census.Offer("Desktop search", "C:\\GD\\GOOGLEDESKTOPCRAWL.EXE", W(12), 3);
    ASSERT_NE(census.FindPathContaining("GOOGLEDESKTOP"), nullptr);
    EXPECT_EQ(census.FindPathContaining("GOOGLEDESKTOP")->window, W(12));
}

TEST(ClosingPrompts, AolCompanionIsEndedOnlyWhenAolExplorerIsGone) {
    EXPECT_TRUE(ShouldEndAolCompanion("AOL Explorer", false, true));
    EXPECT_FALSE(ShouldEndAolCompanion("AOL Explorer", true, true));
    EXPECT_FALSE(ShouldEndAolCompanion("AOL Explorer", false, false));
    EXPECT_FALSE(ShouldEndAolCompanion("Internet Explorer", false, true));
}

TEST(ClosingPrompts, TextsNameTheBrowserEverywhere) {
    EXPECT_EQ(BrowserClosePrompt("Firefox"),
              "Firefox is open.\nTo clear all history tracks it's necessary to close it.\nDo you want to close "
              "Firefox now?\nIf you select 'No', only some part of history will be cleaned.");
    EXPECT_EQ(BrowserClosePrompt("MSN Explorer"),
              "MSN Explorer is open.\nTo clear all history tracks it's necessary to EXIT it.\nTo exit MSN Explorer, "
              "right-click on its tray icon and select Exit MSN Explorer.\nIf you have already exited MSN Explorer "
              "click 'Yes'.\nOtherwise select 'No', but only some part of history will be cleaned.");
    // A name is text, never a format.
    EXPECT_EQ(BrowserClosePrompt("%s%n").substr(0, 14), "%s%n is open.\n");
    EXPECT_TRUE(YesClosesWindow("Internet Explorer"));
    EXPECT_FALSE(YesClosesWindow("MSN Explorer"));
}

TEST(ClosingPrompts, OnlyBrowsersBuiltOnChromiumAreAskedAboutRunningWithoutAWindow) {
    for (const char* executable : {"chrome.exe", "MSEDGE.EXE", "brave.exe", "vivaldi.exe", "Opera.exe"})
        EXPECT_TRUE(RunsInBackground(executable)) << executable;
    for (const char* executable : {"firefox.exe", "iexplore.exe", "skype.exe", "chrome.exe.bak", "msedge"})
        EXPECT_FALSE(RunsInBackground(executable)) << executable;
    EXPECT_EQ(BackgroundClosePrompt("Microsoft Edge"), "Microsoft Edge is running in the background. Close it?");
    // The browsers after the ten of old are the ones built on Chromium that came since.
    const auto browsers = KnownBrowsers();
    ASSERT_EQ(browsers.size(), 13u);
    EXPECT_STREQ(browsers[BrowserIndexChrome].executable, "chrome.exe");
    for (int i = BrowserIndexEdge; i < kBrowserCount; ++i) EXPECT_TRUE(RunsInBackground(browsers[i].executable));
}

namespace {
// Plays a Google Desktop check: `runningPerPass[p]` says which names run in pass p (the last entry
// stays for later passes); `answers` are the user's answers (true = keeps it, declines).
struct DesktopScript {
    DesktopScript(std::vector<std::vector<std::string>> running, std::vector<bool> said)
        : runningPerPass(std::move(running)), answers(std::move(said)) {}
    std::vector<std::vector<std::string>> runningPerPass;
    std::vector<bool> answers;
    std::vector<std::string> events;
    size_t checks = 0, asked = 0;

    bool Run() {
        return GoogleDesktopCheck(
            [&](const char* name) {
                const size_t pass = checks++ / 3;
                const auto& running = runningPerPass[std::min(pass, runningPerPass.size() - 1)];
                events.push_back(std::string("check ") + name);
                for (const auto& r : running)
                    if (r == name) return true;
                return false;
            },
            [&] {
                events.push_back("ask");
                return asked < answers.size() ? answers[asked++] : true;
            });
    }
};
} // namespace

TEST(GoogleDesktopCheck, AsksFromTheFirstFoundNameOnAndPassesAgainUntilNothingRuns) {
    DesktopScript none{{{}}, {}};
    EXPECT_FALSE(none.Run());
    EXPECT_EQ(none.events,
              (std::vector<std::string>{"check GOOGLEDESKTOP.EXE", "check GOOGLEDESKTOPCRAWL.EXE",
                                        "check GOOGLEDESKTOPINDEX.EXE"}));

    // Found at the second name: asked after the second and after the third; all Yes, then gone.
    DesktopScript crawl{{{"GOOGLEDESKTOPCRAWL.EXE"}, {}}, {false, false}};
    EXPECT_FALSE(crawl.Run());
    EXPECT_EQ(crawl.events,
              (std::vector<std::string>{"check GOOGLEDESKTOP.EXE", "check GOOGLEDESKTOPCRAWL.EXE", "ask",
                                        "check GOOGLEDESKTOPINDEX.EXE", "ask", "check GOOGLEDESKTOP.EXE",
                                        "check GOOGLEDESKTOPCRAWL.EXE", "check GOOGLEDESKTOPINDEX.EXE"}));

    // No at the first question ends the check as declined, at once.
    DesktopScript declined{{{"GOOGLEDESKTOP.EXE"}}, {true}};
    EXPECT_TRUE(declined.Run());
    EXPECT_EQ(declined.events, (std::vector<std::string>{"check GOOGLEDESKTOP.EXE", "ask"}));

    // Still running after a pass of Yes: asked again in the next pass, then No.
    DesktopScript stays{{{"GOOGLEDESKTOPINDEX.EXE"}}, {false, true}};
    EXPECT_TRUE(stays.Run());
    EXPECT_EQ(stays.asked, 2u);
    EXPECT_EQ(stays.checks, 6u);
}
