// The order, options and stop tests of the threaded run and of the three synchronous groups,
// checked with a stand-in that records which cleaners are called.
#include <gtest/gtest.h>

#include <algorithm>

#include <stdexcept>
#include <thread>

#include "app/messages.h"
#include "engine/clearing_run.h"
#include "engine/run_gate.h"
#include "tests/wine/engine_support.h"
#include "tests/wine/recording_cleaner.h"

namespace {

// The threaded run's steps as the product's option table has them, written out here rather than
// taken from the run's own tables: an option wired to the wrong cleaner, or a step in the wrong
// place, shows as a difference. `stopTest` is whether the run tests for a cancel before the step.
struct RunRow {
    SettingRef option;
    const char* cleaner;
    bool stopTest = true;
};
const RunRow kRunTable[] = {
    {MaskBit(&ProgramSettings::historyMask, BrowserIE), "ClearIEHistory"},
    {MaskBit(&ProgramSettings::historyMask, IEIndexDatContent), "ClearHistoryIndexDat"},
    {MaskBit(&ProgramSettings::historyMask, BrowserFirefox), "ClearFirefoxHistory"},
    {MaskBit(&ProgramSettings::historyMask, BrowserSafari), "ClearSafariHistory"},
    {MaskBit(&ProgramSettings::historyMask, BrowserOpera), "ClearOperaHistory"},
    {MaskBit(&ProgramSettings::historyMask, BrowserMozilla), "ClearMozillaHistory"},
    {MaskBit(&ProgramSettings::historyMask, BrowserNetscape), "ClearNetscapeHistory"},
    {MaskBit(&ProgramSettings::historyMask, BrowserChrome), "ClearChromeHistory"},
    {MaskBit(&ProgramSettings::cacheMask, BrowserIE), "ClearIECache"},
    {MaskBit(&ProgramSettings::cacheMask, IEIndexDatContent), "ClearCacheIndexDat"},
    {MaskBit(&ProgramSettings::cacheMask, BrowserFirefox), "ClearFirefoxCache"},
    {MaskBit(&ProgramSettings::cacheMask, BrowserSafari), "ClearSafariCache"},
    {MaskBit(&ProgramSettings::cacheMask, BrowserOpera), "ClearOperaCache"},
    {MaskBit(&ProgramSettings::cacheMask, BrowserMozilla), "ClearMozillaCache"},
    {MaskBit(&ProgramSettings::cacheMask, BrowserNetscape), "ClearNetscapeCache"},
    {MaskBit(&ProgramSettings::cacheMask, BrowserChrome), "ClearChromeCache"},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserIE), "ClearIECookies"},
    {MaskBit(&ProgramSettings::cookiesMask, IEIndexDatContent), "ClearCookiesIndexDat"},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserFirefox), "ClearFirefoxCookies"},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserSafari), "ClearSafariCookies"},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserOpera), "ClearOperaCookies"},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserMozilla), "ClearMozillaCookies"},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserNetscape), "ClearNetscapeCookies"},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserChrome), "ClearChromeCookies"},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserIE), "ClearIEPasswords"},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserFirefox), "ClearFirefoxPasswords"},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserSafari), "ClearSafariPasswords"},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserOpera), "ClearOperaPasswords"},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserMozilla), "ClearMozillaPasswords"},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserNetscape), "ClearNetscapePasswords"},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserChrome), "ClearChromePasswords"},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserIE), "ClearIEDownloads"},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserFirefox), "ClearFirefoxDownloads"},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserSafari), "ClearSafariDownloads"},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserOpera), "ClearOperaDownloads"},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserMozilla), "ClearMozillaDownloads"},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserNetscape), "ClearNetscapeDownloads"},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserChrome), "ClearChromeDownloads"},
    // Today's browsers' options of options.ini, after the five kinds.
    {IniFlag("Mozilla Firefox", "Sessions"), "ClearFirefoxSessions"},
    {IniFlag("Mozilla Firefox", "Form Data"), "ClearFirefoxFormData"},
    {IniFlag("Google Chrome", "Sessions"), "ClearChromeSessions"},
    {IniFlag("Google Chrome", "Form Data"), "ClearChromeFormData"},
    {IniFlag("Microsoft Edge", "History"), "ClearEdgeHistory"},
    {IniFlag("Microsoft Edge", "Cache"), "ClearEdgeCache"},
    {IniFlag("Microsoft Edge", "Cookies"), "ClearEdgeCookies"},
    {IniFlag("Microsoft Edge", "Passwords"), "ClearEdgePasswords"},
    {IniFlag("Microsoft Edge", "Downloads"), "ClearEdgeDownloads"},
    {IniFlag("Microsoft Edge", "Sessions"), "ClearEdgeSessions"},
    {IniFlag("Microsoft Edge", "Form Data"), "ClearEdgeFormData"},
    {IniFlag("Brave", "History"), "ClearBraveHistory"},
    {IniFlag("Brave", "Cache"), "ClearBraveCache"},
    {IniFlag("Brave", "Cookies"), "ClearBraveCookies"},
    {IniFlag("Brave", "Passwords"), "ClearBravePasswords"},
    {IniFlag("Brave", "Downloads"), "ClearBraveDownloads"},
    {IniFlag("Brave", "Sessions"), "ClearBraveSessions"},
    {IniFlag("Brave", "Form Data"), "ClearBraveFormData"},
    {IniFlag("Vivaldi", "History"), "ClearVivaldiHistory"},
    {IniFlag("Vivaldi", "Cache"), "ClearVivaldiCache"},
    {IniFlag("Vivaldi", "Cookies"), "ClearVivaldiCookies"},
    {IniFlag("Vivaldi", "Passwords"), "ClearVivaldiPasswords"},
    {IniFlag("Vivaldi", "Downloads"), "ClearVivaldiDownloads"},
    {IniFlag("Vivaldi", "Sessions"), "ClearVivaldiSessions"},
    {IniFlag("Vivaldi", "Form Data"), "ClearVivaldiFormData"},
    {IniFlag("Opera", "History"), "ClearOperaTodayHistory"},
    {IniFlag("Opera", "Cache"), "ClearOperaTodayCache"},
    {IniFlag("Opera", "Cookies"), "ClearOperaTodayCookies"},
    {IniFlag("Opera", "Passwords"), "ClearOperaTodayPasswords"},
    {IniFlag("Opera", "Downloads"), "ClearOperaTodayDownloads"},
    {IniFlag("Opera", "Sessions"), "ClearOperaTodaySessions"},
    {IniFlag("Opera", "Form Data"), "ClearOperaTodayFormData"},
    {Flag(&ProgramSettings::clearMostPopularSites), "ClearIEMostPopularSites"},
    {Flag(&ProgramSettings::clearLastSession), "ClearIELastSession"},
    {Flag(&ProgramSettings::clearOperaSpeedDial), "ClearOperaSpeedDial"},
    // The purges end their groups in the threaded run too.
    {MaskBit(&ProgramSettings::purgeHistoryMask, BrowserFirefox), "PurgeFirefoxHistoryDatabase"},
    {Flag(&ProgramSettings::clearToolbarHistory), "ClearToolbarHistory"},
    {Flag(&ProgramSettings::clearOfficeHistory), "ClearOfficeHistory"},
    {Flag(&ProgramSettings::clearMediaPlayerHistory), "ClearMediaPlayerHistory"},
    {Flag(&ProgramSettings::clearGoogleDesktopHistory), "ClearGoogleDesktopHistory"},
    {Flag(&ProgramSettings::deleteSkypeCalls), "ClearSkypeCalls"},
    {Flag(&ProgramSettings::deleteSkypeChats), "ClearSkypeChats"},
    {Flag(&ProgramSettings::purgeSkypeDatabase), "PurgeSkypeDatabase"},
    {Flag(&ProgramSettings::clearAcrobatReaderRecent), "ClearAcrobatReaderRecentFiles", false},
    {Flag(&ProgramSettings::clearAcrobatRecent), "ClearAdobeAcrobatRecentFiles", false},
    // Both together: the data folder (see EverythingInOrder).
    {Flag(&ProgramSettings::clearAcrobatHistory), "ClearAcrobatOrganizerHistory", false},
    {Flag(&ProgramSettings::clearAcrobatCollections), "ClearAcrobatCollections", false},
    {Flag(&ProgramSettings::emptyRecycleBin), "EmptyRecycleBin"},
    {Flag(&ProgramSettings::clearRecentDocuments), "ClearRecentDocuments"},
    {Flag(&ProgramSettings::emptyRecentItems), "EmptyRecentItems"},
    {Flag(&ProgramSettings::clearClipboard), "ClearClipboard"},
    {Flag(&ProgramSettings::emptyTempFolders), "EmptyTempFolders"},
    {Flag(&ProgramSettings::clearRunHistory), "ClearRunHistory"},
    {Flag(&ProgramSettings::clearSearchFilesHistory), "ClearSearchFilesHistory"},
    {Flag(&ProgramSettings::clearSearchComputersHistory), "ClearSearchComputersHistory"},
    {Flag(&ProgramSettings::clearUserAssist), "ClearUserAssist"},
    {Flag(&ProgramSettings::clearStreams), "ClearStreams"},
    {Flag(&ProgramSettings::clearOpenSaveHistory), "ClearOpenSaveHistory"},
    {IniFlag("Windows History", "Explorer Lists"), "ClearExplorerLists"},
    {IniFlag("Windows History", "Thumbnail Caches"), "ClearThumbnailCaches"},
    {IniFlag("Windows History", "Error Reports"), "ClearErrorReports"},
    {IniFlag("Windows History", "PowerShell History"), "ClearPowerShellHistory"},
    {IniFlag("Windows History", "Clipboard History"), "ClearClipboardHistory"},
    {IniFlag("Windows History", "Timeline"), "ClearTimeline"},
    {IniFlag("Windows History", "Reset Jump Lists"), "ResetJumpLists"},
    {IniFlag("Windows History", "ShellBags"), "ClearShellBags"},
};

void SelectEverything(ProgramSettings& s) {
    for (const RunRow& row : kRunTable) row.option.Write(s, true);
}

// What a run with everything selected calls, in order, and whether each has a stop test before it.
std::vector<RunRow> EverythingInOrder() {
    std::vector<RunRow> rows;
    for (const RunRow& row : kRunTable) {
        if (std::string(row.cleaner) == "ClearAcrobatCollections") continue;
        rows.push_back(row);
        if (std::string(row.cleaner) == "ClearAcrobatOrganizerHistory") rows.back().cleaner = "ClearAcrobatDataFolder";
    }
    return rows;
}

Names NamesOf(const std::vector<RunRow>& rows) {
    Names names;
    for (const RunRow& row : rows) names.push_back(row.cleaner);
    return names;
}

const Names kEverything = NamesOf(EverythingInOrder());
const Names kBrowserOrder(kEverything.begin(), kEverything.begin() + 70); // history to today's options
// The Windows group: from the recycle bin to the end.
const Names kWindowsOrder(std::find(kEverything.begin(), kEverything.end(), "EmptyRecycleBin"), kEverything.end());

Names Concat(std::initializer_list<Names> parts) {
    Names all;
    for (const Names& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
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
    // Back to a run about to start with nothing selected.
    void Restart() {
        cleaner.calls.clear();
        cleaner.stopAt.clear();
        settings.ApplyDefaults();
        settings.runActive = 1;
        observer.runsFinished.clear();
    }
};

} // namespace

TEST_F(ClearingRun, EverythingSelectedRunsBrowsersExtrasApplicationsThenWindows) {
    SelectEverything(settings);
    Run();
    EXPECT_EQ(cleaner.calls, kEverything);
    EXPECT_EQ(cleaner.clipboardOwner, progress.window());
    ASSERT_EQ(observer.runsFinished.size(), 1u);
    EXPECT_FALSE(observer.runsFinished[0]); // not told to end the program
    ExpectEnded();
}

TEST_F(ClearingRun, EveryOptionAloneCallsItsOneCleaner) {
    for (const RunRow& row : kRunTable) {
        SCOPED_TRACE(row.cleaner);
        Restart();
        row.option.Write(settings, true);
        Run();
        EXPECT_EQ(cleaner.calls, Names{row.cleaner});
    }
    // Options that select no step of the run: the start-up deletion and the watches.
    Restart();
    settings.cookiesMask = settings.historyMask = settings.cacheMask = IEIndexDatAtStartup;
    settings.bookmarksMask = BrowserFirefox;
    settings.deleteIECompatCacheIndex = settings.deletePrivacIEIndex = 1;
    settings.clearOnBrowserClose = settings.clearSkypeOnQuit = 1;
    Run();
    EXPECT_TRUE(cleaner.calls.empty());
}

TEST_F(ClearingRun, CancelDuringAnyStepRunsExactlyTheStepsBeforeTheNextStopTest) {
    const std::vector<RunRow> order = EverythingInOrder();
    for (size_t k = 0; k < order.size(); ++k) {
        SCOPED_TRACE(order[k].cleaner);
        Restart();
        SelectEverything(settings);
        cleaner.stopAt = order[k].cleaner;
        Run();
        size_t end = k + 1;
        while (end < order.size() && !order[end].stopTest) ++end;
        EXPECT_EQ(cleaner.calls, Names(kEverything.begin(), kEverything.begin() + end));
        ExpectEnded();
    }
}

TEST_F(ClearingRun, NothingSelectedStillEnds) {
    Run();
    EXPECT_TRUE(cleaner.calls.empty());
    ExpectEnded();
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
    EXPECT_EQ(cleaner.calls, kEverything);
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
    settings.deleteIECompatCacheIndex = 1; // not a step of the threaded run
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
