#include "ui/pages/help_pages.h"

#include "ui/page_ids.h"
#include "ui/pages/about_page.h"
#include "ui/pages/check_updates_page.h"
#include "ui/pages/help_page.h"

std::vector<std::pair<uint32_t, std::unique_ptr<CPage>>> MakeHelpPages() {
    std::vector<std::pair<uint32_t, std::unique_ptr<CPage>>> pages;
    pages.emplace_back(PAGE_ABOUT, std::make_unique<CWindowHelpAbout>());
    pages.emplace_back(PAGE_HELP, std::make_unique<CWindowHelp>());
    pages.emplace_back(PAGE_CHECK_UPDATES, std::make_unique<CWindowHelpCheckUpdates>());
    return pages;
}
