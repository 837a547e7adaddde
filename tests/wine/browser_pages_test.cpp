// The browser pages in the real main window, driven as a user drives them: clicks, typed text,
// focus changes, and the boxes answered. The cleaner records what CLEAR runs; one case runs the real
// cleaners on files seeded in the prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include "resources/resource_ids.h"
#include "tests/wine/main_window_fixture.h"
#include "tests/wine/recording_cleaner.h"
#include "ui/pages/browser_page.h"

namespace {

struct BrowserPages : MainWindowTest {
    void AddTestPages() override {} // the program's own pages
    std::unique_ptr<HistoryCleaner> MakeCleaner() override { return std::make_unique<RecordingCleaner>(&s); }
    RecordingCleaner& recorder() { return static_cast<RecordingCleaner&>(*cleaner); }
    CWindowBrowserPage& Page(uint32_t id) { return static_cast<CWindowBrowserPage&>(*main->PageFor(id)); }
    // Shows the page as the tree does.
    CWindowBrowserPage& Show(uint32_t id) {
        main->leftPanel().SelectPage(id);
        return Page(id);
    }
    static void Click(CPage& page, int id) {
        SendMessageA(page.Item(id), BM_CLICK, 0, 0);
        PumpMessages(20);
    }
    static bool Enabled(CPage& page, int id) { return IsWindowEnabled(page.Item(id)) != FALSE; }
};

} // namespace

TEST_F(BrowserPages, ApplyOnOnePageStoresNoneOfAnotherPagesUnappliedClicks) {
    CWindowBrowserPage& firefox = Show(PAGE_FIREFOX);
    Click(firefox, IDC_FIREFOX_HISTORY);
    Click(firefox, IDC_FIREFOX_CACHE);
    CWindowBrowserPage& chrome = Page(PAGE_CHROME);
    chrome.SetChecked(IDC_CHROME_COOKIES, true);
    chrome.Apply();
    EXPECT_EQ(s.cookiesMask, uint32_t{BrowserChrome});
    EXPECT_EQ(s.historyMask & BrowserFirefox, 0u);
    EXPECT_EQ(s.cacheMask & BrowserFirefox, 0u);
    EXPECT_EQ(firefox.modified, 1);
    EXPECT_TRUE(Enabled(firefox, IDC_APPLY));
}

TEST_F(BrowserPages, DeleteBookmarksGoesWithTheFirefoxHistoryOnly) {
    s.historyMask = BrowserFirefox;
    s.bookmarksMask = BrowserFirefox;
    CWindowBrowserPage& firefox = Show(PAGE_FIREFOX);
    firefox.Reset();
    EXPECT_TRUE(Enabled(firefox, IDC_FIREFOX_BOOKMARKS));
    EXPECT_TRUE(firefox.IsChecked(IDC_FIREFOX_BOOKMARKS));
    Click(firefox, IDC_FIREFOX_HISTORY); // history off: bookmarks off and disabled
    EXPECT_FALSE(Enabled(firefox, IDC_FIREFOX_BOOKMARKS));
    EXPECT_FALSE(firefox.IsChecked(IDC_FIREFOX_BOOKMARKS));
    Click(firefox, IDC_APPLY);
    EXPECT_EQ(s.historyMask, 0u);
    EXPECT_EQ(s.bookmarksMask, 0u);
    // A file that says bookmarks without history is read the same way.
    s.bookmarksMask = BrowserFirefox;
    firefox.Reset();
    EXPECT_FALSE(firefox.IsChecked(IDC_FIREFOX_BOOKMARKS));
    firefox.Apply();
    EXPECT_EQ(s.bookmarksMask, 0u);
    Click(firefox, IDC_FIREFOX_HISTORY);
    EXPECT_TRUE(Enabled(firefox, IDC_FIREFOX_BOOKMARKS));
}

TEST_F(BrowserPages, ClearAsksAboutUnappliedChangesOnlyOnInternetExplorerAndFirefox) {
    for (uint32_t id : {PAGE_SAFARI, PAGE_IE}) {
        CWindowBrowserPage& page = Show(id);
        page.MarkModified();
        BoxRecorder boxes(false); // "No" to the first question
        Click(page, IDC_CLEAR_NOW);
        ASSERT_EQ(boxes.boxes.size(), 1u) << id;
        EXPECT_EQ(boxes.boxes[0].caption, "Warning");
        EXPECT_EQ(boxes.boxes[0].text, id == PAGE_IE ? "You didn't apply any changes. Do you want to reset them?"
                                                     : "Are you sure you want to clear select items?");
        page.Reset();
    }
    EXPECT_TRUE(recorder().calls.empty());
}

TEST_F(BrowserPages, TheSizeBoxKeepsToOneToAHundred) {
    CWindowBrowserPage& ie = Show(PAGE_IE);
    const struct {
        const char* typed;
        const char* kept;
    } cases[] = {{"0", "1"}, {"-5", "1"}, {"250", "100"}, {"abc", "1"}, {"37", "37"}};
    for (const auto& c : cases) {
        SetFocus(ie.Item(IDC_IE_INDEX_SIZE));
        SetWindowTextA(ie.Item(IDC_IE_INDEX_SIZE), c.typed);
        SetFocus(ie.Item(IDC_IE_HISTORY)); // leaving the box
        PumpMessages(20);
        EXPECT_EQ(ie.ItemText(IDC_IE_INDEX_SIZE), c.kept) << c.typed;
    }
    EXPECT_EQ(ie.modified, 1); // typing marks the page
    EXPECT_EQ(s.maxIndexDatSizeMb, 10);
    Click(ie, IDC_APPLY);
    EXPECT_EQ(s.maxIndexDatSizeMb, 37);
}

TEST_F(BrowserPages, QuickSelectLeavesBookmarksSpeedDialChromeDownloadsAndStartUpDeletionOff) {
    {
        BoxRecorder boxes;
        main->SelectMostOptions();
    }
    const uint32_t everyBrowser =
        BrowserIE | BrowserMozilla | BrowserNetscape | BrowserOpera | BrowserFirefox | BrowserSafari | BrowserChrome;
    EXPECT_EQ(s.historyMask, everyBrowser | IEIndexDatContent);
    EXPECT_EQ(s.cacheMask, everyBrowser | IEIndexDatContent);
    EXPECT_EQ(s.cookiesMask, everyBrowser | IEIndexDatContent);
    EXPECT_EQ(s.passwordsMask, everyBrowser);
    EXPECT_EQ(s.downloadsMask, everyBrowser & ~BrowserChrome);
    EXPECT_EQ(s.purgeHistoryMask, uint32_t{BrowserFirefox});
    EXPECT_EQ(s.bookmarksMask, 0u);
    EXPECT_EQ(s.clearOperaSpeedDial, 0);
    EXPECT_EQ(s.deleteIECompatCacheIndex + s.deletePrivacIEIndex + s.clearMostPopularSites + s.clearLastSession, 4);
    EXPECT_TRUE(Enabled(Page(PAGE_FIREFOX), IDC_FIREFOX_BOOKMARKS));
    // Today's browsers built on Chromium: everything but the passwords.
    for (const char* page : {"Microsoft Edge", "Brave", "Vivaldi", "Opera"}) {
        for (const char* key : {"History", "Cache", "Cookies", "Downloads", "Sessions", "Form Data"})
            EXPECT_TRUE(s.options.GetBool(page, key, false)) << page << " " << key;
        EXPECT_FALSE(s.options.GetBool(page, "Passwords", false)) << page;
    }
    EXPECT_TRUE(s.options.GetBool("Google Chrome", "Sessions", false));
    EXPECT_TRUE(s.options.GetBool("Google Chrome", "Form Data", false));
}

TEST_F(BrowserPages, ClearRunsExactlyThatBrowsersSelectedCleaners) {
    {
        BoxRecorder boxes;
        main->SelectMostOptions();
    }
    s.clearOperaSpeedDial = 1;
    s.cacheMask &= ~BrowserSafari;
    const std::pair<uint32_t, Names> cases[] = {
        {PAGE_SAFARI, {"ClearSafariHistory", "ClearSafariCookies", "ClearSafariPasswords", "ClearSafariDownloads"}},
        {PAGE_OPERA,
         {"ClearOperaHistory", "ClearOperaCache", "ClearOperaCookies", "ClearOperaPasswords", "ClearOperaDownloads",
          "ClearOperaTodayHistory", "ClearOperaTodayCache", "ClearOperaTodayCookies", "ClearOperaTodayDownloads",
          "ClearOperaTodaySessions", "ClearOperaTodayFormData", "ClearOperaSpeedDial"}},
        {PAGE_EDGE,
         {"ClearEdgeHistory", "ClearEdgeCache", "ClearEdgeCookies", "ClearEdgeDownloads", "ClearEdgeSessions",
          "ClearEdgeFormData"}},
        {PAGE_VIVALDI, {"ClearVivaldiHistory", "ClearVivaldiCache", "ClearVivaldiCookies", "ClearVivaldiDownloads",
                        "ClearVivaldiSessions", "ClearVivaldiFormData"}},
        {PAGE_FIREFOX,
         {"ClearFirefoxHistory", "ClearFirefoxCache", "ClearFirefoxCookies", "ClearFirefoxPasswords",
          "ClearFirefoxDownloads", "ClearFirefoxSessions", "ClearFirefoxFormData", "PurgeFirefoxHistoryDatabase"}},
        {PAGE_IE,
         {"ClearIEHistory", "ClearHistoryIndexDat", "ClearIECache", "ClearCacheIndexDat", "ClearIECookies",
          "ClearCookiesIndexDat", "ClearIEPasswords", "ClearIEDownloads", "DeleteIEIndexDatFiles",
          "ClearIEMostPopularSites", "ClearIELastSession"}},
        {PAGE_CHROME,
         {"ClearChromeHistory", "ClearChromeCache", "ClearChromeCookies", "ClearChromePasswords",
          "ClearChromeSessions", "ClearChromeFormData"}},
    };
    for (const auto& [id, expected] : cases) {
        recorder().calls.clear();
        BoxRecorder boxes(true);
        Show(id).ClearNow();
        EXPECT_EQ(recorder().calls, expected) << id;
        ASSERT_EQ(boxes.boxes.size(), 2u) << id; // the question, then "Done"
        EXPECT_EQ(boxes.boxes[1].caption, "Confirmation");
        EXPECT_EQ(boxes.boxes[1].text.rfind("Done\n", 0), 0u) << boxes.boxes[1].text;
    }
    // Without confirmations there is no "Done"; "No" to the question clears nothing.
    s.confirmAfterClear = 0;
    recorder().calls.clear();
    {
        BoxRecorder boxes(true);
        Show(PAGE_SAFARI).ClearNow();
        EXPECT_EQ(boxes.boxes.size(), 1u);
    }
    recorder().calls.clear();
    {
        BoxRecorder boxes(false);
        Show(PAGE_SAFARI).ClearNow();
    }
    EXPECT_TRUE(recorder().calls.empty());
}

TEST_F(BrowserPages, ClearWaitsForNoOtherClearing) {
    s.historyMask = BrowserSafari;
    s.runActive = 1; // a threaded run holds the cleaner
    BoxRecorder boxes(true);
    Show(PAGE_SAFARI).ClearNow();
    EXPECT_TRUE(recorder().calls.empty());
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].text, "Please wait until the clearing that is running has finished.");
    s.runActive = 0;
}

TEST_F(BrowserPages, LeavingAPageWithUnappliedChangesBringsTheGuard) {
    CWindowBrowserPage& opera = Show(PAGE_OPERA);
    Click(opera, IDC_OPERA_CACHE);
    {
        BoxRecorder boxes(false);
        main->leftPanel().SelectPage(PAGE_CHROME);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "You didn't apply any changes. Do you want to reset them?");
    }
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_OPERA));
    {
        BoxRecorder boxes(true);
        main->leftPanel().SelectPage(PAGE_CHROME);
    }
    EXPECT_EQ(main->currentPageId(), static_cast<uint32_t>(PAGE_CHROME));
    EXPECT_FALSE(opera.IsChecked(IDC_OPERA_CACHE));
    EXPECT_EQ(opera.modified, 0);
    EXPECT_EQ(s.cacheMask, 0u);
}

namespace {

// The program's own pages over the real cleaners, on files seeded in this prefix's profile.
struct BrowserPagesOnFiles : MainWindowTest {
    void AddTestPages() override {}
    static std::string ShellPath(int csidl) {
        char path[MAX_PATH] = {};
        return SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE) ? path : "";
    }
    static std::string MakeFolderPath(const std::string& folder) {
        SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
        return folder;
    }
    static std::string Seed(const std::string& folder, const char* name) {
        SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
        const std::string path = folder + "\\" + name;
        WriteTextFile(path, std::string("trace of ") + name);
        return path;
    }
};

} // namespace

TEST_F(BrowserPagesOnFiles, ChromesClearRemovesChromesTracesAndLeavesAnotherBrowsersAlone) {
    const std::string chrome = ShellPath(CSIDL_LOCAL_APPDATA) + "\\Google\\Chrome\\User Data\\Default";
    const std::string opera = ShellPath(CSIDL_APPDATA) + "\\Opera\\Opera";
    const std::string history = Seed(chrome, "History");
    const std::string bookmarks = Seed(chrome, "Bookmarks"); // no option of the page names it
    Seed(chrome, "Preferences"); // what makes the folder a profile
    const std::string operaHistory = Seed(opera, "global_history.dat");
    s.historyMask = BrowserChrome | BrowserOpera; // both stored; only Chrome's page is cleared

    BoxRecorder boxes(true);
    main->leftPanel().SelectPage(PAGE_CHROME);
    static_cast<CWindowBrowserPage&>(*main->PageFor(PAGE_CHROME)).ClearNow();
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_EQ(boxes.boxes.back().text.rfind("Done\n", 0), 0u) << boxes.boxes.back().text;
    EXPECT_FALSE(PathExists(history));
    EXPECT_TRUE(PathExists(bookmarks));
    EXPECT_TRUE(PathExists(operaHistory));
    EXPECT_EQ(s.runActive, 0); // the lease went back
}

TEST_F(BrowserPagesOnFiles, ChromiumPagesSayWhatTheyFoundAndClearOnlyTheirOwnBrowser) {
    const std::string local = ShellPath(CSIDL_LOCAL_APPDATA);
    auto text = [](CPage& page, int id) {
        char buffer[512] = {};
        GetDlgItemTextA(page.hwnd(), id, buffer, sizeof buffer);
        return std::string(buffer);
    };
    auto& edge = static_cast<CWindowBrowserPage&>(*main->PageFor(PAGE_EDGE));
    main->leftPanel().SelectPage(PAGE_EDGE);
    EXPECT_EQ(text(edge, IDC_CHROMIUM_PROFILES), "Microsoft Edge is not on this computer.");
    EXPECT_EQ(text(edge, IDC_CHROMIUM_GROUP), "Microsoft Edge (every profile, also Beta, Dev and Canary)");
    auto& opera = static_cast<CWindowBrowserPage&>(*main->PageFor(PAGE_OPERA));
    main->leftPanel().SelectPage(PAGE_OPERA);
    EXPECT_EQ(text(opera, IDC_OPERA_TODAY_PROFILES), "Today's Opera is not on this computer.");

    // Installed meanwhile: seen when the page is shown again.
    const std::string edgeData = local + "\\Microsoft\\Edge\\User Data";
    WriteTextFile(MakeFolderPath(edgeData) + "\\Local State", R"({"profile":{"info_cache":{"Default":{"name":"Me at work"}}}})");
    Seed(edgeData + "\\Default", "Preferences");
    const std::string edgeHistory = Seed(edgeData + "\\Default", "History");
    Seed(local + "\\Microsoft\\Edge Beta\\User Data\\Profile 2", "Preferences");
    const std::string chromeHistory = Seed(local + "\\Google\\Chrome\\User Data\\Default", "History");
    Seed(local + "\\Google\\Chrome\\User Data\\Default", "Preferences");
    main->leftPanel().SelectPage(PAGE_EDGE);
    EXPECT_EQ(text(edge, IDC_CHROMIUM_PROFILES), "Found: Microsoft Edge (Me at work); Microsoft Edge Beta (Profile 2)");

    s.historyMask = BrowserChrome; // Chrome's stored choice; only Edge's page is cleared
    s.options.SetBool("Microsoft Edge", "History", true);
    BoxRecorder boxes(true);
    edge.ClearNow();
    EXPECT_FALSE(PathExists(edgeHistory));
    EXPECT_TRUE(PathExists(chromeHistory));
}
