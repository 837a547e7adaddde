#include "ui/pages/browser_opera_page.h"

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
};

constexpr BrowserProgram kPrograms[] = {
    {"Opera.exe", "Opera"},
};

} // namespace

CWindowBrowserOpera::CWindowBrowserOpera(ProgramSettings* settings, HistoryCleaner* cleaner)
    : CWindowBrowserPage({IDD_BROWSER_OPERA, 480, 300, kBindings, kPrograms, BrowserOpera}, settings, cleaner) {}

void CWindowBrowserOpera::ClearExtras() {
    if (settings().clearOperaSpeedDial) cleaner().ClearOperaSpeedDial();
}
