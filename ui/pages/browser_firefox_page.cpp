#include "ui/pages/browser_firefox_page.h"

#include "app/option_keys.h"
#include "engine/history_cleaner.h"
#include "resources/resource_ids.h"

namespace {

constexpr SettingBinding kBindings[] = {
    BindMaskBit(IDC_FIREFOX_HISTORY, &ProgramSettings::historyMask, BrowserFirefox),
    BindMaskBit(IDC_FIREFOX_PURGE, &ProgramSettings::purgeHistoryMask, BrowserFirefox),
    BindMaskBit(IDC_FIREFOX_CACHE, &ProgramSettings::cacheMask, BrowserFirefox),
    BindMaskBit(IDC_FIREFOX_COOKIES, &ProgramSettings::cookiesMask, BrowserFirefox),
    BindMaskBit(IDC_FIREFOX_PASSWORDS, &ProgramSettings::passwordsMask, BrowserFirefox),
    BindMaskBit(IDC_FIREFOX_DOWNLOADS, &ProgramSettings::downloadsMask, BrowserFirefox),
    BindMaskBit(IDC_FIREFOX_BOOKMARKS, &ProgramSettings::bookmarksMask, BrowserFirefox, false),
    BindIniFlag(IDC_FIREFOX_SESSIONS, OptionKeys::kFirefoxPage, OptionKeys::kSessions),
    BindIniFlag(IDC_FIREFOX_FORM_DATA, OptionKeys::kFirefoxPage, OptionKeys::kFormData),
};

constexpr BrowserProgram kPrograms[] = {{"firefox.exe", "Firefox"}};

} // namespace

CWindowBrowserFirefox::CWindowBrowserFirefox(ProgramSettings* settings, HistoryCleaner* cleaner)
    : CWindowBrowserPage({IDD_BROWSER_FIREFOX, 480, 330, kBindings, kPrograms, BrowserFirefox, true}, settings,
                         cleaner) {}

void CWindowBrowserFirefox::FollowHistoryBox() {
    const bool history = IsChecked(IDC_FIREFOX_HISTORY);
    EnableItem(IDC_FIREFOX_BOOKMARKS, history);
    if (!history) SetChecked(IDC_FIREFOX_BOOKMARKS, false);
}

void CWindowBrowserFirefox::LoadOwn() { FollowHistoryBox(); }

void CWindowBrowserFirefox::OnBoxClicked(int id) {
    CWindowBrowserPage::OnBoxClicked(id);
    if (id == IDC_FIREFOX_HISTORY) FollowHistoryBox();
}

void CWindowBrowserFirefox::ApplyOwn() {
    // Without the history there is nothing for the bookmarks choice to change: it is not stored.
    FollowHistoryBox();
    if (!IsChecked(IDC_FIREFOX_HISTORY)) settings().bookmarksMask &= ~BrowserFirefox;
    CWindowBrowserPage::ApplyOwn();
}

void CWindowBrowserFirefox::ClearExtras() {
    if (settings().purgeHistoryMask & BrowserFirefox) cleaner().PurgeFirefoxHistoryDatabase();
}
