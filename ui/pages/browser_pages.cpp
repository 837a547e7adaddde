#include "ui/pages/browser_pages.h"

#include "ui/page_ids.h"
#include "ui/pages/browser_chrome_page.h"
#include "ui/pages/browser_chromium_page.h"
#include "ui/pages/browser_firefox_page.h"
#include "ui/pages/browser_ie_page.h"
#include "ui/pages/browser_mozilla_page.h"
#include "ui/pages/browser_netscape_page.h"
#include "ui/pages/browser_opera_page.h"
#include "ui/pages/browser_safari_page.h"

std::vector<std::pair<uint32_t, std::unique_ptr<CPage>>> MakeBrowserPages(ProgramSettings* settings,
                                                                          HistoryCleaner* cleaner) {
    std::vector<std::pair<uint32_t, std::unique_ptr<CPage>>> pages;
    pages.emplace_back(PAGE_IE, std::make_unique<CWindowBrowserIE>(settings, cleaner));
    pages.emplace_back(PAGE_FIREFOX, std::make_unique<CWindowBrowserFirefox>(settings, cleaner));
    pages.emplace_back(PAGE_SAFARI, std::make_unique<CWindowBrowserSafari>(settings, cleaner));
    pages.emplace_back(PAGE_OPERA, std::make_unique<CWindowBrowserOpera>(settings, cleaner));
    pages.emplace_back(PAGE_MOZILLA, std::make_unique<CWindowBrowserMozilla>(settings, cleaner));
    pages.emplace_back(PAGE_NETSCAPE, std::make_unique<CWindowBrowserNetscape>(settings, cleaner));
    pages.emplace_back(PAGE_CHROME, std::make_unique<CWindowBrowserChrome>(settings, cleaner));
    pages.emplace_back(PAGE_EDGE, std::make_unique<CWindowBrowserChromium>(ChromiumPage::Edge, settings, cleaner));
    pages.emplace_back(PAGE_BRAVE, std::make_unique<CWindowBrowserChromium>(ChromiumPage::Brave, settings, cleaner));
    pages.emplace_back(PAGE_VIVALDI, std::make_unique<CWindowBrowserChromium>(ChromiumPage::Vivaldi, settings, cleaner));
    return pages;
}
