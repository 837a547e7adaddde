#include "ui/pages/browser_chrome_page.h"

#include "app/option_keys.h"
#include "resources/resource_ids.h"

namespace {

constexpr SettingBinding kBindings[] = {
    BindMaskBit(IDC_CHROME_HISTORY, &ProgramSettings::historyMask, BrowserChrome),
    BindMaskBit(IDC_CHROME_CACHE, &ProgramSettings::cacheMask, BrowserChrome),
    BindMaskBit(IDC_CHROME_COOKIES, &ProgramSettings::cookiesMask, BrowserChrome),
    BindMaskBit(IDC_CHROME_PASSWORDS, &ProgramSettings::passwordsMask, BrowserChrome),
    BindMaskBit(IDC_CHROME_DOWNLOADS, &ProgramSettings::downloadsMask, BrowserChrome, false),
    BindIniFlag(IDC_CHROME_SESSIONS, OptionKeys::kChromePage, OptionKeys::kSessions),
    BindIniFlag(IDC_CHROME_FORM_DATA, OptionKeys::kChromePage, OptionKeys::kFormData),
};

constexpr BrowserProgram kPrograms[] = {
    {"chrome.exe", "Chrome"},
};

constexpr FoundProfilesText kFound[] = {
    {IDC_CHROME_PROFILES, BrowserChrome, "Google Chrome is not on this computer."},
};

} // namespace

CWindowBrowserChrome::CWindowBrowserChrome(ProgramSettings* settings, HistoryCleaner* cleaner)
    : CWindowBrowserPage({IDD_BROWSER_CHROME, 480, 300, kBindings, kPrograms, BrowserChrome, false, kFound}, settings,
                         cleaner) {}
