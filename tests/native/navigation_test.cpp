// Window titles that the browser hot keys act on, and the navigation tree's tables.
#include <gtest/gtest.h>

#include <set>

#include "control/browser_titles.h"
#include "ui/navigation_tree.h"
#include "ui/page_ids.h"

TEST(BrowserTitles, EndingMustBeTheFirstOccurrence) {
    EXPECT_EQ(BrowserEndingsMatched("Start Page - Mozilla Firefox"), 1);
    EXPECT_EQ(BrowserEndingsMatched("Mozilla"), 1);
    EXPECT_EQ(BrowserEndingsMatched("Mozilla Firefox"), 1); // not also "Mozilla": it occurs earlier
    EXPECT_EQ(BrowserEndingsMatched("Opera news - Opera"), 0);
    EXPECT_EQ(BrowserEndingsMatched("Google - Internet Explorer"), 1);
    EXPECT_EQ(BrowserEndingsMatched("Welcome - Netscape"), 1);
    EXPECT_EQ(BrowserEndingsMatched("New Tab - Google Chrome"), 0);
    EXPECT_EQ(BrowserEndingsMatched("Safari"), 0);
    EXPECT_EQ(BrowserEndingsMatched(""), 0);
    EXPECT_EQ(BrowserEndingsMatched("Opera Mini"), 0);
    EXPECT_FALSE(TitleEndsWith("Fox", "Mozilla Firefox"));
}

TEST(NavigationTree, ParentsPrecedeChildrenAndKeysAreAsDocumented) {
    for (TreeMode mode : {TreeOptions, TreeHelp}) {
        const auto entries = TreeEntries(mode);
        for (size_t i = 0; i < entries.size(); ++i) EXPECT_LT(entries[i].parent, static_cast<int>(i));
    }
    const auto options = TreeEntries(TreeOptions);
    EXPECT_STREQ(options[kWhatToClearEntry].text, "What to Clear");
    EXPECT_STREQ(options[kBrowserHistoryEntry].text, "Browser History");
    EXPECT_EQ(options[kBrowserHistoryEntry].key, static_cast<uint32_t>(PAGE_WHAT_TO_CLEAR_2));
    EXPECT_EQ(options[kBrowserHistoryEntry].itemData, static_cast<uint32_t>(PAGE_BROWSER_HISTORY));
    EXPECT_STREQ(options[kSettingsEntry].text, "Settings");
    // No entry leads to the Mozilla or Netscape page.
    std::set<uint32_t> pages;
    for (const TreeEntry& e : options) pages.insert(e.itemData);
    EXPECT_FALSE(pages.count(PAGE_MOZILLA));
    EXPECT_FALSE(pages.count(PAGE_NETSCAPE));
}
