#include "ui/pages/browser_mozilla_page.h"

#include "resources/resource_ids.h"

namespace {

constexpr SettingBinding kBindings[] = {
    BindMaskBit(IDC_MOZILLA_HISTORY, &ProgramSettings::historyMask, BrowserMozilla),
    BindMaskBit(IDC_MOZILLA_CACHE, &ProgramSettings::cacheMask, BrowserMozilla),
    BindMaskBit(IDC_MOZILLA_COOKIES, &ProgramSettings::cookiesMask, BrowserMozilla),
    BindMaskBit(IDC_MOZILLA_PASSWORDS, &ProgramSettings::passwordsMask, BrowserMozilla),
    BindMaskBit(IDC_MOZILLA_DOWNLOADS, &ProgramSettings::downloadsMask, BrowserMozilla),
};

constexpr BrowserProgram kPrograms[] = {
    {"mozilla.exe", "Mozilla"},
};

} // namespace

CWindowBrowserMozilla::CWindowBrowserMozilla(ProgramSettings* settings, HistoryCleaner* cleaner)
    : CWindowBrowserPage({IDD_BROWSER_MOZILLA, 480, 300, kBindings, kPrograms, BrowserMozilla}, settings, cleaner) {}
