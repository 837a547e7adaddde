// The main window's watches of running programs: the browser watch (timer 15) clears a browser's
// traces when it has been closed, the Skype watch (timer 16) Skype's when it has quit. Also the
// closing prompts that come before a clearing.
#include "app/main_window.h"

#include <span>
#include <vector>

#include "app/option_keys.h"
#include "control/running_programs.h"
#include "engine/clearing_lease.h"
#include "engine/recording.h"
#include "engine/history_cleaner.h"
#include "ui/option_page.h"
#include "ui/page_ids.h"

namespace {

struct WatchStep {
    SettingRef option;
    CleanerOperation clean;
};

// The Internet Explorer family's cleaners in the watch's order (not the run's: the index.dat
// contents come after the downloads, cookies last).
constexpr WatchStep kIESteps[] = {
    {MaskBit(&ProgramSettings::historyMask, BrowserIE), &HistoryCleaner::ClearIEHistory},
    {MaskBit(&ProgramSettings::cacheMask, BrowserIE), &HistoryCleaner::ClearIECache},
    {MaskBit(&ProgramSettings::passwordsMask, BrowserIE), &HistoryCleaner::ClearIEPasswords},
    {MaskBit(&ProgramSettings::downloadsMask, BrowserIE), &HistoryCleaner::ClearIEDownloads},
    {MaskBit(&ProgramSettings::historyMask, IEIndexDatContent), &HistoryCleaner::ClearHistoryIndexDat},
    {MaskBit(&ProgramSettings::cacheMask, IEIndexDatContent), &HistoryCleaner::ClearCacheIndexDat},
    {MaskBit(&ProgramSettings::cookiesMask, BrowserIE), &HistoryCleaner::ClearIECookies},
    {MaskBit(&ProgramSettings::cookiesMask, IEIndexDatContent), &HistoryCleaner::ClearCookiesIndexDat},
    {Flag(&ProgramSettings::clearMostPopularSites), &HistoryCleaner::ClearIEMostPopularSites},
    {Flag(&ProgramSettings::clearLastSession), &HistoryCleaner::ClearIELastSession},
};

// History, cache, cookies, passwords, downloads of one browser.
#define FIVE_STEPS(Name, bit)                                                                                 \
    {MaskBit(&ProgramSettings::historyMask, bit), &HistoryCleaner::Clear##Name##History},                     \
        {MaskBit(&ProgramSettings::cacheMask, bit), &HistoryCleaner::Clear##Name##Cache},                     \
        {MaskBit(&ProgramSettings::cookiesMask, bit), &HistoryCleaner::Clear##Name##Cookies},                 \
        {MaskBit(&ProgramSettings::passwordsMask, bit), &HistoryCleaner::Clear##Name##Passwords},             \
        {MaskBit(&ProgramSettings::downloadsMask, bit), &HistoryCleaner::Clear##Name##Downloads}
// Every box of a browser built on Chromium that keeps its options in options.ini.
#define SEVEN_STEPS(Name, section)                                                                            \
    {IniFlag(section, OptionKeys::kHistory), &HistoryCleaner::Clear##Name##History},                          \
        {IniFlag(section, OptionKeys::kCache), &HistoryCleaner::Clear##Name##Cache},                          \
        {IniFlag(section, OptionKeys::kCookies), &HistoryCleaner::Clear##Name##Cookies},                      \
        {IniFlag(section, OptionKeys::kPasswords), &HistoryCleaner::Clear##Name##Passwords},                  \
        {IniFlag(section, OptionKeys::kDownloads), &HistoryCleaner::Clear##Name##Downloads},                  \
        {IniFlag(section, OptionKeys::kSessions), &HistoryCleaner::Clear##Name##Sessions},                    \
        {IniFlag(section, OptionKeys::kFormData), &HistoryCleaner::Clear##Name##FormData}
constexpr WatchStep kFirefoxSteps[] = {
    FIVE_STEPS(Firefox, BrowserFirefox),
    {IniFlag(OptionKeys::kFirefoxPage, OptionKeys::kSessions), &HistoryCleaner::ClearFirefoxSessions},
    {IniFlag(OptionKeys::kFirefoxPage, OptionKeys::kFormData), &HistoryCleaner::ClearFirefoxFormData},
    {MaskBit(&ProgramSettings::purgeHistoryMask, BrowserFirefox), &HistoryCleaner::PurgeFirefoxHistoryDatabase}};
constexpr WatchStep kSafariSteps[] = {FIVE_STEPS(Safari, BrowserSafari)};
constexpr WatchStep kOperaSteps[] = {FIVE_STEPS(Opera, BrowserOpera),
                                     {Flag(&ProgramSettings::clearOperaSpeedDial), &HistoryCleaner::ClearOperaSpeedDial},
                                     SEVEN_STEPS(OperaToday, OptionKeys::kOperaPage)};
constexpr WatchStep kMozillaSteps[] = {FIVE_STEPS(Mozilla, BrowserMozilla)};
constexpr WatchStep kNetscapeSteps[] = {FIVE_STEPS(Netscape, BrowserNetscape)};
constexpr WatchStep kChromeSteps[] = {
    FIVE_STEPS(Chrome, BrowserChrome),
    {IniFlag(OptionKeys::kChromePage, OptionKeys::kSessions), &HistoryCleaner::ClearChromeSessions},
    {IniFlag(OptionKeys::kChromePage, OptionKeys::kFormData), &HistoryCleaner::ClearChromeFormData}};
constexpr WatchStep kEdgeSteps[] = {SEVEN_STEPS(Edge, OptionKeys::kEdgePage)};
constexpr WatchStep kBraveSteps[] = {SEVEN_STEPS(Brave, OptionKeys::kBravePage)};
constexpr WatchStep kVivaldiSteps[] = {SEVEN_STEPS(Vivaldi, OptionKeys::kVivaldiPage)};
#undef SEVEN_STEPS
#undef FIVE_STEPS

constexpr WatchStep kSkypeSteps[] = {
    {Flag(&ProgramSettings::deleteSkypeCalls), &HistoryCleaner::ClearSkypeCalls},
    {Flag(&ProgramSettings::deleteSkypeChats), &HistoryCleaner::ClearSkypeChats},
    {Flag(&ProgramSettings::purgeSkypeDatabase), &HistoryCleaner::PurgeSkypeDatabase},
};

// A browser family, the browsers whose windows stand for it, and its cleaners; in clearing order.
struct WatchedFamily {
    int first, count;
    std::span<const WatchStep> steps;
};
constexpr WatchedFamily kFamilies[] = {
    {BrowserIndexIE, 4, kIESteps},         {BrowserIndexFirefox, 1, kFirefoxSteps},
    {BrowserIndexSafari, 1, kSafariSteps}, {BrowserIndexOpera, 1, kOperaSteps},
    {BrowserIndexMozilla, 1, kMozillaSteps}, {BrowserIndexNetscape, 1, kNetscapeSteps},
    {BrowserIndexChrome, 1, kChromeSteps},   {BrowserIndexEdge, 1, kEdgeSteps},
    {BrowserIndexBrave, 1, kBraveSteps},     {BrowserIndexVivaldi, 1, kVivaldiSteps},
};

void RunSteps(HistoryCleaner& cleaner, const ProgramSettings& settings, std::span<const WatchStep> steps) {
    for (const WatchStep& step : steps)
        if (step.option.Read(settings)) CallCleaner(cleaner, step.clean);
}

// A watch that finds nothing to do leaves no report: its ticks would soon push out every other.
bool AnySelected(const ProgramSettings& settings, std::span<const WatchStep> steps) {
    for (const WatchStep& step : steps)
        if (step.option.Read(settings)) return true;
    return false;
}

} // namespace

void CWindowMain::BrowserWatch() {
    // While another clearing runs the tick is skipped whole, states included: a browser closed
    // meanwhile is still seen as closed at the next tick, and cleared then.
    ClearingLease lease(*settings_);
    if (!lease) return;
    bool before[kBrowserCount];
    for (int i = 0; i < kBrowserCount; ++i) before[i] = BrowserRunningFlag(i);
    RecordBrowsersRunning();
    std::vector<std::span<const WatchStep>> closedFamilies;
    for (const WatchedFamily& family : kFamilies) {
        bool closed = false;
        for (int i = family.first; i < family.first + family.count; ++i)
            closed = closed || (before[i] && !BrowserRunningFlag(i));
        if (closed && AnySelected(*settings_, family.steps)) closedFamilies.push_back(family.steps);
    }
    if (closedFamilies.empty()) return;
    RecordedClearing(*cleaner_, "watch", false, settings_->ReportsFolder(), [&] {
        for (std::span<const WatchStep> steps : closedFamilies) RunSteps(*cleaner_, *settings_, steps);
    });
}

void CWindowMain::SkypeWatch() {
    ClearingLease lease(*settings_);
    if (!lease) return;
    const bool before = SkypeRunningFlag();
    UpdateSkypeRunning();
    if (!before || SkypeRunningFlag() || !AnySelected(*settings_, kSkypeSteps)) return;
    // Skype writes its database for a moment after its window has gone.
    Sleep(1800);
    RecordedClearing(*cleaner_, "watch", false, settings_->ReportsFolder(),
                     [&] { RunSteps(*cleaner_, *settings_, kSkypeSteps); });
}

// The browser pages' own boxes decide, not the settings: what is ticked on a page is what the
// user is looking at.
void CWindowMain::PromptCloseSelectedBrowsers() {
    ::PromptCloseSelectedBrowsers(hwnd_, *settings_, [this](uint32_t id) {
        auto* page = dynamic_cast<COptionPage*>(PageFor(id));
        return page && page->hwnd() && page->AnyBoxChecked();
    });
}

bool CWindowMain::PromptClose(RunningProgram program) {
    switch (program) {
    case RunningProgram::Skype: return !::PromptCloseSkype(hwnd_);
    case RunningProgram::GoogleDesktop: return !::PromptCloseGoogleDesktop(hwnd_);
    }
    return true;
}
