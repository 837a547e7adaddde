// What to Clear, Windows History, Application History, Shredder and Settings in the real main
// window, with quick select over every page, driven as a user drives them.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>
#include <sqlite3.h>

#include "app/messages.h"
#include "app/settings_format.h"
#include "engine/clearing_run.h"
#include "resources/resource_ids.h"
#include "tests/wine/engine_support.h"
#include "tests/wine/main_window_fixture.h"
#include "tests/wine/recording_cleaner.h"
#include "tests/wine/standin.h"
#include "ui/pages/cookies_to_keep_page.h"
#include "ui/pages/settings_page.h"
#include "ui/page_ids.h"

namespace {

const char kPolicyKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kPageFileKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";

DWORD ReadDword(HKEY root, const char* key, const char* name, DWORD missing = 0xFFFFFFFF) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueA(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) return missing;
    return value;
}

std::string ReadString(HKEY root, const char* key, const char* name) {
    char value[512] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return "<none>";
    return value;
}

bool SameOption(const SettingRef& a, const SettingRef& b) {
    return a.kind == b.kind && a.byteFlag == b.byteFlag && a.dwordFlag == b.dwordFlag && a.mask == b.mask &&
           a.bit == b.bit && std::string(a.section ? a.section : "") == (b.section ? b.section : "") &&
           std::string(a.key ? a.key : "") == (b.key ? b.key : "");
}

struct OptionPages : MainWindowTest {
    void AddTestPages() override {} // the program's own pages
    std::unique_ptr<HistoryCleaner> MakeCleaner() override { return std::make_unique<RecordingCleaner>(&s); }
    RecordingCleaner& recorder() { return static_cast<RecordingCleaner&>(*cleaner); }
    COptionPage& Page(uint32_t id) { return dynamic_cast<COptionPage&>(*main->PageFor(id)); }
    COptionPage& Show(uint32_t id) {
        main->leftPanel().SelectPage(id);
        return Page(id);
    }
    static void Click(CPage& page, int id) {
        SendMessageA(page.Item(id), BM_CLICK, 0, 0);
        PumpMessages(20);
    }
    static void Type(CPage& page, int id, const char* text) {
        SetFocus(page.Item(id));
        SetWindowTextA(page.Item(id), text);
        SetFocus(page.Item(IDC_SET_START_WITH_WINDOWS)); // leaving the box
        PumpMessages(20);
    }
    static bool Enabled(CPage& page, int id) { return IsWindowEnabled(page.Item(id)) != FALSE; }
};

} // namespace

TEST_F(OptionPages, EveryCleaningOptionHasABoxOnSomePage) {
    std::vector<SettingRef> bound;
    for (uint32_t id : {PAGE_IE, PAGE_FIREFOX, PAGE_SAFARI, PAGE_OPERA, PAGE_MOZILLA, PAGE_NETSCAPE, PAGE_CHROME,
                        PAGE_EDGE, PAGE_BRAVE, PAGE_VIVALDI, PAGE_WHAT_TO_CLEAR, PAGE_WINDOWS_HISTORY,
                        PAGE_APPLICATION_HISTORY})
        for (const SettingBinding& b : Page(id).bindings()) {
            bound.push_back(b.setting);
            EXPECT_NE(Page(id).Item(b.controlId), nullptr) << id << " " << b.controlId; // in the template
        }
    auto options = RunOptions();
    for (const SettingRef& option : OptionsWithoutAStep()) options.push_back(option);
    for (const SettingRef& option : options) {
        bool found = false;
        for (const SettingRef& b : bound) found = found || SameOption(option, b);
        EXPECT_TRUE(found) << "an option without a box: kind " << option.kind << " bit " << option.bit;
    }
}

TEST_F(OptionPages, QuickSelectSetsMostOptionsOnEveryPageAndTheSystemWhereItMay) {
    ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, kPolicyKey)); // the policy exists on this machine
    BoxRecorder boxes;
    Command(CmdSelectMostOptions);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, "Zephyrlanthorpe");
    EXPECT_EQ(boxes.boxes[0].text,
              "Most options have been selected.\nNote: The 'Shredder' option and 'Clear Speed Dial' option for "
              "Opera are not selected by default.\nYou can select them manually if necessary.\n");
    // Windows and application history, What to Clear, Settings.
    EXPECT_EQ(s.clearPageFileAtShutdown, 1);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kPageFileKey, "ClearPageFileAtShutdown"), 1u);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kPolicyKey, "NoRecentDocsHistory"), 1u);
    EXPECT_EQ(s.clearOpenSaveHistory + s.clearClipboard + s.emptyRecycleBin + s.clearUserAssist, 4);
    EXPECT_EQ(s.clearOnBrowserClose, 1);
    EXPECT_EQ(s.clearSkypeOnQuit, 1);
    EXPECT_EQ(s.purgeSkypeDatabase, 1);
    EXPECT_EQ(s.clearAcrobatHistory, 1);
    EXPECT_EQ(s.clearOnExit, 1);
    // ...and what it leaves alone.
    EXPECT_EQ(s.clearAcrobatCollections, 0);
    EXPECT_EQ(s.shredFiles, 0);
    EXPECT_EQ(s.showShredProgress, 0);
    EXPECT_EQ(s.clearOnStart, 0);
    EXPECT_EQ(s.invisibleMode, 0);
    EXPECT_EQ(s.historyMask & IEIndexDatAtStartup, 0u);
    EXPECT_TRUE(main->progressWindow().hwnd() == nullptr);
    DeleteKeyTree(HKEY_CURRENT_USER, kPolicyKey);
    // Without the policy key nothing is written, and no key made.
    boxes.boxes.clear();
    Command(CmdSelectMostOptions);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kPolicyKey));
}

TEST_F(OptionPages, WhatToClearStoresItsChoicesOnTheClickAndAsksThePageGuardNothing) {
    COptionPage& page = Show(PAGE_WHAT_TO_CLEAR);
    Click(page, IDC_WHAT_CONFIRM);
    EXPECT_EQ(s.confirmAfterClear, 0);
    EXPECT_EQ(page.modified, 0);
    Click(page, IDC_WHAT_ON_BROWSER_CLOSE);
    EXPECT_EQ(s.clearOnBrowserClose, 1);
    BoxRecorder boxes;
    main->leftPanel().SelectPage(PAGE_SAFARI);
    EXPECT_TRUE(boxes.boxes.empty());
    // Nothing ticked on a cleaning page (the watch is no cleaning box): the clear entry says so.
    Show(PAGE_WHAT_TO_CLEAR);
    Click(page, IDC_WHAT_CLEAR_ALL);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Please select items you want to clear in 'What to clear' windows.");
    // A box ticked and not applied yet counts as chosen.
    COptionPage& windows = Show(PAGE_WINDOWS_HISTORY);
    Click(windows, IDC_WIN_RUN_HISTORY);
    boxes.boxes.clear();
    Command(CmdClearHistory);
    EXPECT_TRUE(boxes.boxes.empty() || boxes.boxes[0].text != "Please select items you want to clear in 'What to clear' windows.");
}

TEST_F(OptionPages, WindowsHistoryApplyWritesThePageFileAndClearAsksFirst) {
    COptionPage& page = Show(PAGE_WINDOWS_HISTORY);
    Click(page, IDC_WIN_PAGE_FILE);
    Click(page, IDC_WIN_STREAMS);
    Click(page, IDC_HISTORY_APPLY);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kPageFileKey, "ClearPageFileAtShutdown"), 1u);
    EXPECT_EQ(s.clearStreams, 1);
    {
        BoxRecorder boxes(false);
        Click(page, IDC_WIN_CLEAR_NOW);
        EXPECT_EQ(boxes.boxes.size(), 1u); // the question only
    }
    EXPECT_TRUE(recorder().calls.empty());
    {
        BoxRecorder boxes(true);
        Click(page, IDC_WIN_CLEAR_NOW);
        ASSERT_EQ(boxes.boxes.size(), 2u);
        EXPECT_EQ(boxes.boxes[1].text.rfind("Done\n", 0), 0u) << boxes.boxes[1].text;
    }
    EXPECT_EQ(recorder().calls, Names{"ClearStreams"});
    Click(page, IDC_WIN_PAGE_FILE);
    Click(page, IDC_HISTORY_APPLY);
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kPageFileKey, "ClearPageFileAtShutdown"), 0u);
}

TEST_F(OptionPages, ApplicationHistoryClearAsksNothingAndApplyRearmsTheSkypeWatch) {
    COptionPage& page = Show(PAGE_APPLICATION_HISTORY);
    Click(page, IDC_APP_SKYPE_PURGE);
    Click(page, IDC_APP_SKYPE_ON_QUIT);
    Click(page, IDC_APP_ACROBAT_COLLECTIONS);
    Click(page, IDC_HISTORY_APPLY);
    EXPECT_EQ(s.clearSkypeOnQuit, 1);
    BoxRecorder boxes(true);
    Click(page, IDC_APP_CLEAR_NOW);
    EXPECT_EQ(recorder().calls, (Names{"PromptCloseSkype", "PurgeSkypeDatabase", "ClearAcrobatCollections"}));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.rfind("Done\n", 0), 0u) << boxes.boxes[0].text;
}

TEST_F(OptionPages, ApplicationHistoryOffersToCloseARunningBrowserBeforeTheToolbars) {
    StandIn firefox(folder, "firefox.exe", {"Start Page - Mozilla Firefox"});
    ASSERT_TRUE(firefox.started());
    COptionPage& page = Show(PAGE_APPLICATION_HISTORY);
    Click(page, IDC_APP_TOOLBAR);
    Click(page, IDC_HISTORY_APPLY);
    BoxRecorder boxes(false); // the browser stays
    Click(page, IDC_APP_CLEAR_NOW);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_TRUE(boxes.boxes[0].question);
    EXPECT_NE(boxes.boxes[0].text.find("Firefox"), std::string::npos) << boxes.boxes[0].text;
    EXPECT_EQ(boxes.boxes[1].text.rfind("Done\n", 0), 0u) << boxes.boxes[1].text;
    EXPECT_EQ(recorder().calls, Names{"ClearToolbarHistory"});
    EXPECT_TRUE(firefox.running());
}

TEST_F(OptionPages, ShredderProgressOffAndNoUndoesTheWholePageAndApplySavesAtOnce) {
    COptionPage& page = Show(PAGE_SHREDDER);
    EXPECT_FALSE(Enabled(page, IDC_SHRED_PROGRESS));
    Click(page, IDC_SHRED_FILES); // brings the progress display along
    EXPECT_TRUE(page.IsChecked(IDC_SHRED_PROGRESS));
    EXPECT_TRUE(Enabled(page, IDC_SHRED_PROGRESS));
    {
        BoxRecorder boxes(false);
        Click(page, IDC_SHRED_PROGRESS);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text.rfind("Files shredding takes some time", 0), 0u);
    }
    EXPECT_FALSE(page.IsChecked(IDC_SHRED_FILES)); // the unapplied shredding change went too
    EXPECT_EQ(page.modified, 0);

    DeleteFileA((folder / "settings.dat").c_str());
    Click(page, IDC_SHRED_FILES);
    Click(page, IDC_SHRED_APPLY);
    EXPECT_EQ(s.shredFiles, 1);
    const auto saved = ReadFileBytes(folder / "settings.dat");
    ProgramSettings stored;
    ASSERT_EQ(ParseSettings(saved.data(), saved.size(), stored), ParseResult::Ok);
    EXPECT_EQ(stored.shredFiles, 1);
    EXPECT_EQ(stored.showShredProgress, 1);
}

TEST_F(OptionPages, SettingsPasswordsAreCheckedBeforeAnythingIsApplied) {
    COptionPage& page = Show(PAGE_SETTINGS);
    Click(page, IDC_SET_INVISIBLE);
    Click(page, IDC_SET_PASSWORD_ON);
    {
        BoxRecorder boxes;
        Click(page, IDC_SET_APPLY);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "Password is empty. Please try again.");
    }
    EXPECT_EQ(s.invisibleMode, 0); // nothing else applied
    EXPECT_EQ(s.passwordEnabled, 0);
    EXPECT_EQ(page.modified, 1);
    SetWindowTextA(page.Item(IDC_SET_PASSWORD), "one");
    SetWindowTextA(page.Item(IDC_SET_PASSWORD_AGAIN), "two");
    {
        BoxRecorder boxes;
        Click(page, IDC_SET_APPLY);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "The confirmation password is wrong. Please try again.");
    }
    EXPECT_EQ(s.invisibleMode, 0);
    SetWindowTextA(page.Item(IDC_SET_PASSWORD_AGAIN), "one");
    {
        BoxRecorder boxes;
        Click(page, IDC_SET_APPLY);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "You should restart the program to apply invisible mode");
    }
    EXPECT_EQ(s.invisibleMode, 1);
    EXPECT_EQ(s.passwordEnabled, 1);
    EXPECT_TRUE(s.CheckPassword("one"));
    EXPECT_EQ(page.ItemText(IDC_SET_PASSWORD), s.password.substr(0, 8));
    EXPECT_EQ(page.ItemText(IDC_SET_PASSWORD_AGAIN), s.password.substr(0, 8));
    // Applying again without touching the boxes keeps the digest.
    const std::string digest = s.password;
    Click(page, IDC_SET_START_WITH_WINDOWS);
    {
        BoxRecorder boxes;
        Click(page, IDC_SET_APPLY);
    }
    EXPECT_EQ(s.password, digest);
    // Protection off (and a new password) takes the one that protects now; without it nothing
    // changes.
    Click(page, IDC_SET_PASSWORD_ON);
    {
        BoxRecorder boxes;
        PasswordAnswer wrong("two");
        Click(page, IDC_SET_APPLY);
        EXPECT_TRUE(wrong.asked());
    }
    EXPECT_EQ(s.password, digest);
    EXPECT_EQ(s.passwordEnabled, 1);
    EXPECT_EQ(page.modified, 1);
    {
        BoxRecorder boxes;
        PasswordAnswer right("one");
        Click(page, IDC_SET_APPLY);
    }
    EXPECT_EQ(s.password, "");
    EXPECT_EQ(page.ItemText(IDC_SET_PASSWORD), "");
    EXPECT_FALSE(Enabled(page, IDC_SET_PASSWORD));
}

TEST_F(OptionPages, DisableRecentDocumentsIsAChangeToApplyLikeEveryOtherBox) {
    COptionPage& page = Show(PAGE_SETTINGS);
    Click(page, IDC_SET_NO_RECENT_DOCS);
    EXPECT_EQ(page.modified, 1);
    EXPECT_TRUE(Enabled(page, IDC_SET_APPLY));
    BoxRecorder boxes(true);
    main->leftPanel().SelectPage(PAGE_WHAT_TO_CLEAR);
    EXPECT_EQ(boxes.boxes.size(), 1u); // the leave-page question
}

TEST_F(OptionPages, SettingsSchedulerStartsRestartsAndStops) {
    COptionPage& page = Show(PAGE_SETTINGS);
    BoxRecorder boxes;
    Click(page, IDC_SET_CLEAR_EVERY); // the time boxes come alive with it
    Type(page, IDC_SET_HOURS, "30");
    EXPECT_EQ(page.ItemText(IDC_SET_HOURS), "23");
    Type(page, IDC_SET_MINUTES, "-5");
    EXPECT_EQ(page.ItemText(IDC_SET_MINUTES), "0");
    Type(page, IDC_SET_HOURS, "0");
    Click(page, IDC_SET_APPLY);
    EXPECT_EQ(s.clearEvery, 1);
    EXPECT_FALSE(main->schedulerRunning()); // 0 h 0 min: no timer
    Type(page, IDC_SET_MINUTES, "5");
    Click(page, IDC_SET_APPLY);
    EXPECT_TRUE(main->schedulerRunning());
    EXPECT_EQ(s.clearEveryMinutes, 5);
    Type(page, IDC_SET_MINUTES, "7"); // restarted with the new period
    Click(page, IDC_SET_APPLY);
    EXPECT_TRUE(main->schedulerRunning());
    EXPECT_EQ(s.clearEveryMinutes, 7);
    Click(page, IDC_SET_CLEAR_EVERY);
    Click(page, IDC_SET_APPLY);
    EXPECT_FALSE(main->schedulerRunning());
    EXPECT_EQ(s.clearEvery, 0);
}

TEST_F(OptionPages, SettingsClipboardNoticeStartWithWindowsHotKeysAndTheFile) {
    COptionPage& page = Show(PAGE_SETTINGS);
    Click(page, IDC_SET_SHIFT_INS);
    {
        BoxRecorder boxes;
        Click(page, IDC_SET_APPLY);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].caption, "Attention");
        EXPECT_EQ(boxes.boxes[0].text, "You need to restart the program to apply changes!");
    }
    EXPECT_EQ(s.clearClipboardOnShiftIns, 1);
    EXPECT_EQ(ReadFileBytes(folder / "settings.dat").size(), 179u); // written at once
    // A hot key typed into its control is stored and registered.
    SendMessageA(page.Item(HotKeyIdClearAll), HKM_SETHOTKEY, MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    SendMessageA(page.hwnd(), WM_COMMAND, MAKEWPARAM(HotKeyIdClearAll, EN_CHANGE),
                 reinterpret_cast<LPARAM>(page.Item(HotKeyIdClearAll)));
    EXPECT_EQ(page.modified, 1);
    {
        BoxRecorder boxes;
        Click(page, IDC_SET_APPLY);
        EXPECT_TRUE(boxes.boxes.empty());
    }
    EXPECT_EQ(s.hotKeyClearAll, 0x4B0006u);
    EXPECT_FALSE(RegisterHotKey(main->hwnd(), HotKeyIdClearAll, MOD_CONTROL | MOD_ALT, 'K')); // taken by us
    // The start-up value holds the program's own path, quoted; off removes it.
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, "Zephyrlanthorpe"), "\"C:\\zlt-test\\option_pages_tests.exe\"");
    Click(page, IDC_SET_START_WITH_WINDOWS);
    Click(page, IDC_SET_APPLY);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, "Zephyrlanthorpe"), "<none>");
}

// "Cookies to keep": the sites a browser has cookies of, read without a byte changed; a site moved
// across, typed, imported and removed; Apply writes the list into options.ini at once.
TEST_F(OptionPages, CookiesToKeepOffersTheSitesWithCookiesAndAppliesTheListToOptionsIni) {
    const std::string profile = ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\Google\\Chrome\\User Data\\Default";
    WriteTextFile(MakeFolder(profile) + "\\Preferences", "{}");
    const std::string cookies = MakeFolder(profile + "\\Network") + "\\Cookies";
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(cookies.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db,
                               "CREATE TABLE cookies(host_key TEXT NOT NULL, name TEXT NOT NULL);"
                               "INSERT INTO cookies VALUES ('.example.com', 'a'), ('a.example.com', 'b'),"
                               " ('tracker.test', 'c'), ('.tracker.test', 'd'), ('192.168.1.10', 'e');",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    const auto before = ReadFileBytes(cookies);
    s.options.SetAll("Cookies to keep", "Site", {"kept.example"});
    auto& page = dynamic_cast<CWindowCookiesToKeep&>(Show(PAGE_COOKIES_TO_KEEP));
    using Sites = std::vector<std::string>;
    EXPECT_EQ(page.FoundSites(), (Sites{"192.168.1.10", "a.example.com", "example.com", "tracker.test"}));
    EXPECT_EQ(page.KeptSites(), Sites{"kept.example"});
    EXPECT_EQ(ReadFileBytes(cookies), before);
    EXPECT_FALSE(Enabled(page, IDC_APPLY));

    // example.com across: a.example.com is kept with it and leaves the left list too.
    SendMessageA(page.Item(IDC_KEEP_FOUND), LB_SETSEL, TRUE, 2);
    Click(page, IDC_KEEP_MOVE_IN);
    EXPECT_EQ(page.FoundSites(), (Sites{"192.168.1.10", "tracker.test"}));
    EXPECT_EQ(page.KeptSites(), (Sites{"example.com", "kept.example"}));
    EXPECT_TRUE(Enabled(page, IDC_APPLY));
    // The device by hand; its cookies have no port, so they are kept whatever port set them.
    SetWindowTextA(page.Item(IDC_KEEP_EDIT), " 192.168.1.10:8080 ");
    Click(page, IDC_KEEP_ADD);
    EXPECT_EQ(page.FoundSites(), Sites{"tracker.test"});
    EXPECT_EQ(page.ItemText(IDC_KEEP_EDIT), "");
    {
        BoxRecorder boxes(false);
        SetWindowTextA(page.Item(IDC_KEEP_EDIT), "not a site");
        Click(page, IDC_KEEP_ADD);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_NE(boxes.boxes[0].text.find("\"not a site\" is no site"), std::string::npos);
    }
    EXPECT_EQ(page.KeptSites().size(), 3u);
    // Import... of a file with a comment, a repeat and a line that is no site.
    const std::string list = folder / "sites.txt";
    WriteTextFile(list, "# my sites\r\nnews.example\r\nEXAMPLE.com\r\nthis is no site\r\n");
    page.chooseImportFile = [&](HWND) { return list; };
    {
        BoxRecorder boxes(false);
        Click(page, IDC_KEEP_IMPORT);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, "1 site was added. 1 line was no site and was skipped (line 4).");
    }
    // kept.example goes.
    SendMessageA(page.Item(IDC_KEEP_LIST), LB_SETSEL, TRUE, 2);
    ASSERT_EQ(page.KeptSites()[2], "kept.example");
    Click(page, IDC_KEEP_REMOVE);
    EXPECT_EQ(page.KeptSites(), (Sites{"192.168.1.10:8080", "example.com", "news.example"}));

    DeleteFileA((folder / "options.ini").c_str());
    Click(page, IDC_APPLY);
    EXPECT_FALSE(Enabled(page, IDC_APPLY));
    const auto saved = ReadFileBytes(folder / "options.ini");
    const std::optional<OptionsIni> stored = OptionsIni::Parse(std::string(saved.begin(), saved.end()));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->GetAll("Cookies to keep", "Site"), (Sites{"example.com", "192.168.1.10:8080", "news.example"}));
    const std::optional<CookieKeepList> keep = HistoryCleaner(&s).CookiesToKeep();
    ASSERT_TRUE(keep);
    EXPECT_TRUE(keep->KeepsCookieHost(".a.example.com"));
    EXPECT_FALSE(keep->KeepsCookieHost("tracker.test"));
    RemoveTree(ShellFolderPath(CSIDL_LOCAL_APPDATA) + "\\Google");
}

// A list lost with a damaged options.ini is shown as far as it can be read, as a change to apply,
// and no cookie store is touched until it is applied.
TEST_F(OptionPages, CookiesToKeepShowsALostListAsAChangeAndApplyEndsTheLoss) {
    s.options.Set("Cookies to keep", "Damaged", "1");
    s.options.SetAll("Cookies to keep", "Site", {"example.com", "exa mple.com"});
    auto& page = dynamic_cast<CWindowCookiesToKeep&>(Show(PAGE_COOKIES_TO_KEEP));
    EXPECT_EQ(page.KeptSites(), std::vector<std::string>{"example.com"});
    EXPECT_NE(page.ItemText(IDC_KEEP_STATUS), "");
    EXPECT_TRUE(Enabled(page, IDC_APPLY));
    EXPECT_FALSE(HistoryCleaner(&s).CookiesToKeep());
    Click(page, IDC_APPLY);
    EXPECT_EQ(page.ItemText(IDC_KEEP_STATUS), "");
    const std::optional<CookieKeepList> keep = HistoryCleaner(&s).CookiesToKeep();
    ASSERT_TRUE(keep);
    EXPECT_EQ(keep->Stored(), std::vector<std::string>{"example.com"});
    EXPECT_FALSE(s.options.Get("Cookies to keep", "Damaged"));
}
