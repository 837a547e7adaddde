#include "ui/pages/browser_safari_page.h"

#include "resources/resource_ids.h"

namespace {

constexpr SettingBinding kBindings[] = {
    BindMaskBit(IDC_SAFARI_HISTORY, &ProgramSettings::historyMask, BrowserSafari),
    BindMaskBit(IDC_SAFARI_CACHE, &ProgramSettings::cacheMask, BrowserSafari),
    BindMaskBit(IDC_SAFARI_COOKIES, &ProgramSettings::cookiesMask, BrowserSafari),
    BindMaskBit(IDC_SAFARI_PASSWORDS, &ProgramSettings::passwordsMask, BrowserSafari),
    BindMaskBit(IDC_SAFARI_DOWNLOADS, &ProgramSettings::downloadsMask, BrowserSafari),
};

constexpr BrowserProgram kPrograms[] = {
    {"safari.exe", "Safari"},
};

} // namespace

CWindowBrowserSafari::CWindowBrowserSafari(ProgramSettings* settings, HistoryCleaner* cleaner)
    : CWindowBrowserPage({IDD_BROWSER_SAFARI, 480, 300, kBindings, kPrograms, BrowserSafari}, settings, cleaner) {}
