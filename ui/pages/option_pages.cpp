#include "ui/pages/option_pages.h"

#include "ui/page_ids.h"
#include "ui/pages/application_history_page.h"
#include "ui/pages/cookies_to_keep_page.h"
#include "ui/pages/settings_page.h"
#include "ui/pages/shredder_page.h"
#include "ui/pages/what_to_clear_page.h"
#include "ui/pages/windows_history_page.h"

std::vector<std::pair<uint32_t, std::unique_ptr<CPage>>> MakeOptionPages(ProgramSettings* settings,
                                                                         HistoryCleaner* cleaner,
                                                                         SettingsPageHost* host) {
    std::vector<std::pair<uint32_t, std::unique_ptr<CPage>>> pages;
    pages.emplace_back(PAGE_WHAT_TO_CLEAR, std::make_unique<CWindowSecurityHistory>(settings, cleaner));
    pages.emplace_back(PAGE_WINDOWS_HISTORY, std::make_unique<CWindowWindowsHistory>(settings, cleaner));
    pages.emplace_back(PAGE_APPLICATION_HISTORY, std::make_unique<CWindowApplicationHistory>(settings, cleaner));
    pages.emplace_back(PAGE_COOKIES_TO_KEEP, std::make_unique<CWindowCookiesToKeep>(settings, cleaner));
    pages.emplace_back(PAGE_SHREDDER, std::make_unique<CWindowShredder>(settings));
    pages.emplace_back(PAGE_SETTINGS, std::make_unique<CWindowProxySettings>(settings, host));
    return pages;
}
