#include "ui/pages/browser_opera_page.h"

#include "app/option_keys.h"
#include "engine/history_cleaner.h"
#include "resources/resource_ids.h"

namespace {

constexpr SettingBinding kBindings[] = {
    BindMaskBit(IDC_OPERA_HISTORY, &ProgramSettings::historyMask, BrowserOpera),
    BindMaskBit(IDC_OPERA_CACHE, &ProgramSettings::cacheMask, BrowserOpera),
    BindMaskBit(IDC_OPERA_COOKIES, &ProgramSettings::cookiesMask, BrowserOpera),
    BindMaskBit(IDC_OPERA_PASSWORDS, &ProgramSettings::passwordsMask, BrowserOpera),
    BindMaskBit(IDC_OPERA_DOWNLOADS, &ProgramSettings::downloadsMask, BrowserOpera),
    BindFlag(IDC_OPERA_SPEED_DIAL, &ProgramSettings::clearOperaSpeedDial, false),
    // Today's Opera, built on Chromium: options of options.ini.
    BindIniFlag(IDC_OPERA_TODAY_HISTORY, OptionKeys::kOperaPage, OptionKeys::kHistory),
    BindIniFlag(IDC_OPERA_TODAY_CACHE, OptionKeys::kOperaPage, OptionKeys::kCache),
    BindIniFlag(IDC_OPERA_TODAY_COOKIES, OptionKeys::kOperaPage, OptionKeys::kCookies),
    BindIniFlag(IDC_OPERA_TODAY_PASSWORDS, OptionKeys::kOperaPage, OptionKeys::kPasswords, false),
    BindIniFlag(IDC_OPERA_TODAY_DOWNLOADS, OptionKeys::kOperaPage, OptionKeys::kDownloads),
    BindIniFlag(IDC_OPERA_TODAY_SESSIONS, OptionKeys::kOperaPage, OptionKeys::kSessions),
    BindIniFlag(IDC_OPERA_TODAY_FORM_DATA, OptionKeys::kOperaPage, OptionKeys::kFormData),
};

constexpr FoundProfilesText kFound[] = {
    {IDC_OPERA_TODAY_PROFILES, BrowserOperaToday, "Today's Opera is not on this computer."},
};

constexpr BrowserProgram kPrograms[] = {
    {"Opera.exe", "Opera"},
};

} // namespace

CWindowBrowserOpera::CWindowBrowserOpera(ProgramSettings* settings, HistoryCleaner* cleaner)
    : CWindowBrowserPage({IDD_BROWSER_OPERA, 480, 385, kBindings, kPrograms, BrowserOpera | BrowserOperaToday, false,
                          kFound},
                         settings, cleaner) {}

void CWindowBrowserOpera::ClearExtras() {
    if (settings().clearOperaSpeedDial) cleaner().ClearOperaSpeedDial();
}
