// The order, options and stop tests of the threaded run and of the three synchronous groups,
// checked with a stand-in that records which cleaners are called.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "app/messages.h"
#include "engine/clearing_run.h"
#include "engine/run_gate.h"
#include "tests/wine/engine_support.h"
#include "tests/wine/recording_cleaner.h"

namespace {


const Names kBrowserOrder = {
    "ClearIEHistory",         "ClearHistoryIndexDat",   "ClearFirefoxHistory",  "ClearSafariHistory",
    "ClearOperaHistory",      "ClearMozillaHistory",    "ClearNetscapeHistory", "ClearChromeHistory",
    "ClearIECache",           "ClearCacheIndexDat",     "ClearFirefoxCache",    "ClearSafariCache",
    "ClearOperaCache",        "ClearMozillaCache",      "ClearNetscapeCache",   "ClearChromeCache",
    "ClearIECookies",         "ClearCookiesIndexDat",   "ClearFirefoxCookies",  "ClearSafariCookies",
    "ClearOperaCookies",      "ClearMozillaCookies",    "ClearNetscapeCookies", "ClearChromeCookies",
    "ClearIEPasswords",       "ClearFirefoxPasswords",  "ClearSafariPasswords", "ClearOperaPasswords",
    "ClearMozillaPasswords",  "ClearNetscapePasswords", "ClearChromePasswords", "ClearIEDownloads",
    "ClearFirefoxDownloads",  "ClearSafariDownloads",   "ClearOperaDownloads",  "ClearMozillaDownloads",
    "ClearNetscapeDownloads", "ClearChromeDownloads",
};
const Names kWindowsOrder = {
    "EmptyRecycleBin",  "ClearRecentDocuments", "EmptyRecentItems",        "ClearClipboard",
    "EmptyTempFolders", "ClearRunHistory",      "ClearSearchFilesHistory", "ClearSearchComputersHistory",
    "ClearUserAssist",  "ClearStreams",         "ClearOpenSaveHistory",
};

Names Concat(std::initializer_list<Names> parts) {
    Names all;
    for (const Names& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Every option that selects a step, as the run itself lists them.
void SelectEverything(ProgramSettings& s) {
    for (const SettingRef& option : RunOptions()) option.Write(s, true);
}

struct ClearingRun : ::testing::Test {
    ProgramSettings settings;
    RecordingCleaner cleaner{&settings};
    PostedMessages progress;
    RecordingObserver observer{progress.window()};
    volatile LONG done = 7;
    void SetUp() override {
        settings.ApplyDefaults();
        settings.runActive = 1; // as the clear entry leaves it
        cleaner.SetObserver(&observer);
    }
    void Run() { RunClearingSteps(cleaner, settings, &done); }
    void ExpectEnded() {
        EXPECT_EQ(done, 1);
        EXPECT_EQ(settings.stopRequested, 1);
        EXPECT_EQ(settings.runActive, 0);
        EXPECT_EQ(cleaner.threadedRun, 0);
        EXPECT_EQ(observer.runsFinished.size(), 1u);
        observer.runsFinished.clear();
    }
};

} // namespace

TEST_F(ClearingRun, EverythingSelectedRunsBrowsersExtrasApplicationsThenWindows) {
    SelectEverything(settings);
    Run();
    const Names expected =
        Concat({kBrowserOrder,
                {"ClearIEMostPopularSites", "ClearIELastSession", "ClearOperaSpeedDial",
                 "ClearToolbarHistory", "ClearOfficeHistory", "ClearMediaPlayerHistory",
                 "ClearGoogleDesktopHistory", "ClearSkypeCalls", "ClearSkypeChats",
                 "ClearAcrobatReaderRecentFiles", "ClearAdobeAcrobatRecentFiles", "ClearAcrobatDataFolder"},
                kWindowsOrder});
    EXPECT_EQ(cleaner.calls, expected);
    EXPECT_EQ(cleaner.clipboardOwner, progress.window());
    ASSERT_EQ(observer.runsFinished.size(), 1u);
    EXPECT_FALSE(observer.runsFinished[0]); // not told to end the program
    ExpectEnded();
}

TEST_F(ClearingRun, NothingSelectedStillEnds) {
    Run();
    EXPECT_TRUE(cleaner.calls.empty());
    ExpectEnded();
}

TEST_F(ClearingRun, EachOptionSelectsItsOwnStep) {
    settings.cookiesMask = BrowserOpera | IEIndexDatAtStartup; // the start-up bit selects no step
    settings.historyMask = IEIndexDatContent;
    settings.downloadsMask = BrowserChrome;
    settings.clearStreams = 1;
    settings.clearAcrobatCollections = 1;
    settings.clearOfficeHistory = 1;
    Run();
    EXPECT_EQ(cleaner.calls, (Names{"ClearHistoryIndexDat", "ClearOperaCookies", "ClearChromeDownloads",
                                    "ClearOfficeHistory", "ClearAcrobatCollections", "ClearStreams"}));
    cleaner.calls.clear();
    settings.runActive = 1;
    settings.stopRequested = 0;
    settings.cookiesMask = settings.historyMask = settings.downloadsMask = 0;
    settings.clearStreams = settings.clearAcrobatCollections = settings.clearOfficeHistory = 0;
    settings.clearAcrobatHistory = 1;
    Run();
    EXPECT_EQ(cleaner.calls, Names{"ClearAcrobatOrganizerHistory"});
}

TEST_F(ClearingRun, ExitAfterRunPostsTheExitCommandToTheMainWindow) {
    settings.exitAfterRun = 1;
    Run();
    ASSERT_EQ(observer.runsFinished.size(), 1u);
    EXPECT_TRUE(observer.runsFinished[0]);
    ExpectEnded();
}

TEST_F(ClearingRun, CancelledBeforeItStartedRunsNothing) {
    SelectEverything(settings);
    settings.stopRequested = 1;
    Run();
    EXPECT_TRUE(cleaner.calls.empty());
    ExpectEnded();
}

TEST_F(ClearingRun, CancelSkipsEveryLaterStep) {
    SelectEverything(settings);
    cleaner.stopAt = "ClearIECookies";
    Run();
    ASSERT_FALSE(cleaner.calls.empty());
    EXPECT_EQ(cleaner.calls.back(), "ClearIECookies");
    EXPECT_EQ(cleaner.calls.size(), 17u);
    ExpectEnded();
}

TEST_F(ClearingRun, AcrobatStepsHaveNoStopTestOfTheirOwn) {
    SelectEverything(settings);
    cleaner.stopAt = "ClearSkypeChats";
    Run();
    const Names tail(cleaner.calls.end() - 4, cleaner.calls.end());
    EXPECT_EQ(tail, (Names{"ClearSkypeChats", "ClearAcrobatReaderRecentFiles", "ClearAdobeAcrobatRecentFiles",
                           "ClearAcrobatDataFolder"}));
    ExpectEnded();
}

TEST_F(ClearingRun, ACleanerThatThrowsStillEndsTheRun) {
    SelectEverything(settings);
    cleaner.throwAt = "ClearOperaCache";
    Run();
    EXPECT_EQ(cleaner.calls.back(), "ClearOperaCache");
    ExpectEnded();
}

TEST_F(ClearingRun, PausedGateHoldsTheRunBeforeItsNextStep) {
    SelectEverything(settings);
    Gate().Pause();
    std::thread worker([&] { Run(); });
    while (Gate().Waiting() == 0 && done != 1) Sleep(1);
    EXPECT_TRUE(cleaner.calls.empty());
    Gate().Resume();
    worker.join();
    EXPECT_EQ(cleaner.calls.size(), 61u);
    ExpectEnded();

    // Answering "Yes" to the cancel question: the flag is set before the gate opens.
    cleaner.calls.clear();
    settings.stopRequested = 0;
    settings.runActive = 1;
    cleaner.stopAt = "";
    done = 7;
    Gate().Pause();
    std::thread cancelled([&] { Run(); });
    while (Gate().Waiting() == 0 && done != 1) Sleep(1);
    settings.stopRequested = 1;
    Gate().Resume();
    cancelled.join();
    EXPECT_TRUE(cleaner.calls.empty());
    ExpectEnded();
}

// ---- Synchronous groups

TEST_F(ClearingRun, BrowserGroupAddsIndexDatDeletionAndTheFirefoxPurge) {
    SelectEverything(settings);
    settings.stopRequested = 1; // no stop tests on the UI thread
    ClearSelectedBrowserItems(cleaner, settings);
    EXPECT_EQ(cleaner.calls,
              Concat({kBrowserOrder,
                      {"DeleteIEIndexDatFiles", "ClearIEMostPopularSites", "ClearIELastSession",
                       "ClearOperaSpeedDial", "PurgeFirefoxHistoryDatabase"}}));
    cleaner.calls.clear();
    ProgramSettings one;
    one.ApplyDefaults();
    one.deletePrivacIEIndex = 1;
    one.purgeHistoryMask = BrowserOpera; // only Firefox has a database to purge
    ClearSelectedBrowserItems(cleaner, one);
    EXPECT_EQ(cleaner.calls, Names{"DeleteIEIndexDatFiles"});
}

TEST_F(ClearingRun, WindowsGroupUsesTheCallersClipboardOwner) {
    SelectEverything(settings);
    settings.stopRequested = 1;
    PostedMessages page;
    ClearSelectedWindowsHistory(cleaner, settings, page.window());
    EXPECT_EQ(cleaner.calls, kWindowsOrder);
    EXPECT_EQ(cleaner.clipboardOwner, page.window());
}

TEST_F(ClearingRun, ApplicationGroupAsksAboutSkypeFirst) {
    SelectEverything(settings);
    ClearSelectedApplicationHistory(cleaner, settings);
    EXPECT_EQ(cleaner.calls, (Names{"ClearToolbarHistory", "ClearOfficeHistory", "ClearMediaPlayerHistory",
                                    "ClearGoogleDesktopHistory", "PromptCloseSkype", "ClearSkypeCalls",
                                    "ClearSkypeChats", "PurgeSkypeDatabase", "ClearAcrobatReaderRecentFiles",
                                    "ClearAdobeAcrobatRecentFiles", "ClearAcrobatDataFolder"}));

    const Names withoutSkype = {"ClearToolbarHistory",           "ClearOfficeHistory",
                                "ClearMediaPlayerHistory",       "ClearGoogleDesktopHistory",
                                "ClearAcrobatReaderRecentFiles", "ClearAdobeAcrobatRecentFiles",
                                "ClearAcrobatDataFolder"};
    cleaner.calls.clear();
    cleaner.skypeAnswer = false; // the user keeps Skype running
    ClearSelectedApplicationHistory(cleaner, settings);
    Names declined = withoutSkype;
    declined.insert(declined.begin() + 4, "PromptCloseSkype");
    EXPECT_EQ(cleaner.calls, declined);

    cleaner.calls.clear();
    cleaner.skypeAnswer = true;
    settings.exiting = 1; // no question while the program ends
    ClearSelectedApplicationHistory(cleaner, settings);
    EXPECT_EQ(cleaner.calls, withoutSkype);

    cleaner.calls.clear();
    ProgramSettings purgeOnly;
    purgeOnly.ApplyDefaults();
    purgeOnly.purgeSkypeDatabase = 1;
    ClearSelectedApplicationHistory(cleaner, purgeOnly);
    EXPECT_EQ(cleaner.calls, (Names{"PromptCloseSkype", "PurgeSkypeDatabase"}));
}

// ---- A cancel through the real shredder

namespace {

// Removes two files from one cleaner step; the user cancels during the second pass of the first.
class ShreddingStep : public HistoryCleaner, public ShredProbe {
public:
    ShreddingStep(ProgramSettings* s, std::string big, std::string small)
        : HistoryCleaner(s), big_(std::move(big)), small_(std::move(small)) {
        shredProbe = this;
    }
    void EmptyRecentItems() override {
        RemoveFile(big_);
        RemoveFile(small_);
    }
    void BlockWritten(uint8_t, DWORD) override {
        if (++blocks == 32 + 2) settings->stopRequested = 1;
    }
    size_t blocks = 0;

private:
    std::string big_, small_;
};

} // namespace

TEST_F(ClearingRun, CancelCutsThisRunsShreddingShortButNotTheNextClear) {
    TempFolder folder;
    const std::string big = folder / "big.bin", small = folder / "small.bin", later = folder / "later.bin";
    MakeFile(big, 32 * 4096, 'b');
    MakeFile(small, 9000, 's');
    settings.shredFiles = 1;
    settings.emptyRecentItems = 1;
    ShreddingStep step(&settings, big, small);
    RunClearingSteps(step, settings, &done);

    EXPECT_TRUE(PathExists(big)); // partly overwritten, left in place
    EXPECT_NE(ReadFileBytes(big), std::vector<uint8_t>(32 * 4096, 'b'));
    EXPECT_FALSE(PathExists(small)); // deleted without being overwritten
    EXPECT_EQ(step.blocks, 34u);
    EXPECT_EQ(settings.stopRequested, 1);
    EXPECT_EQ(settings.runActive, 0);

    // A page's CLEAR after the run: shredding is on, so the file is overwritten three times.
    MakeFile(later, 9000, 'l');
    step.RemoveFile(later);
    EXPECT_FALSE(PathExists(later));
    EXPECT_EQ(step.blocks, 34u + 3 * 3);
}
