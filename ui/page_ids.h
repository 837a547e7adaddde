#pragma once
// Page identifiers: the keys of the main window's page table and the item data of the navigation tree.
#include <cstdint>

enum PageId : uint32_t {
    PAGE_BROWSER_HISTORY = 345,
    PAGE_SETTINGS = 349,
    PAGE_SHREDDER = 350,
    PAGE_IE = 360,
    PAGE_FIREFOX = 361,
    PAGE_SAFARI = 362,
    PAGE_OPERA = 363,
    PAGE_MOZILLA = 364,
    PAGE_NETSCAPE = 365,
    PAGE_CHROME = 366,
    PAGE_WHAT_TO_CLEAR = 372,
    PAGE_WHAT_TO_CLEAR_2 = 373,
    PAGE_WINDOWS_HISTORY = 374,
    PAGE_APPLICATION_HISTORY = 375,
    PAGE_HELP = 385,
    PAGE_ABOUT = 388,
    PAGE_CHECK_UPDATES = 389,
    // Browsers built on Chromium that have a page of their own
    PAGE_EDGE = 390,
    PAGE_BRAVE = 391,
    PAGE_VIVALDI = 392,
    // Pages of options settings.dat has no room for
    PAGE_COOKIES_TO_KEEP = 393,
};
