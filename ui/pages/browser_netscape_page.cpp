#include "ui/pages/browser_netscape_page.h"

#include "resources/resource_ids.h"

namespace {

constexpr SettingBinding kBindings[] = {
    BindMaskBit(IDC_NETSCAPE_HISTORY, &ProgramSettings::historyMask, BrowserNetscape),
    BindMaskBit(IDC_NETSCAPE_CACHE, &ProgramSettings::cacheMask, BrowserNetscape),
    BindMaskBit(IDC_NETSCAPE_COOKIES, &ProgramSettings::cookiesMask, BrowserNetscape),
    BindMaskBit(IDC_NETSCAPE_PASSWORDS, &ProgramSettings::passwordsMask, BrowserNetscape),
    BindMaskBit(IDC_NETSCAPE_DOWNLOADS, &ProgramSettings::downloadsMask, BrowserNetscape),
};

constexpr BrowserProgram kPrograms[] = {
    {"netscape.exe", "Netscape"},
};

} // namespace

CWindowBrowserNetscape::CWindowBrowserNetscape(ProgramSettings* settings, HistoryCleaner* cleaner)
    : CWindowBrowserPage({IDD_BROWSER_NETSCAPE, 480, 300, kBindings, kPrograms, BrowserNetscape}, settings, cleaner) {}
