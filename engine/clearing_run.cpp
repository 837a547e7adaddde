#include "engine/clearing_run.h"

#include <shlobj.h>

#include <iterator>
#include <span>

#include "app/option_keys.h"
#include "engine/clearing_lease.h"
#include "engine/recording.h"
#include "engine/run_gate.h"

namespace {

// One step of a clearing: the option that selects it, the cleaner it calls and, for a browser's
// step, the browser (a page's CLEAR runs its own browser's steps; the options of settings.dat carry
// the browser's bit themselves).
struct Step {
    SettingRef option;
    CleanerOperation clean;
    uint32_t browser = 0;
    bool Selected(const ProgramSettings& settings) const { return option.Read(settings); }
    uint32_t Browser() const { return browser ? browser : option.bit; }
};

// The browser steps, shared by the threaded run and the synchronous browser group.
constexpr Step kBrowserSteps[] = {
    {MaskBit(&ProgramSettings::historyMask, BrowserIE), &HistoryCleaner::ClearIEHistory},
    {MaskBit(&ProgramSettings::historyMask, IEIndexDatContent), &HistoryCleaner::ClearHistoryIndexDat},
    {MaskBit(&ProgramSettings::historyMask, BrowserFirefox), &HistoryCleaner::ClearFirefoxHistory},
    {MaskBit(&ProgramSettings::historyMask, BrowserSafari), &HistoryCleaner::ClearSafariHistory},
    {MaskBit(&ProgramSettings::historyMask, BrowserOpera), &HistoryCleaner::ClearOperaHistory},
    {MaskBit(&ProgramSettings::historyMask, BrowserMozilla), &HistoryCleaner::ClearMozillaHistory},
    {MaskBit(&ProgramSettings::historyMask, BrowserNetscape), &HistoryCleaner::ClearNetscapeHistory},
    {MaskBit(&ProgramSettings::historyMask, BrowserChrome), &HistoryCleaner::ClearChromeHistory},
    {MaskBit(&ProgramSettings::cacheMask, BrowserIE), &HistoryCleaner::ClearIECache},
    {MaskBit(&ProgramSettings::cacheMask, IEIndexDatContent), &HistoryCleaner::ClearCacheIndexDat},
    {MaskBit(&ProgramSettings::cacheMask, BrowserFirefox), &HistoryCleaner::ClearFirefoxCache},
    {MaskBit(&ProgramSettings::cacheMask, BrowserSafari), &HistoryCleaner::ClearSafariCache},
    {MaskBit(&ProgramSettings::cacheMask, BrowserOpera), &HistoryCleaner::ClearOperaCache},
    {MaskBit(&ProgramSettings::cacheMask, BrowserMozilla), &HistoryCleaner::ClearMozillaCache},
    {MaskBit(&ProgramSettings::cacheMask, BrowserNetscape), &HistoryCleaner::ClearNetscapeCache},
    {MaskBit(&ProgramSettings::cacheMask, BrowserChrome), &HistoryCleaner::ClearChromeCache},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserIE), &HistoryCleaner::ClearIECookies},
    {MaskBit(&ProgramSettings::cookiesMask, IEIndexDatContent), &HistoryCleaner::ClearCookiesIndexDat},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserFirefox), &HistoryCleaner::ClearFirefoxCookies},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserSafari), &HistoryCleaner::ClearSafariCookies},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserOpera), &HistoryCleaner::ClearOperaCookies},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserMozilla), &HistoryCleaner::ClearMozillaCookies},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserNetscape), &HistoryCleaner::ClearNetscapeCookies},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserChrome), &HistoryCleaner::ClearChromeCookies},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserIE), &HistoryCleaner::ClearIEPasswords},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserFirefox), &HistoryCleaner::ClearFirefoxPasswords},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserSafari), &HistoryCleaner::ClearSafariPasswords},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserOpera), &HistoryCleaner::ClearOperaPasswords},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserMozilla), &HistoryCleaner::ClearMozillaPasswords},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserNetscape), &HistoryCleaner::ClearNetscapePasswords},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserChrome), &HistoryCleaner::ClearChromePasswords},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserIE), &HistoryCleaner::ClearIEDownloads},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserFirefox), &HistoryCleaner::ClearFirefoxDownloads},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserSafari), &HistoryCleaner::ClearSafariDownloads},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserOpera), &HistoryCleaner::ClearOperaDownloads},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserMozilla), &HistoryCleaner::ClearMozillaDownloads},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserNetscape), &HistoryCleaner::ClearNetscapeDownloads},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserChrome), &HistoryCleaner::ClearChromeDownloads},
};


// What today's browsers keep beyond the five kinds of every browser, and the browsers whose every
// option is one of options.ini: after the five kinds in every clearing.
constexpr Step kCurrentBrowserSteps[] = {
    {IniFlag(OptionKeys::kFirefoxPage, OptionKeys::kSessions), &HistoryCleaner::ClearFirefoxSessions, BrowserFirefox},
    {IniFlag(OptionKeys::kFirefoxPage, OptionKeys::kFormData), &HistoryCleaner::ClearFirefoxFormData, BrowserFirefox},
    {IniFlag(OptionKeys::kChromePage, OptionKeys::kSessions), &HistoryCleaner::ClearChromeSessions, BrowserChrome},
    {IniFlag(OptionKeys::kChromePage, OptionKeys::kFormData), &HistoryCleaner::ClearChromeFormData, BrowserChrome},
    {IniFlag(OptionKeys::kEdgePage, OptionKeys::kHistory), &HistoryCleaner::ClearEdgeHistory, BrowserEdge},
    {IniFlag(OptionKeys::kEdgePage, OptionKeys::kCache), &HistoryCleaner::ClearEdgeCache, BrowserEdge},
    {IniFlag(OptionKeys::kEdgePage, OptionKeys::kCookies), &HistoryCleaner::ClearEdgeCookies, BrowserEdge},
    {IniFlag(OptionKeys::kEdgePage, OptionKeys::kPasswords), &HistoryCleaner::ClearEdgePasswords, BrowserEdge},
    {IniFlag(OptionKeys::kEdgePage, OptionKeys::kDownloads), &HistoryCleaner::ClearEdgeDownloads, BrowserEdge},
    {IniFlag(OptionKeys::kEdgePage, OptionKeys::kSessions), &HistoryCleaner::ClearEdgeSessions, BrowserEdge},
    {IniFlag(OptionKeys::kEdgePage, OptionKeys::kFormData), &HistoryCleaner::ClearEdgeFormData, BrowserEdge},
    {IniFlag(OptionKeys::kBravePage, OptionKeys::kHistory), &HistoryCleaner::ClearBraveHistory, BrowserBrave},
    {IniFlag(OptionKeys::kBravePage, OptionKeys::kCache), &HistoryCleaner::ClearBraveCache, BrowserBrave},
    {IniFlag(OptionKeys::kBravePage, OptionKeys::kCookies), &HistoryCleaner::ClearBraveCookies, BrowserBrave},
    {IniFlag(OptionKeys::kBravePage, OptionKeys::kPasswords), &HistoryCleaner::ClearBravePasswords, BrowserBrave},
    {IniFlag(OptionKeys::kBravePage, OptionKeys::kDownloads), &HistoryCleaner::ClearBraveDownloads, BrowserBrave},
    {IniFlag(OptionKeys::kBravePage, OptionKeys::kSessions), &HistoryCleaner::ClearBraveSessions, BrowserBrave},
    {IniFlag(OptionKeys::kBravePage, OptionKeys::kFormData), &HistoryCleaner::ClearBraveFormData, BrowserBrave},
    {IniFlag(OptionKeys::kVivaldiPage, OptionKeys::kHistory), &HistoryCleaner::ClearVivaldiHistory, BrowserVivaldi},
    {IniFlag(OptionKeys::kVivaldiPage, OptionKeys::kCache), &HistoryCleaner::ClearVivaldiCache, BrowserVivaldi},
    {IniFlag(OptionKeys::kVivaldiPage, OptionKeys::kCookies), &HistoryCleaner::ClearVivaldiCookies, BrowserVivaldi},
    {IniFlag(OptionKeys::kVivaldiPage, OptionKeys::kPasswords), &HistoryCleaner::ClearVivaldiPasswords, BrowserVivaldi},
    {IniFlag(OptionKeys::kVivaldiPage, OptionKeys::kDownloads), &HistoryCleaner::ClearVivaldiDownloads, BrowserVivaldi},
    {IniFlag(OptionKeys::kVivaldiPage, OptionKeys::kSessions), &HistoryCleaner::ClearVivaldiSessions, BrowserVivaldi},
    {IniFlag(OptionKeys::kVivaldiPage, OptionKeys::kFormData), &HistoryCleaner::ClearVivaldiFormData, BrowserVivaldi},
    {IniFlag(OptionKeys::kOperaPage, OptionKeys::kHistory), &HistoryCleaner::ClearOperaTodayHistory, BrowserOperaToday},
    {IniFlag(OptionKeys::kOperaPage, OptionKeys::kCache), &HistoryCleaner::ClearOperaTodayCache, BrowserOperaToday},
    {IniFlag(OptionKeys::kOperaPage, OptionKeys::kCookies), &HistoryCleaner::ClearOperaTodayCookies, BrowserOperaToday},
    {IniFlag(OptionKeys::kOperaPage, OptionKeys::kPasswords), &HistoryCleaner::ClearOperaTodayPasswords, BrowserOperaToday},
    {IniFlag(OptionKeys::kOperaPage, OptionKeys::kDownloads), &HistoryCleaner::ClearOperaTodayDownloads, BrowserOperaToday},
    {IniFlag(OptionKeys::kOperaPage, OptionKeys::kSessions), &HistoryCleaner::ClearOperaTodaySessions, BrowserOperaToday},
    {IniFlag(OptionKeys::kOperaPage, OptionKeys::kFormData), &HistoryCleaner::ClearOperaTodayFormData, BrowserOperaToday},
};

// The purges end their groups in every kind of clearing: a stronger setting (shredding on) must
// never leave the weaker scrub.
constexpr Step kBrowserExtras[] = {
    {Flag(&ProgramSettings::clearMostPopularSites), &HistoryCleaner::ClearIEMostPopularSites},
    {Flag(&ProgramSettings::clearLastSession), &HistoryCleaner::ClearIELastSession},
    {Flag(&ProgramSettings::clearOperaSpeedDial), &HistoryCleaner::ClearOperaSpeedDial},
    {MaskBit(&ProgramSettings::purgeHistoryMask, BrowserFirefox), &HistoryCleaner::PurgeFirefoxHistoryDatabase},
};

constexpr Step kApplicationSteps[] = {
    {Flag(&ProgramSettings::clearToolbarHistory), &HistoryCleaner::ClearToolbarHistory},
    {Flag(&ProgramSettings::clearOfficeHistory), &HistoryCleaner::ClearOfficeHistory},
    {Flag(&ProgramSettings::clearMediaPlayerHistory), &HistoryCleaner::ClearMediaPlayerHistory},
    {Flag(&ProgramSettings::clearGoogleDesktopHistory), &HistoryCleaner::ClearGoogleDesktopHistory},
};

constexpr Step kSkypeSteps[] = {
    {Flag(&ProgramSettings::deleteSkypeCalls), &HistoryCleaner::ClearSkypeCalls},
    {Flag(&ProgramSettings::deleteSkypeChats), &HistoryCleaner::ClearSkypeChats},
    {Flag(&ProgramSettings::purgeSkypeDatabase), &HistoryCleaner::PurgeSkypeDatabase},
};

constexpr Step kAcrobatRecentSteps[] = {
    {Flag(&ProgramSettings::clearAcrobatReaderRecent), &HistoryCleaner::ClearAcrobatReaderRecentFiles},
    {Flag(&ProgramSettings::clearAcrobatRecent), &HistoryCleaner::ClearAdobeAcrobatRecentFiles},
};

// The Windows history steps after the clipboard, in their run order.
constexpr Step kWindowsStepsAfterClipboard[] = {
    {Flag(&ProgramSettings::emptyTempFolders), &HistoryCleaner::EmptyTempFolders},
    {Flag(&ProgramSettings::clearRunHistory), &HistoryCleaner::ClearRunHistory},
    {Flag(&ProgramSettings::clearSearchFilesHistory), &HistoryCleaner::ClearSearchFilesHistory},
    {Flag(&ProgramSettings::clearSearchComputersHistory), &HistoryCleaner::ClearSearchComputersHistory},
    {Flag(&ProgramSettings::clearUserAssist), &HistoryCleaner::ClearUserAssist},
    {Flag(&ProgramSettings::clearStreams), &HistoryCleaner::ClearStreams},
    {Flag(&ProgramSettings::clearOpenSaveHistory), &HistoryCleaner::ClearOpenSaveHistory},
};

// What Windows 10 and 11 keep besides: options of options.ini, after the older lists.
constexpr Step kCurrentWindowsSteps[] = {
    {IniFlag(OptionKeys::kWindowsPage, OptionKeys::kExplorerLists), &HistoryCleaner::ClearExplorerLists},
    {IniFlag(OptionKeys::kWindowsPage, OptionKeys::kThumbnailCaches), &HistoryCleaner::ClearThumbnailCaches},
    {IniFlag(OptionKeys::kWindowsPage, OptionKeys::kErrorReports), &HistoryCleaner::ClearErrorReports},
    {IniFlag(OptionKeys::kWindowsPage, OptionKeys::kPowerShellHistory), &HistoryCleaner::ClearPowerShellHistory},
    {IniFlag(OptionKeys::kWindowsPage, OptionKeys::kClipboardHistory), &HistoryCleaner::ClearClipboardHistory},
    {IniFlag(OptionKeys::kWindowsPage, OptionKeys::kTimeline), &HistoryCleaner::ClearTimeline},
    {IniFlag(OptionKeys::kWindowsPage, OptionKeys::kResetJumpLists), &HistoryCleaner::ResetJumpLists},
    {IniFlag(OptionKeys::kWindowsPage, OptionKeys::kShellBags), &HistoryCleaner::ClearShellBags},
};


// The clipboard step takes its owner window, so it has no entry in the labels of the others.
void ClearClipboardStep(HistoryCleaner& cleaner, HWND owner) {
    const RecordingContext context(cleaner, {"Windows", "", "Clipboard"});
    cleaner.ClearClipboard(owner);
}

// Both Acrobat options together clear the whole data folder, which holds both.
void ClearAcrobatData(HistoryCleaner& cleaner, const ProgramSettings& settings) {
    if (settings.clearAcrobatHistory && settings.clearAcrobatCollections)
        CallCleaner(cleaner, &HistoryCleaner::ClearAcrobatDataFolder);
    else if (settings.clearAcrobatHistory)
        CallCleaner(cleaner, &HistoryCleaner::ClearAcrobatOrganizerHistory);
    else if (settings.clearAcrobatCollections)
        CallCleaner(cleaner, &HistoryCleaner::ClearAcrobatCollections);
}

// The steps of the threaded run. Each returns false when the run is to stop.
class ThreadedRun {
public:
    ThreadedRun(HistoryCleaner& cleaner, ProgramSettings& settings) : cleaner_(cleaner), settings_(settings) {}

    void Run() {
        if (!Continue()) return;
        for (size_t i = 0; i < std::size(kBrowserSteps); ++i) {
            // The first step has no test of its own: the initial one stands for it.
            if (i > 0 && !Continue()) return;
            if (kBrowserSteps[i].Selected(settings_)) CallCleaner(cleaner_, kBrowserSteps[i].clean);
        }
        for (const Step& step : kCurrentBrowserSteps)
            if (!Checked(step)) return;
        for (const Step& step : kBrowserExtras)
            if (!Checked(step)) return;
        // The toolbar step tests its option before the stop flag.
        Gate().WaitWhilePaused();
        if (settings_.clearToolbarHistory) {
            if (settings_.stopRequested) return;
            CallCleaner(cleaner_, &HistoryCleaner::ClearToolbarHistory);
        }
        for (size_t i = 1; i < std::size(kApplicationSteps); ++i)
            if (!Checked(kApplicationSteps[i])) return;
        for (const Step& step : kSkypeSteps)
            if (!Checked(step)) return;
        // The Acrobat steps run without a stop test.
        for (const Step& step : kAcrobatRecentSteps) {
            Gate().WaitWhilePaused();
            if (step.Selected(settings_)) CallCleaner(cleaner_, step.clean);
        }
        Gate().WaitWhilePaused();
        ClearAcrobatData(cleaner_, settings_);

        if (!Continue()) return;
        if (settings_.emptyRecycleBin) CallCleaner(cleaner_, &HistoryCleaner::EmptyRecycleBin);
        if (!Continue()) return;
        if (settings_.clearRecentDocuments) {
            if (!cleaner_.dryRun) SHAddToRecentDocs(SHARD_PATHA, nullptr);
            CallCleaner(cleaner_, &HistoryCleaner::ClearRecentDocuments);
        }
        if (!Continue()) return;
        if (settings_.emptyRecentItems) CallCleaner(cleaner_, &HistoryCleaner::EmptyRecentItems);
        if (!Continue()) return;
        if (settings_.clearClipboard) ClearClipboardStep(cleaner_, cleaner_.Report().OwnerWindow());
        for (const Step& step : kWindowsStepsAfterClipboard)
            if (!Checked(step)) return;
        for (const Step& step : kCurrentWindowsSteps)
            if (!Checked(step)) return;
    }

private:
    // Waits while the progress window asks its question, then tests for a cancel.
    bool Continue() {
        Gate().WaitWhilePaused();
        return !settings_.stopRequested;
    }
    bool Checked(const Step& step) {
        if (!Continue()) return false;
        if (step.Selected(settings_)) CallCleaner(cleaner_, step.clean);
        return true;
    }

    HistoryCleaner& cleaner_;
    ProgramSettings& settings_;
};

} // namespace

void RunClearingSteps(HistoryCleaner& cleaner, ProgramSettings& settings, volatile LONG* done,
                      const std::string& trigger, const std::string& reportsFolder) {
    if (done) *done = 0;
    InterlockedExchange(&cleaner.threadedRun, 1);
    try {
        RecordedClearing(cleaner, trigger, false, reportsFolder, [&] {
            try {
                ThreadedRun(cleaner, settings).Run();
            } catch (...) {
                // A cleaner that failed this badly leaves the rest undone; what was done before it
                // is still reported.
            }
        });
    } catch (...) {
        // Not even the record could be kept; the run still ends properly.
    }
    InterlockedExchange(&cleaner.threadedRun, 0);
    // The flags are set before the end is reported, so that the progress window sees the run
    // finished when it hears of it.
    if (done) *done = 1;
    settings.stopRequested = 1;
    EndClearing(settings);
    cleaner.Report().RunFinished(settings.exitAfterRun != 0);
}

std::vector<SettingRef> RunOptions() {
    std::vector<SettingRef> options;
    auto add = [&](std::span<const Step> steps) {
        for (const Step& step : steps) options.push_back(step.option);
    };
    add(kBrowserSteps);
    add(kCurrentBrowserSteps);
    add(kBrowserExtras);
    add(kApplicationSteps);
    add(kSkypeSteps);
    add(kAcrobatRecentSteps);
    add(kWindowsStepsAfterClipboard);
    add(kCurrentWindowsSteps);
    // The steps written out in the run and in the synchronous groups.
    for (SettingRef option :
         {Flag(&ProgramSettings::clearAcrobatHistory), Flag(&ProgramSettings::clearAcrobatCollections),
          Flag(&ProgramSettings::emptyRecycleBin), Flag(&ProgramSettings::clearRecentDocuments),
          Flag(&ProgramSettings::emptyRecentItems), Flag(&ProgramSettings::clearClipboard),
          Flag(&ProgramSettings::deleteIECompatCacheIndex), Flag(&ProgramSettings::deletePrivacIEIndex)})
        options.push_back(option);
    return options;
}

std::vector<SettingRef> OptionsWithoutAStep() {
    return {
        MaskBit(&ProgramSettings::historyMask, IEIndexDatAtStartup),
        MaskBit(&ProgramSettings::cacheMask, IEIndexDatAtStartup),
        MaskBit(&ProgramSettings::cookiesMask, IEIndexDatAtStartup),
        MaskBit(&ProgramSettings::bookmarksMask, BrowserFirefox),
        Flag(&ProgramSettings::clearPageFileAtShutdown),
        // Read by the thumbnail step.
        IniFlag(OptionKeys::kWindowsPage, OptionKeys::kThumbnailCachesAtStart),
        DwordFlag(&ProgramSettings::clearSkypeOnQuit),
        DwordFlag(&ProgramSettings::clearOnBrowserClose),
    };
}

bool AnyClearingOptionSelected(const ProgramSettings& settings) {
    // The browser-close watch is a What to Clear choice, not a box of a cleaning page: on its own it
    // gives "Clear all" nothing to do.
    const SettingRef watch = DwordFlag(&ProgramSettings::clearOnBrowserClose);
    for (const auto& options : {RunOptions(), OptionsWithoutAStep()})
        for (const SettingRef& option : options)
            if (option.Read(settings) && option.dwordFlag != watch.dwordFlag) return true;
    return false;
}

void ClearBrowserSteps(HistoryCleaner& cleaner, const ProgramSettings& settings, uint32_t browsers) {
    for (const auto& steps : {std::span<const Step>(kBrowserSteps), std::span<const Step>(kCurrentBrowserSteps)})
        for (const Step& step : steps)
            if ((step.Browser() & browsers) && step.Selected(settings)) CallCleaner(cleaner, step.clean);
}

void ClearSelectedBrowserItems(HistoryCleaner& cleaner, ProgramSettings& settings) {
    for (const auto& steps : {std::span<const Step>(kBrowserSteps), std::span<const Step>(kCurrentBrowserSteps)})
        for (const Step& step : steps)
            if (step.Selected(settings)) CallCleaner(cleaner, step.clean);
    if (settings.deleteIECompatCacheIndex || settings.deletePrivacIEIndex)
        CallCleaner(cleaner, &HistoryCleaner::DeleteIEIndexDatFiles);
    for (const Step& step : kBrowserExtras)
        if (step.Selected(settings)) CallCleaner(cleaner, step.clean);
}

void ClearSelectedWindowsHistory(HistoryCleaner& cleaner, ProgramSettings& settings, HWND clipboardOwner) {
    if (settings.emptyRecycleBin) CallCleaner(cleaner, &HistoryCleaner::EmptyRecycleBin);
    if (settings.clearRecentDocuments) CallCleaner(cleaner, &HistoryCleaner::ClearRecentDocuments);
    if (settings.emptyRecentItems) CallCleaner(cleaner, &HistoryCleaner::EmptyRecentItems);
    if (settings.clearClipboard) ClearClipboardStep(cleaner, clipboardOwner);
    for (const auto& steps : {std::span<const Step>(kWindowsStepsAfterClipboard),
                              std::span<const Step>(kCurrentWindowsSteps)})
        for (const Step& step : steps)
            if (step.Selected(settings)) CallCleaner(cleaner, step.clean);
}

void ClearSelectedApplicationHistory(HistoryCleaner& cleaner, ProgramSettings& settings) {
    for (const Step& step : kApplicationSteps)
        if (step.Selected(settings)) CallCleaner(cleaner, step.clean);
    if ((settings.deleteSkypeCalls || settings.deleteSkypeChats || settings.purgeSkypeDatabase) &&
        !settings.exiting && cleaner.PromptCloseSkype()) {
        for (const Step& step : kSkypeSteps)
            if (step.Selected(settings)) CallCleaner(cleaner, step.clean);
    }
    for (const Step& step : kAcrobatRecentSteps)
        if (step.Selected(settings)) CallCleaner(cleaner, step.clean);
    ClearAcrobatData(cleaner, settings);
}
