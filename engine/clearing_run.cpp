#include "engine/clearing_run.h"

#include <shlobj.h>

#include <iterator>

#include "app/messages.h"
#include "engine/clearing_lease.h"
#include "engine/run_gate.h"

namespace {

using CleanerOperation = void (HistoryCleaner::*)();

struct BrowserStep {
    uint32_t ProgramSettings::*mask;
    uint32_t bit;
    CleanerOperation clean;
};

// The browser steps, shared by the threaded run and the synchronous browser group.
constexpr BrowserStep kBrowserSteps[] = {
    {&ProgramSettings::historyMask, BrowserIE, &HistoryCleaner::ClearIEHistory},
    {&ProgramSettings::historyMask, IEIndexDatContent, &HistoryCleaner::ClearHistoryIndexDat},
    {&ProgramSettings::historyMask, BrowserFirefox, &HistoryCleaner::ClearFirefoxHistory},
    {&ProgramSettings::historyMask, BrowserSafari, &HistoryCleaner::ClearSafariHistory},
    {&ProgramSettings::historyMask, BrowserOpera, &HistoryCleaner::ClearOperaHistory},
    {&ProgramSettings::historyMask, BrowserMozilla, &HistoryCleaner::ClearMozillaHistory},
    {&ProgramSettings::historyMask, BrowserNetscape, &HistoryCleaner::ClearNetscapeHistory},
    {&ProgramSettings::historyMask, BrowserChrome, &HistoryCleaner::ClearChromeHistory},
    {&ProgramSettings::cacheMask, BrowserIE, &HistoryCleaner::ClearIECache},
    {&ProgramSettings::cacheMask, IEIndexDatContent, &HistoryCleaner::ClearCacheIndexDat},
    {&ProgramSettings::cacheMask, BrowserFirefox, &HistoryCleaner::ClearFirefoxCache},
    {&ProgramSettings::cacheMask, BrowserSafari, &HistoryCleaner::ClearSafariCache},
    {&ProgramSettings::cacheMask, BrowserOpera, &HistoryCleaner::ClearOperaCache},
    {&ProgramSettings::cacheMask, BrowserMozilla, &HistoryCleaner::ClearMozillaCache},
    {&ProgramSettings::cacheMask, BrowserNetscape, &HistoryCleaner::ClearNetscapeCache},
    {&ProgramSettings::cacheMask, BrowserChrome, &HistoryCleaner::ClearChromeCache},
    {&ProgramSettings::cookiesMask, BrowserIE, &HistoryCleaner::ClearIECookies},
    {&ProgramSettings::cookiesMask, IEIndexDatContent, &HistoryCleaner::ClearCookiesIndexDat},
    {&ProgramSettings::cookiesMask, BrowserFirefox, &HistoryCleaner::ClearFirefoxCookies},
    {&ProgramSettings::cookiesMask, BrowserSafari, &HistoryCleaner::ClearSafariCookies},
    {&ProgramSettings::cookiesMask, BrowserOpera, &HistoryCleaner::ClearOperaCookies},
    {&ProgramSettings::cookiesMask, BrowserMozilla, &HistoryCleaner::ClearMozillaCookies},
    {&ProgramSettings::cookiesMask, BrowserNetscape, &HistoryCleaner::ClearNetscapeCookies},
    {&ProgramSettings::cookiesMask, BrowserChrome, &HistoryCleaner::ClearChromeCookies},
    {&ProgramSettings::passwordsMask, BrowserIE, &HistoryCleaner::ClearIEPasswords},
    {&ProgramSettings::passwordsMask, BrowserFirefox, &HistoryCleaner::ClearFirefoxPasswords},
    {&ProgramSettings::passwordsMask, BrowserSafari, &HistoryCleaner::ClearSafariPasswords},
    {&ProgramSettings::passwordsMask, BrowserOpera, &HistoryCleaner::ClearOperaPasswords},
    {&ProgramSettings::passwordsMask, BrowserMozilla, &HistoryCleaner::ClearMozillaPasswords},
    {&ProgramSettings::passwordsMask, BrowserNetscape, &HistoryCleaner::ClearNetscapePasswords},
    {&ProgramSettings::passwordsMask, BrowserChrome, &HistoryCleaner::ClearChromePasswords},
    {&ProgramSettings::downloadsMask, BrowserIE, &HistoryCleaner::ClearIEDownloads},
    {&ProgramSettings::downloadsMask, BrowserFirefox, &HistoryCleaner::ClearFirefoxDownloads},
    {&ProgramSettings::downloadsMask, BrowserSafari, &HistoryCleaner::ClearSafariDownloads},
    {&ProgramSettings::downloadsMask, BrowserOpera, &HistoryCleaner::ClearOperaDownloads},
    {&ProgramSettings::downloadsMask, BrowserMozilla, &HistoryCleaner::ClearMozillaDownloads},
    {&ProgramSettings::downloadsMask, BrowserNetscape, &HistoryCleaner::ClearNetscapeDownloads},
    {&ProgramSettings::downloadsMask, BrowserChrome, &HistoryCleaner::ClearChromeDownloads},
};

struct FlagStep {
    uint8_t ProgramSettings::*flag;
    CleanerOperation clean;
};

constexpr FlagStep kBrowserExtras[] = {
    {&ProgramSettings::clearMostPopularSites, &HistoryCleaner::ClearIEMostPopularSites},
    {&ProgramSettings::clearLastSession, &HistoryCleaner::ClearIELastSession},
    {&ProgramSettings::clearOperaSpeedDial, &HistoryCleaner::ClearOperaSpeedDial},
};

constexpr FlagStep kApplicationSteps[] = {
    {&ProgramSettings::clearToolbarHistory, &HistoryCleaner::ClearToolbarHistory},
    {&ProgramSettings::clearOfficeHistory, &HistoryCleaner::ClearOfficeHistory},
    {&ProgramSettings::clearMediaPlayerHistory, &HistoryCleaner::ClearMediaPlayerHistory},
    {&ProgramSettings::clearGoogleDesktopHistory, &HistoryCleaner::ClearGoogleDesktopHistory},
};

constexpr FlagStep kSkypeSteps[] = {
    {&ProgramSettings::deleteSkypeCalls, &HistoryCleaner::ClearSkypeCalls},
    {&ProgramSettings::deleteSkypeChats, &HistoryCleaner::ClearSkypeChats},
};

constexpr FlagStep kAcrobatRecentSteps[] = {
    {&ProgramSettings::clearAcrobatReaderRecent, &HistoryCleaner::ClearAcrobatReaderRecentFiles},
    {&ProgramSettings::clearAcrobatRecent, &HistoryCleaner::ClearAdobeAcrobatRecentFiles},
};

// The Windows history steps after the clipboard, in their run order.
constexpr FlagStep kWindowsStepsAfterClipboard[] = {
    {&ProgramSettings::emptyTempFolders, &HistoryCleaner::EmptyTempFolders},
    {&ProgramSettings::clearRunHistory, &HistoryCleaner::ClearRunHistory},
    {&ProgramSettings::clearSearchFilesHistory, &HistoryCleaner::ClearSearchFilesHistory},
    {&ProgramSettings::clearSearchComputersHistory, &HistoryCleaner::ClearSearchComputersHistory},
    {&ProgramSettings::clearUserAssist, &HistoryCleaner::ClearUserAssist},
    {&ProgramSettings::clearStreams, &HistoryCleaner::ClearStreams},
    {&ProgramSettings::clearOpenSaveHistory, &HistoryCleaner::ClearOpenSaveHistory},
};

bool Selected(const ProgramSettings& settings, const BrowserStep& step) {
    return (settings.*step.mask & step.bit) != 0;
}

// Both Acrobat options together clear the whole data folder, which holds both.
void ClearAcrobatData(HistoryCleaner& cleaner, const ProgramSettings& settings) {
    if (settings.clearAcrobatHistory && settings.clearAcrobatCollections)
        cleaner.ClearAcrobatDataFolder();
    else if (settings.clearAcrobatHistory)
        cleaner.ClearAcrobatOrganizerHistory();
    else if (settings.clearAcrobatCollections)
        cleaner.ClearAcrobatCollections();
}

// The steps of the threaded run. Each returns false when the run is to stop.
class ThreadedRun {
public:
    ThreadedRun(HistoryCleaner& cleaner, ProgramSettings& settings, HWND progressWindow)
        : cleaner_(cleaner), settings_(settings), progressWindow_(progressWindow) {}

    void Run() {
        if (!Continue()) return;
        for (size_t i = 0; i < std::size(kBrowserSteps); ++i) {
            // The first step has no test of its own: the initial one stands for it.
            if (i > 0 && !Continue()) return;
            if (Selected(settings_, kBrowserSteps[i])) (cleaner_.*kBrowserSteps[i].clean)();
        }
        for (const FlagStep& step : kBrowserExtras)
            if (!Checked(step)) return;
        // The toolbar step tests its option before the stop flag.
        Gate().WaitWhilePaused();
        if (settings_.clearToolbarHistory) {
            if (settings_.stopRequested) return;
            cleaner_.ClearToolbarHistory();
        }
        for (size_t i = 1; i < std::size(kApplicationSteps); ++i)
            if (!Checked(kApplicationSteps[i])) return;
        for (const FlagStep& step : kSkypeSteps)
            if (!Checked(step)) return;
        // The Acrobat steps run without a stop test.
        for (const FlagStep& step : kAcrobatRecentSteps) {
            Gate().WaitWhilePaused();
            if (settings_.*step.flag) (cleaner_.*step.clean)();
        }
        Gate().WaitWhilePaused();
        ClearAcrobatData(cleaner_, settings_);

        if (!Continue()) return;
        if (settings_.emptyRecycleBin) cleaner_.EmptyRecycleBin();
        if (!Continue()) return;
        if (settings_.clearRecentDocuments) {
            SHAddToRecentDocs(SHARD_PATHA, nullptr);
            cleaner_.ClearRecentDocuments();
        }
        if (!Continue()) return;
        if (settings_.emptyRecentItems) cleaner_.EmptyRecentItems();
        if (!Continue()) return;
        if (settings_.clearClipboard) cleaner_.ClearClipboard(progressWindow_);
        for (const FlagStep& step : kWindowsStepsAfterClipboard)
            if (!Checked(step)) return;
    }

private:
    // Waits while the progress window asks its question, then tests for a cancel.
    bool Continue() {
        Gate().WaitWhilePaused();
        return !settings_.stopRequested;
    }
    bool Checked(const FlagStep& step) {
        if (!Continue()) return false;
        if (settings_.*step.flag) (cleaner_.*step.clean)();
        return true;
    }

    HistoryCleaner& cleaner_;
    ProgramSettings& settings_;
    HWND progressWindow_;
};

} // namespace

void RunClearingSteps(HistoryCleaner& cleaner, ProgramSettings& settings, HWND progressWindow,
                      HWND mainWindow, volatile LONG* done) {
    if (done) *done = 0;
    InterlockedExchange(&cleaner.threadedRun, 1);
    try {
        ThreadedRun(cleaner, settings, progressWindow).Run();
    } catch (...) {
        // A cleaner that failed this badly leaves the rest undone; the run still ends properly.
    }
    InterlockedExchange(&cleaner.threadedRun, 0);
    // The flags are set before the message goes out, so that the progress window sees the run
    // finished when it handles MsgRunFinished.
    if (done) *done = 1;
    settings.stopRequested = 1;
    EndClearing(settings);
    PostMessageA(progressWindow, MsgRunFinished, 0, 0);
    if (settings.exitAfterRun) PostMessageA(mainWindow, WM_COMMAND, CmdExitProgram, 0);
}

void ClearSelectedBrowserItems(HistoryCleaner& cleaner, ProgramSettings& settings) {
    for (const BrowserStep& step : kBrowserSteps)
        if (Selected(settings, step)) (cleaner.*step.clean)();
    if (settings.deleteIECompatCacheIndex || settings.deletePrivacIEIndex) cleaner.DeleteIEIndexDatFiles();
    for (const FlagStep& step : kBrowserExtras)
        if (settings.*step.flag) (cleaner.*step.clean)();
    if (settings.purgeHistoryMask & BrowserFirefox) cleaner.PurgeFirefoxHistoryDatabase();
}

void ClearSelectedWindowsHistory(HistoryCleaner& cleaner, ProgramSettings& settings, HWND clipboardOwner) {
    if (settings.emptyRecycleBin) cleaner.EmptyRecycleBin();
    if (settings.clearRecentDocuments) cleaner.ClearRecentDocuments();
    if (settings.emptyRecentItems) cleaner.EmptyRecentItems();
    if (settings.clearClipboard) cleaner.ClearClipboard(clipboardOwner);
    for (const FlagStep& step : kWindowsStepsAfterClipboard)
        if (settings.*step.flag) (cleaner.*step.clean)();
}

void ClearSelectedApplicationHistory(HistoryCleaner& cleaner, ProgramSettings& settings) {
    for (const FlagStep& step : kApplicationSteps)
        if (settings.*step.flag) (cleaner.*step.clean)();
    if ((settings.deleteSkypeCalls || settings.deleteSkypeChats || settings.purgeSkypeDatabase) &&
        !settings.exiting && cleaner.PromptCloseSkype()) {
        for (const FlagStep& step : kSkypeSteps)
            if (settings.*step.flag) (cleaner.*step.clean)();
        if (settings.purgeSkypeDatabase) cleaner.PurgeSkypeDatabase();
    }
    for (const FlagStep& step : kAcrobatRecentSteps)
        if (settings.*step.flag) (cleaner.*step.clean)();
    ClearAcrobatData(cleaner, settings);
}
