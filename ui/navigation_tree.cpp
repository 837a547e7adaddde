#include "ui/navigation_tree.h"

#include "ui/page_ids.h"

namespace {

const TreeEntry kOptions[] = {
    {-1, "What to Clear", PAGE_WHAT_TO_CLEAR, PAGE_WHAT_TO_CLEAR},
    {0, "Browser History", PAGE_BROWSER_HISTORY, PAGE_WHAT_TO_CLEAR_2},
    {1, "Internet Explorer", PAGE_IE, PAGE_IE},
    {1, "MSN Explorer", PAGE_IE, PAGE_IE},
    {1, "AOL Explorer", PAGE_IE, PAGE_IE},
    {1, "Maxthon (MyIE2)", PAGE_IE, PAGE_IE},
    {1, "Mozilla Firefox", PAGE_FIREFOX, PAGE_FIREFOX},
    {1, "Safari", PAGE_SAFARI, PAGE_SAFARI},
    {1, "Opera", PAGE_OPERA, PAGE_OPERA},
    {1, "Google Chrome", PAGE_CHROME, PAGE_CHROME},
    {1, "Microsoft Edge", PAGE_EDGE, PAGE_EDGE},
    {1, "Brave", PAGE_BRAVE, PAGE_BRAVE},
    {1, "Vivaldi", PAGE_VIVALDI, PAGE_VIVALDI},
    {0, "Windows History", PAGE_WINDOWS_HISTORY, PAGE_WINDOWS_HISTORY},
    {0, "Application History", PAGE_APPLICATION_HISTORY, PAGE_APPLICATION_HISTORY},
    {0, "Cookies to keep", PAGE_COOKIES_TO_KEEP, PAGE_COOKIES_TO_KEEP},
    {-1, "Settings", PAGE_SETTINGS, PAGE_SETTINGS},
    {-1, "Shredder option", PAGE_SHREDDER, PAGE_SHREDDER},
};

const TreeEntry kHelp[] = {
    {-1, "About", PAGE_ABOUT, PAGE_ABOUT},
    {-1, "Help", PAGE_HELP, PAGE_HELP},
    {-1, "Check for updates", PAGE_CHECK_UPDATES, PAGE_CHECK_UPDATES},
};

} // namespace

std::span<const TreeEntry> TreeEntries(TreeMode mode) {
    if (mode == TreeHelp) return kHelp;
    return kOptions;
}
