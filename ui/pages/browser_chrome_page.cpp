#include "ui/pages/browser_chrome_page.h"

#include "resources/resource_ids.h"

namespace {

constexpr SettingBinding kBindings[] = {
    BindMaskBit(IDC_CHROME_HISTORY, &ProgramSettings::historyMask, BrowserChrome),
    BindMaskBit(IDC_CHROME_CACHE, &ProgramSettings::cacheMask, BrowserChrome),
    BindMaskBit(IDC_CHROME_COOKIES, &ProgramSettings::cookiesMask, BrowserChrome),
    BindMaskBit(IDC_CHROME_PASSWORDS, &ProgramSettings::passwordsMask, BrowserChrome),
    BindMaskBit(IDC_CHROME_DOWNLOADS, &ProgramSettings::downloadsMask, BrowserChrome, false),
};

constexpr BrowserProgram kPrograms[] = {
    {"chrome.exe", "Chrome"},
};

} // namespace

CWindowBrowserChrome::CWindowBrowserChrome(ProgramSettings* settings, HistoryCleaner* cleaner)
    : CWindowBrowserPage({IDD_BROWSER_CHROME, 480, 300, kBindings, kPrograms, BrowserChrome}, settings, cleaner) {}
