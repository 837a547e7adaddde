// The installed program as a user meets it: traces of browsers, Windows and applications laid out in
// this test's sandboxed prefix, the real zlt.exe started from its install folder, "Quick select" and
// "Clear all selected items" posted to its main window and its boxes answered by their buttons. Then
// every trace of a selected option must be gone, every trace of an option quick select leaves off
// must still be there, and everything beside the traces (files, values, rows) must be untouched.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <shlobj.h>
#include <shellapi.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/messages.h"
#include "app/settings.h"
#include "platform/handles.h"
#include "resources/resource_ids.h"
#include "tests/e2e/e2e_support.h"
#include "tests/wine/places_fixture.h"
#include "tests/wine/test_support.h"
#include "tests/wine/ui_support.h"

namespace {

const char kDoneText[] = "All selected items have been deleted.";
const char kNotAllText[] = "Not all selected items could be deleted.";
const char kReportOffer[] = "Do you want to see the report?";
const char kQuickSelectText[] = "Most options have been selected.";

// ---------------------------------------------------------------------------------------------
// Registry values below HKEY_CURRENT_USER

void SetString(const std::string& key, const char* name, const std::string& value) {
    ASSERT_TRUE(WriteStringValue(key, name, value)) << key << " " << name;
}

void SetDword(const std::string& key, const char* name, DWORD value) {
    RegKey k;
    ASSERT_EQ(k.Create(HKEY_CURRENT_USER, key, KEY_SET_VALUE), ERROR_SUCCESS) << key;
    ASSERT_EQ(
        RegSetValueExA(k.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
        ERROR_SUCCESS);
}

// Every file below `folder`, at any depth; links are not followed.
void ListFilesDeep(const std::string& folder, std::vector<std::string>& files) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == ".." || (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFilesDeep(folder + "\\" + name, files);
        else
            files.push_back(folder + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// Whether `path` is `folder` or lies below it (names compared without case, as Windows does).
bool IsInside(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path[folder.size()] == '\\' &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(), static_cast<int>(folder.size()),
                          folder.c_str(), static_cast<int>(folder.size())) == CSTR_EQUAL;
}

// What the recycle bin holds, as Explorer counts it; -1 when the shell cannot say.
long long RecycleBinItems() {
    SHQUERYRBINFO info = {};
    info.cbSize = sizeof info;
    if (FAILED(SHQueryRecycleBinA(nullptr, &info))) return -1;
    return info.i64NumItems;
}

// Deletes a file as Explorer's Delete key does: into the recycle bin.
bool DeleteToRecycleBin(const std::string& path) {
    const std::string from = path + '\0'; // a list of names, ended by an empty one
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}

// Puts text on the clipboard, owned by this process.
bool PutTextOnClipboard(const std::string& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (memory) {
        memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
    return IsClipboardFormatAvailable(CF_TEXT) != FALSE;
}

// ---------------------------------------------------------------------------------------------
// SQLite databases in their programs' shapes

void MakeDatabase(const std::string& path, const std::string& sql) {
    MakeFolders(path.substr(0, path.find_last_of('\\')));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK) << path;
    char* error = nullptr;
    const int result = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(result, SQLITE_OK) << path << ": " << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

const char kChromeHistory[] = R"sql(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE urls(id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, visit_count INTEGER DEFAULT 0 NOT NULL,
  typed_count INTEGER DEFAULT 0 NOT NULL, last_visit_time INTEGER NOT NULL, hidden INTEGER DEFAULT 0 NOT NULL,
  favicon_id INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE visits(id INTEGER PRIMARY KEY, url INTEGER NOT NULL, visit_time INTEGER NOT NULL, from_visit INTEGER,
  transition INTEGER DEFAULT 0 NOT NULL, segment_id INTEGER, is_indexed BOOLEAN);
INSERT INTO meta VALUES ('version', '20');
INSERT INTO urls VALUES (1, 'http://chrome-gone.example/private', 'Chrome private page', 3, 1, 13000000000000000, 0, 0);
INSERT INTO visits VALUES (1, 1, 13000000000000000, 0, 805306368, 0, 0);
)sql";

const char kChromeCookies[] = R"sql(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE cookies (creation_utc INTEGER NOT NULL UNIQUE PRIMARY KEY, host_key TEXT NOT NULL, name TEXT NOT NULL,
  value TEXT NOT NULL, path TEXT NOT NULL, expires_utc INTEGER NOT NULL, secure INTEGER NOT NULL,
  httponly INTEGER NOT NULL, last_access_utc INTEGER NOT NULL);
INSERT INTO meta VALUES ('version', '4');
INSERT INTO cookies VALUES (13000000000000001, '.chrome-gone.example', 'SID', 'session-secret', '/',
  13900000000000000, 0, 1, 13000000000000001);
)sql";

// "Web Data": what was typed into forms goes with the form data option, which quick select ticks;
// the search engines stay.
const char kChromeWebData[] = R"sql(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE autofill (name VARCHAR, value VARCHAR, value_lower VARCHAR, date_created INTEGER DEFAULT 0,
  date_last_used INTEGER DEFAULT 0, count INTEGER DEFAULT 1, PRIMARY KEY (name, value));
CREATE TABLE keywords (id INTEGER PRIMARY KEY, short_name VARCHAR NOT NULL, keyword VARCHAR NOT NULL,
  favicon_url VARCHAR NOT NULL, url VARCHAR NOT NULL);
INSERT INTO autofill VALUES ('q', 'chrome form secret', 'chrome form secret', 1, 2, 3);
INSERT INTO keywords VALUES (2, 'keeper-engine', 'k', '', 'https://keeper-search.example/?q={searchTerms}');
)sql";

const char kFirefoxFormHistory[] = R"sql(
CREATE TABLE moz_formhistory (id INTEGER PRIMARY KEY, fieldname TEXT NOT NULL, value TEXT NOT NULL,
  timesUsed INTEGER, firstUsed INTEGER, lastUsed INTEGER, guid TEXT);
INSERT INTO moz_formhistory VALUES (1, 'searchbar-history', 'form secret', 1, 1, 1, 'abcdefghijkl');
)sql";

const char kFirefoxCookies[] = R"sql(
CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, name TEXT, value TEXT, host TEXT, path TEXT, expiry INTEGER,
  lastAccessed INTEGER, isSecure INTEGER, isHttpOnly INTEGER);
INSERT INTO moz_cookies VALUES (1, 'SID', 'firefox-cookie', '.gone-host.example', '/', 1900000000, 1, 0, 0);
)sql";

// Skype's main.db: the tables the history options empty, and the account and contact list they
// must leave alone.
const char kSkypeMainDb[] = R"sql(
CREATE TABLE Accounts (id INTEGER NOT NULL PRIMARY KEY, skypename TEXT, fullname TEXT);
CREATE TABLE Contacts (id INTEGER NOT NULL PRIMARY KEY, skypename TEXT, displayname TEXT);
CREATE TABLE Calls (id INTEGER NOT NULL PRIMARY KEY, begin_timestamp INTEGER, host_identity TEXT, duration INTEGER);
CREATE TABLE CallMembers (id INTEGER NOT NULL PRIMARY KEY, call_name TEXT, identity TEXT, dispname TEXT,
  debuginfo TEXT, real_identity TEXT, price_per_minute INTEGER);
CREATE TABLE Conversations (id INTEGER NOT NULL PRIMARY KEY, identity TEXT, displayname TEXT,
  given_displayname TEXT);
CREATE TABLE Messages (id INTEGER NOT NULL PRIMARY KEY, convo_id INTEGER, chatname TEXT, author TEXT,
  timestamp INTEGER, type INTEGER, body_xml TEXT, identities TEXT);
CREATE TABLE Transfers (id INTEGER NOT NULL PRIMARY KEY, partner_handle TEXT, filename TEXT);
CREATE TABLE Participants (id INTEGER NOT NULL PRIMARY KEY, convo_id INTEGER, identity TEXT, debuginfo TEXT);
CREATE TABLE SMSes (id INTEGER NOT NULL PRIMARY KEY, price INTEGER, target_numbers TEXT, body TEXT,
  reply_to_number TEXT);
CREATE TABLE Chats (id INTEGER NOT NULL PRIMARY KEY, name TEXT, topic TEXT);
CREATE TABLE ChatMembers (id INTEGER NOT NULL PRIMARY KEY, chatname TEXT, identity TEXT);
INSERT INTO Accounts VALUES (1, 'alice.smith', 'Alice Smith');
INSERT INTO Contacts VALUES (1, 'bob.jones', 'Bob Jones');
INSERT INTO Contacts VALUES (2, 'carol.white', 'Carol White');
INSERT INTO Calls VALUES (1, 1700000000, 'bob.jones', 320);
INSERT INTO CallMembers VALUES (1, '1-1700000000', 'bob.jones', 'Bob Jones', 'skype-call-debug', 'bob.jones', 0);
INSERT INTO Conversations VALUES (1, 'bob.jones', 'Bob Jones', 'Bobby');
INSERT INTO Messages VALUES (1, 1, '#alice.smith/$bob.jones;1', 'bob.jones', 1700000100, 61,
  'skype-message-secret: meet at the station', 'bob.jones');
INSERT INTO Messages VALUES (2, 1, '#alice.smith/$bob.jones;1', 'bob.jones', 1700000200, 39,
  '<partlist type="ended"><part identity="bob.jones">skype-call-record-secret</part></partlist>', 'bob.jones');
INSERT INTO Transfers VALUES (1, 'bob.jones', 'skype-transfer-secret.pdf');
INSERT INTO Participants VALUES (1, 1, 'bob.jones', '');
INSERT INTO SMSes VALUES (1, 5, '+15550100', 'skype-sms-secret', '+15550199');
INSERT INTO Chats VALUES (1, '#alice.smith/$bob.jones;1', 'skype-chat-topic-secret');
INSERT INTO ChatMembers VALUES (1, '#alice.smith/$bob.jones;1', 'bob.jones');
)sql";

// Acrobat's Organizer database: every file it has seen, with up to 128 collections ("favorites") it
// was filed in. Unfiled rows are the history; filed rows and the collections themselves are kept
// unless collections are to be cleared too.
std::string AcrobatOrganizerSql() {
    std::string sql =
        "CREATE TABLE Files (file_id INTEGER PRIMARY KEY, file_path TEXT, file_lastOpened INTEGER";
    for (int n = 1; n <= 128; ++n) sql += ", favorite_id_" + std::to_string(n) + " INTEGER";
    sql += ");\n"
           "CREATE TABLE Favorites (favorite_id INTEGER PRIMARY KEY, favorite_name TEXT, favorite_inUse "
           "INTEGER);\n"
           "INSERT INTO Favorites VALUES (1, 'Contracts', 1);\n"
           "INSERT INTO Files (file_id, file_path, file_lastOpened) VALUES (1, "
           "'/C/Users/alice/acrobat-unfiled-secret.pdf', 1);\n"
           "INSERT INTO Files (file_id, file_path, file_lastOpened, favorite_id_1) VALUES (2, "
           "'/C/Users/alice/Lease.pdf', 2, 1);\n";
    return sql;
}

// One value of the first row of `query`, or "(none)".
std::string QueryText(const std::string& path, const std::string& query) {
    PlacesDb db(path);
    const std::vector<std::string> values = db.Column(query);
    return values.empty() ? "(none)" : values.front();
}

// ---------------------------------------------------------------------------------------------
// The program's boxes

bool StartsWith(const std::string& text, const char* start) {
    return text.rfind(start, 0) == 0;
}

// ---------------------------------------------------------------------------------------------
// The traces

struct Paths {
    std::string roaming = ShellFolder(CSIDL_APPDATA);
    std::string local = ShellFolder(CSIDL_LOCAL_APPDATA);

    std::string firefox = roaming + "\\Mozilla\\Firefox";
    std::string firefoxProfile = firefox + "\\Profiles\\q1w2e3r4.default";
    std::string firefoxLocalProfile = local + "\\Mozilla\\Firefox\\Profiles\\q1w2e3r4.default";
    std::string chromeData = local + "\\Google\\Chrome\\User Data";
    std::string chrome = chromeData + "\\Default";
    std::string opera = roaming + "\\Opera\\Opera";
    std::string operaLocal = local + "\\Opera\\Opera";
    // Vista and later: the user's temporary folder below the local application data.
    std::string temp = local + "\\Temp";
    std::string windowsTemp = ShellFolder(CSIDL_WINDOWS) + "\\Temp";
    std::string recent = roaming + "\\Microsoft\\Windows\\Recent";
    std::string officeRecent = roaming + "\\Microsoft\\Office\\Recent";
    std::string skype = roaming + "\\Skype\\alice.smith";
    std::string mozillaSuite = roaming + "\\Mozilla\\Profiles\\default\\k2j4h3g1.slt";
    std::string ieCookies = ShellFolder(CSIDL_COOKIES);
    std::string ieCache = ShellFolder(CSIDL_INTERNET_CACHE);
    std::string ieHistory = ShellFolder(CSIDL_HISTORY);
    std::string safari = roaming + "\\Apple Computer\\Safari";
    std::string safariLocal = local + "\\Apple Computer\\Safari";
    // Acrobat keeps its Organizer below LocalLow, beside Roaming.
    std::string acrobat = roaming.substr(0, roaming.find_last_of('\\')) + "\\LocalLow\\Adobe\\Acrobat";
    std::string organizer = acrobat + "\\9.0\\Organizer70";
};

const char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const char kPolicies[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const char kIE[] = "Software\\Microsoft\\Internet Explorer";
const char kWordKey[] = "Software\\Microsoft\\Office\\12.0\\Word";
const char kReaderKey[] = "Software\\Adobe\\Acrobat Reader\\9.0\\AVGeneral";
const char kPlayerKey[] = "Software\\Microsoft\\MediaPlayer\\Player";
const char kPaintKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint";

const char kLocalstoreBefore[] =
    "<?xml version=\"1.0\"?>\n<RDF:RDF xmlns:NC=\"http://home.netscape.com/NC-rdf#\"\n"
    "         xmlns:RDF=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
    "  <RDF:Seq RDF:about=\"nc:urlbar-history\">\n"
    "    <RDF:li>http://urlbar-gone.example/</RDF:li>\n"
    "  </RDF:Seq>\n"
    "  <RDF:Description RDF:about=\"chrome://navigator/content/navigator.xul#main-window\" width=\"800\"/>\n"
    "</RDF:RDF>\n";
const char kLocalstoreAfter[] =
    "<?xml version=\"1.0\"?>\n<RDF:RDF xmlns:NC=\"http://home.netscape.com/NC-rdf#\"\n"
    "         xmlns:RDF=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
    "  <RDF:Seq RDF:about=\"nc:urlbar-history\"></RDF:Seq>\n"
    "  <RDF:Description RDF:about=\"chrome://navigator/content/navigator.xul#main-window\" width=\"800\"/>\n"
    "</RDF:RDF>\n";
const char kProfilesIni[] =
    "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
    "Path=Profiles/q1w2e3r4.default\r\nDefault=1\r\n";
const char kPrefsBefore[] =
    "// Mozilla User Preferences\n\n"
    "user_pref(\"browser.download.dir\", \"C:\\\\Users\\\\alice\\\\Secret downloads\");\n"
    "user_pref(\"browser.startup.homepage\", \"http://www.example.org/\");\n"
    "user_pref(\"browser.open.dir\", \"C:\\\\Users\\\\alice\\\\Secret opened\");\n";
const char kPrefsAfter[] = "// Mozilla User Preferences\n\n"
                           "user_pref(\"browser.download.dir\", \"\");\n"
                           "user_pref(\"browser.startup.homepage\", \"http://www.example.org/\");\n"
                           "user_pref(\"browser.open.dir\", \"\");\n";
const char kOperaPrefsBefore[] =
    "Opera Preferences version 2.1\r\n\r\n[User Prefs]\r\nLanguage=en\r\n"
    "Save Dir=C:\\Users\\alice\\Opera secret saves\r\nHome URL=http://www.example.org/\r\n";
const char kOperaPrefsAfter[] = "Opera Preferences version 2.1\r\n\r\n[User Prefs]\r\nLanguage=en\r\nHome "
                                "URL=http://www.example.org/\r\n";
const char kSkypeConfigBefore[] = "<?xml version=\"1.0\"?>\r\n<config version=\"1.0\">\r\n<Lib>\r\n<Call>\r\n"
                                  "<LastDialedNumbers>+15550100 +15550123</LastDialedNumbers>\r\n</Call>\r\n"
                                  "<UI><Language>en</Language></UI>\r\n</Lib>\r\n</config>\r\n";
const char kSkypeConfigAfter[] = "<?xml version=\"1.0\"?>\r\n<config version=\"1.0\">\r\n<Lib>\r\n<Call>\r\n"
                                 "<LastDialedNumbers></LastDialedNumbers>\r\n</Call>\r\n"
                                 "<UI><Language>en</Language></UI>\r\n</Lib>\r\n</config>\r\n";

// Files that must keep their bytes, and what they hold.
struct Canary {
    std::string path, text;
};

class Acceptance : public ::testing::Test {
protected:
    void TearDown() override { KillProgramProcesses(); }

    void Keep(const std::string& path, const std::string& text) {
        SeedFile(path, text);
        canaries_.push_back({path, text});
    }
    void Trace(const std::string& path, const std::string& text) {
        SeedFile(path, text);
        traces_.push_back(path);
    }

    void SeedFirefox() {
        Keep(p.firefox + "\\profiles.ini", kProfilesIni);
        MakeFolders(p.firefoxProfile);
        places_ = MakePlaces(p.firefoxProfile + "\\places.sqlite", PlacesSchema::Current, 40);
        ASSERT_FALSE(places_.removed.empty());
        ASSERT_FALSE(places_.kept.empty());
        MakeDatabase(p.firefoxProfile + "\\formhistory.sqlite", kFirefoxFormHistory);
        traces_.push_back(p.firefoxProfile + "\\formhistory.sqlite");
        MakeDatabase(p.firefoxProfile + "\\cookies.sqlite", kFirefoxCookies);
        traces_.push_back(p.firefoxProfile + "\\cookies.sqlite");
        Trace(p.firefoxProfile + "\\signons3.txt",
              "#2e\r\n.\r\nhttp://login.example\r\nuser\r\nsecret\r\n.\r\n");
        Trace(p.firefoxProfile + "\\downloads.sqlite", "SQLite format 3");
        SeedFile(p.firefoxProfile + "\\prefs.js", kPrefsBefore);
        Keep(p.firefoxProfile + "\\times.json", "{\"created\":1700000000000,\"firstUse\":null}");
        Keep(p.firefoxProfile + "\\bookmarkbackups\\bookmarks-2026-12-01_40_AbCdEf==.jsonlz4",
             "mozLz40 bookmarks backup");
        Trace(p.firefoxLocalProfile + "\\Cache\\_CACHE_MAP_", "cache map");
        Trace(p.firefoxLocalProfile + "\\Cache\\_CACHE_001_", "cached page of gone-host.example");
        Keep(p.firefoxLocalProfile + "\\urlclassifier3.sqlite", "SQLite format 3 (safe browsing lists)");
    }

    void SeedChrome() {
        MakeDatabase(p.chrome + "\\History", kChromeHistory);
        traces_.push_back(p.chrome + "\\History");
        Trace(p.chrome + "\\History-journal", "journal");
        Trace(p.chrome + "\\History Index 2026-11", "full-text index of visited pages");
        Trace(p.chrome + "\\Visited Links", "VLnk");
        Trace(p.chrome + "\\Current Session", "SNSS session");
        Trace(p.chrome + "\\Current Tabs", "SNSS tabs");
        MakeDatabase(p.chrome + "\\Cookies", kChromeCookies);
        traces_.push_back(p.chrome + "\\Cookies");
        Trace(p.chrome + "\\Login Data", "SQLite format 3 (saved passwords)");
        // Search engines, addresses and cards: no option of the Chrome page names them.
        MakeDatabase(p.chrome + "\\Web Data", kChromeWebData);
        Trace(p.chrome + "\\Cache\\data_0", "chrome cache index");
        Trace(p.chrome + "\\Cache\\f_000001", "cached page of chrome-gone.example");
        Keep(p.chrome + "\\Bookmarks",
             "{\"roots\":{\"bookmark_bar\":{\"children\":[],\"name\":\"Bookmarks bar\"}},"
             "\"version\":1}");
        Keep(p.chrome + "\\Preferences", "{\"homepage\":\"http://www.example.org/\"}");
        Keep(p.chromeData + "\\Local State", "{\"profile\":{\"info_cache\":{\"Default\":{}}}}");
    }

    void SeedOpera() {
        Trace(p.opera + "\\global_history.dat",
              "Opera visited page\nhttp://opera-gone.example/\n1700000000\n-1\n");
        Trace(p.opera + "\\typed_history.xml", "<typed_history><typed_history_item content=\"opera-gone\"/>");
        Trace(p.opera + "\\cookies4.dat", "opera cookies");
        Trace(p.opera + "\\wand.dat", "opera passwords");
        Trace(p.opera + "\\download.dat", "opera downloads");
        Trace(p.operaLocal + "\\cache\\g_0000\\opr00001.tmp", "opera cached page");
        SeedFile(p.opera + "\\operaprefs.ini", kOperaPrefsBefore);
        Keep(p.opera + "\\bookmarks.adr", "Opera Hotlist version 2.0\r\n\r\n#URL\r\n\tNAME=Example\r\n");
        // "Clear Speed Dial" is not ticked by quick select: the dial stays.
        Keep(p.opera + "\\speeddial.ini",
             "[Speed Dial 1]\r\nTitle=Example\r\nUrl=http://www.example.org/\r\n");
    }

    void SeedOtherBrowsers() {
        Trace(p.mozillaSuite + "\\history.dat", "// <!-- <mdb:mork:z v=\"1.4\"/> --> mozilla-gone.example");
        Trace(p.mozillaSuite + "\\cookies.txt",
              "# HTTP Cookie File\n.mozilla-gone.example\tTRUE\t/\tFALSE\t0\tSID\tx\n");
        SeedFile(p.mozillaSuite + "\\localstore.rdf", kLocalstoreBefore);
        Keep(p.mozillaSuite + "\\bookmarks.html",
             "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n");
        Trace(p.safari + "\\History.plist", "<plist><dict><key>WebHistoryDates</key></dict></plist>");
        Trace(p.safari + "\\Downloads.plist", "<plist><dict><key>DownloadHistory</key></dict></plist>");
        Trace(p.safari + "\\Cookies\\Cookies.plist",
              "<plist><array><dict><key>Domain</key></dict></array></plist>");
        Keep(p.safari + "\\Bookmarks.plist",
             "<plist><dict><key>Title</key><string>Bookmarks</string></dict></plist>");
        Trace(p.safariLocal + "\\Cache.db", "SQLite format 3 (safari cache)");
        Trace(p.safariLocal + "\\History\\safari-gone.example.webhistory", "page text");
        Trace(p.roaming + "\\Google\\Local Search History\\searches.dat", "toolbar searches");
        SetString("Software\\Google\\NavClient\\1.1\\History", "toolbar secret search", "");
        SetString("Software\\Google\\NavClient\\1.1", "ToolbarLanguage", "en");
    }

    void SeedInternetExplorer() {
        ASSERT_FALSE(p.ieCookies.empty());
        ASSERT_FALSE(p.ieCache.empty());
        ASSERT_FALSE(p.ieHistory.empty());
        Trace(p.ieCookies + "\\alice@ie-gone.example[1].txt", "SID\nie-cookie\nie-gone.example/\n");
        Trace(p.ieCache + "\\Content.IE5\\K3J5H7G9\\secret-page[1].htm", "<html>cached</html>");
        Trace(p.ieHistory + "\\History.IE5\\MSHist012026120120261208\\index.dat",
              "Client UrlCache MMF Ver 5.2");
        // Beside the browser's folders: Windows' own data, none of the browser's.
        Keep(p.local + "\\Microsoft\\Windows\\UsrClass.dat", "regf user classes");
    }

    void SeedWindows() {
        Trace(p.temp + "\\~DF1234.tmp", "temporary file");
        Trace(p.temp + "\\setup-leftovers\\unpacked.cab", "unpacked");
        Trace(p.windowsTemp + "\\msi4f2a.LOG", "installer log");
        Keep(p.local + "\\IconCache.db", "icon cache beside the temporary folder");
        Trace(p.recent + "\\Secret plan.docx.lnk", "L shell link to the secret plan");
        // The jump lists hold the user's pins: quick select leaves the reset off.
        Keep(p.recent + "\\AutomaticDestinations\\5f7b5f1e01b83767.automaticDestinations-ms", "jump list, pinned");
        Keep(p.recent + "\\CustomDestinations\\5d696d521de238c3.customDestinations-ms", "tasks, pinned");
        // Wherever TEMP puts the user's temporary folder.
        Trace(ProgramTempFolder() + "\\~wrs0001.tmp", "redirected temporary file");
        // Today's Windows: PowerShell's commands, error reports, thumbnails.
        Trace(p.roaming + "\\Microsoft\\Windows\\PowerShell\\PSReadLine\\ConsoleHost_history.txt",
              "Remove-Item C:\\secret-plan.docx");
        Trace(p.local + "\\Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_plan.exe_1a2b\\Report.wer",
              "Version=1\r\nAppPath=C:\\secret\\plan.exe\r\n");
        Trace(p.local + "\\Microsoft\\Windows\\Explorer\\thumbcache_256.db", "CMMM thumbnails of the secret photos");
        Keep(p.local + "\\Microsoft\\Windows\\Explorer\\ExplorerStartupLog.etl", "startup log");
        Keep(p.roaming + "\\Microsoft\\Windows\\SendTo\\Mail Recipient.MAPIMail", "MAPI");
        const std::string deleted = ShellFolder(CSIDL_PERSONAL) + "\\Old secret notes.txt";
        SeedFile(deleted, "deleted, but kept in the recycle bin");
        ASSERT_TRUE(DeleteToRecycleBin(deleted));
        ASSERT_GE(RecycleBinItems(), 1);
        ASSERT_TRUE(PutTextOnClipboard("clipboard secret: the PIN is 4711"));
        const std::string explorer = kExplorer;
        SetString(explorer + "\\RecentDocs", "MRUListEx", "secret plan");
        SetString(explorer + "\\RecentDocs\\.docx", "0", "Secret plan.docx");
        SetString(explorer + "\\RunMRU", "a", "regedit\\1");
        SetString(explorer + "\\RunMRU", "b", "\\\\fileserver\\secret-share\\1");
        SetString(explorer + "\\RunMRU", "MRUList", "ba");
        SetString(explorer + "\\TypedPaths", "url1", "C:\\Users\\alice\\Secret");
        SetString(explorer + "\\ComDlg32\\OpenSaveMRU\\docx", "a", "C:\\Users\\alice\\Secret plan.docx");
        SetString(explorer + "\\Doc Find Spec MRU", "a", "secret*.docx");
        SetString(explorer + "\\Doc Find Spec MRU", "MRUList", "a");
        SetString(explorer + "\\FindComputerMRU", "a", "SECRETSERVER");
        SetDword(explorer + "\\StreamMRU", "MRUListEx", 0);
        SetString(explorer + "\\ComDlg32\\LastVisitedMRU", "a", "notepad.exe C:\\Users\\alice\\Secret");
        SetDword(explorer + "\\Advanced", "HideFileExt", 0);
        // Windows has this policy key with its AutoRun default; quick select adds its own value.
        SetDword(kPolicies, "NoDriveTypeAutoRun", 0x91);
        SetString(std::string(kIE) + "\\TypedURLs", "url1", "http://typed-gone.example/");
        SetString(std::string(kIE) + "\\TypedURLs", "url2", "http://typed-gone.example/second");
        SetString(std::string(kIE) + "\\Main", "Save Directory", "C:\\Users\\alice\\Secret saves\\");
        SetString(std::string(kIE) + "\\Main", "Start Page", "http://www.example.org/");
    }

    void SeedApplications() {
        const std::string word = kWordKey;
        SetString(word + "\\File MRU", "Item 1",
                  "[F00000000][T01D9A1B2C3D4E5F6]*C:\\Users\\alice\\Secret plan.docx");
        SetString(word + "\\File MRU", "Item 2",
                  "[F00000000][T01D9A1B2C3D4E5F7]*C:\\Users\\alice\\Salaries.docx");
        SetString("Software\\Microsoft\\Office\\14.0\\Excel\\File MRU", "Item 1",
                  "[F00000000][T01D9A1B2C3D4E5F8]*C:\\Users\\alice\\Budget.xlsx");
        SetString(word + "\\Options", "AUTOSAVE-PATH", "C:\\Users\\alice\\AutoRecover");
        Trace(p.officeRecent + "\\Secret plan.docx.LNK", "L shell link made by Word");
        Trace(p.officeRecent + "\\index.dat", "[Folders]\r\nSecret plan.docx.LNK=1\r\n");
        Keep(p.roaming + "\\Microsoft\\Office\\UProof\\CUSTOM.DIC", "zephyr\r\nlanthorpe\r\n");

        SetString(std::string(kReaderKey) + "\\cRecentFiles\\c1", "tDIText",
                  "/C/Users/alice/reader-secret.pdf");
        SetDword(kReaderKey, "bExpandRHPInViewer", 1);
        SetString(std::string(kPlayerKey) + "\\RecentFileList", "File0",
                  "C:\\Users\\alice\\Videos\\secret.avi");
        SetString(std::string(kPlayerKey) + "\\RecentURLList", "URL0", "http://player-gone.example/stream");
        SetString(std::string(kPlayerKey) + "\\Settings", "Volume", "50");
        SetString(std::string(kPaintKey) + "\\Recent File List", "File1", "C:\\Users\\alice\\secret.png");
        SetDword(std::string(kPaintKey) + "\\View", "BMPWidth", 640);
        MakeDatabase(p.organizer + "\\Organizer70", AcrobatOrganizerSql());
        Keep(p.acrobat + "\\9.0\\AdobeCMapFnt09.lst", "font list");

        MakeDatabase(p.skype + "\\main.db", kSkypeMainDb);
        SeedFile(p.skype + "\\config.xml", kSkypeConfigBefore);
        Keep(p.roaming + "\\Skype\\shared.xml",
             "<?xml version=\"1.0\"?>\r\n<config version=\"1.0\"></config>\r\n");
    }

    void ExpectCanariesKept() {
        for (const Canary& canary : canaries_) {
            EXPECT_TRUE(PathExists(canary.path)) << canary.path;
            EXPECT_EQ(FileText(canary.path), canary.text) << canary.path;
        }
    }

    // The folders that the selected options empty: whatever is in them may go.
    std::vector<std::string> EmptiedFolders() const {
        const std::string history = p.ieHistory;
        return {p.temp,
                history.substr(0, history.find_last_of('\\')) + "\\Temp",
                p.ieHistory,
                p.ieCache,
                p.ieCookies,
                ProgramTempFolder(),
                p.officeRecent,
                p.chrome + "\\Cache",
                p.operaLocal + "\\cache",
                p.firefoxLocalProfile + "\\Cache",
                p.safari + "\\Cookies",
                p.safariLocal + "\\History",
                p.roaming + "\\Google\\Local Search History"};
    }

    // Every file of the user's profile, of the program's folder and of this test's folder that is
    // not a trace and not in a folder to be emptied: none of them may go. The temporary folder
    // that Windows gives processes is left out, for other programs (the installer) tidy it.
    std::vector<std::string> FilesThatMustStay() const {
        std::vector<std::string> all;
        ListFilesDeep(ShellFolder(CSIDL_PROFILE), all);
        ListFilesDeep(kInstallFolder, all);
        ListFilesDeep(BesideTestProgram("").substr(0, BesideTestProgram("").size() - 1), all);
        char tempPath[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, tempPath);
        std::string processTemp = tempPath;
        if (!processTemp.empty() && processTemp.back() == '\\') processTemp.pop_back();
        std::vector<std::string> stay;
        const std::vector<std::string> emptied = EmptiedFolders();
        for (const std::string& file : all) {
            bool mayGo = IsInside(file, processTemp);
            for (const std::string& folder : emptied) mayGo = mayGo || IsInside(file, folder);
            for (const std::string& trace : traces_)
                mayGo = mayGo || lstrcmpiA(file.c_str(), trace.c_str()) == 0;
            if (!mayGo) stay.push_back(file);
        }
        return stay;
    }

    void Seed() {
        SeedFirefox();
        SeedChrome();
        SeedOpera();
        SeedOtherBrowsers();
        SeedInternetExplorer();
        SeedWindows();
        SeedApplications();
        for (const std::string& trace : traces_) ASSERT_TRUE(PathExists(trace)) << trace;
    }

    Paths p;
    PlacesContent places_;
    std::vector<std::string> traces_;
    std::vector<Canary> canaries_;
};

} // namespace

TEST_F(Acceptance, QuickSelectThenClearAllRemovesTheSelectedTracesAndNothingElse) {
    ASSERT_FALSE(p.roaming.empty());
    ASSERT_FALSE(p.local.empty());
    ASSERT_TRUE(InstallPackage());
    Seed();
    if (HasFatalFailure()) return;

    // The installer's service may still be tidying up after the setup program has ended.
    ASSERT_TRUE(WaitForInstallerEnd());
    const std::vector<std::string> mustStay = FilesThatMustStay();
    ASSERT_GT(mustStay.size(), canaries_.size());

    HANDLE process = StartProgram(std::string("\"") + kInstalledProgram + "\"");
    ASSERT_NE(process, nullptr);
    const DWORD pid = GetProcessId(process);
    HWND window = WaitForMainWindow(60000);
    ASSERT_NE(window, nullptr);
    WaitForInputIdle(process, 30000);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(window) != FALSE; }, 30000));

    // "Quick select": the program says what it did in its own box.
    PostMessageA(window, WM_COMMAND, CmdSelectMostOptions, 0);
    Box box = WaitForProgramBox(pid, 30000);
    ASSERT_NE(box.window, nullptr) << "no box after Quick select";
    EXPECT_EQ(box.caption, "Zephyrlanthorpe");
    EXPECT_TRUE(StartsWith(box.text, kQuickSelectText)) << box.text;
    Press(box.window, IDOK);
    ASSERT_TRUE(WaitForWindowGone(box.window));

    // A picture of the window with the options quick select ticked, for people to look at (the test
    // runner keeps the "artifacts" folder beside the test program below the build folder).
    const std::string artifacts = BesideTestProgram("artifacts");
    CreateDirectoryA(artifacts.c_str(), nullptr);
    if (!SaveWindowPicture(window, artifacts + "\\main-window-after-quick-select.bmp"))
        std::printf("no picture of the main window\n");

    // What each trace holds, for the report to name.
    std::vector<uint64_t> traceSizes;
    for (const std::string& trace : traces_) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        ASSERT_TRUE(GetFileAttributesExA(trace.c_str(), GetFileExInfoStandard, &data)) << trace;
        traceSizes.push_back((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    }

    // "Clear all selected items": shredding is off, so the clearing runs on the program's own
    // thread and ends with the confirmation, whose "Yes" opens the clearing's report. Any other
    // box on the way is a finding; it is answered with its last button (No where there is one) so
    // that the run can go on.
    PostMessageA(window, WM_COMMAND, CmdClearHistory, 0);
    bool done = false;
    std::string confirmation;
    std::vector<std::string> unexpected;
    const DWORD start = GetTickCount();
    while (!done && GetTickCount() - start < 60000) {
        box = WaitForProgramBox(pid, 1000);
        if (!box.window) continue;
        if (box.caption == "Zephyrlanthorpe" && box.text.ends_with(kReportOffer)) {
            done = true;
            confirmation = box.text;
            if (!SaveWindowPicture(box.window, artifacts + "\\confirmation.bmp")) std::printf("no picture of the box\n");
            Press(box.window, IDOK);
        } else {
            unexpected.push_back(box.caption + ": " + box.text);
            Press(box.window, GetDlgItem(box.window, IDCANCEL) ? IDCANCEL : IDOK);
        }
        ASSERT_TRUE(WaitForWindowGone(box.window));
    }
    ASSERT_TRUE(done) << "no confirmation within a minute";
    EXPECT_TRUE(unexpected.empty()) << unexpected.size()
                                    << " unexpected boxes, the first: " << unexpected.front();
    // The report of the clearing: every trace named as removed with its size, and totals that are
    // the sums of its items; the same items in the report view that "Yes" opened.
    const std::string reportPath = NewestReport("clear-all");
    ASSERT_FALSE(reportPath.empty()) << "no report in " << ReportsFolder();
    const std::string json = FileText(reportPath);
    EXPECT_EQ(ReportString(json, "mode"), "clean");
    const std::vector<ReportFields> items = ReportItems(json);
    uint64_t itemBytes = 0;
    for (const ReportFields& item : items) itemBytes += std::stoull(item.at("bytes"));
    EXPECT_EQ(std::to_string(itemBytes), ReportTotals(json)["bytes"]);
    EXPECT_EQ(std::to_string(items.size()), ReportTotals(json)["items"]);
    // The confirmation says all went only when nothing was left. What may stay is WinINet's own
    // index.dat, which the program's cache cleaner has open by then, and a canary that a cleaner
    // looked at and found no database to clean: never a trace.
    const bool allGone = ReportTotals(json)["left"] == "0";
    EXPECT_TRUE(StartsWith(confirmation, allGone ? kDoneText : kNotAllText)) << confirmation;
    for (const ReportFields& item : items) {
        if (item.at("action") != "left") continue;
        bool canary = false;
        for (const Canary& c : canaries_) canary = canary || lstrcmpiA(c.path.c_str(), item.at("path").c_str()) == 0;
        EXPECT_TRUE(item.at("path").ends_with("\\index.dat") || (canary && item.at("reason") == "not cleaned"))
            << item.at("path") << ": " << item.at("reason");
    }
    for (size_t i = 0; i < traces_.size(); ++i) {
        bool listed = false;
        for (const ReportFields& item : items)
            listed = listed || (lstrcmpiA(item.at("path").c_str(), traces_[i].c_str()) == 0 &&
                                item.at("action") == "removed" && item.at("bytes") == std::to_string(traceSizes[i]));
        EXPECT_TRUE(listed) << traces_[i] << " (" << traceSizes[i] << " bytes) is not in the report as removed";
    }
    const HWND view = WaitForProgramWindow(pid, "Clearing report", 30000);
    ASSERT_NE(view, nullptr) << "Yes opened no report";
    EXPECT_EQ(SendMessageA(GetDlgItem(view, IDC_REPORT_ITEMS), LVM_GETITEMCOUNT, 0, 0),
              static_cast<LRESULT>(items.size()));
    if (!SaveWindowPicture(view, artifacts + "\\report-view.bmp")) std::printf("no picture of the report\n");
    Press(view, IDCANCEL);
    ASSERT_TRUE(WaitForWindowGone(view));

    // No window of the clearing is left: the program idles with its main window alone.
    EXPECT_EQ(WaitForProgramBox(pid, 500).window, nullptr);
    EXPECT_EQ(WaitForExit(process, 0), -1) << "the program ended during the clearing";

    // Every trace of a selected option is gone.
    for (const std::string& trace : traces_) EXPECT_FALSE(PathExists(trace)) << trace;
    EXPECT_TRUE(PathExists(p.temp)) << "the temporary folder itself must stay";
    EXPECT_EQ(RecycleBinItems(), 0);
    // The clipboard is shared with the X server through Wine's driver: give it time to tell.
    EXPECT_TRUE(PumpUntil([] { return !IsClipboardFormatAvailable(CF_TEXT); }, 10000))
        << "the clipboard kept its text";
    EXPECT_TRUE(PathExists(p.recent)) << "the Recent folder itself must stay";

    // Firefox: visits and places that are not bookmarked go; the bookmarks, their places and the
    // "place:" queries stay, for quick select leaves "Delete Bookmarks" off.
    const std::string placesPath = p.firefoxProfile + "\\places.sqlite";
    {
        PlacesDb db(placesPath);
        ASSERT_TRUE(db.ok());
        EXPECT_EQ(db.Count("SELECT count(*) FROM moz_historyvisits"), 0);
        EXPECT_EQ(db.Column("SELECT url FROM moz_places ORDER BY id"), places_.kept);
        EXPECT_EQ(db.Count("SELECT count(*) FROM moz_bookmarks"), places_.bookmarks);
        EXPECT_EQ(db.Count("SELECT count(*) FROM moz_meta"), 1);
    }
    const std::string placesBytes = DatabaseFileBytes(placesPath);
    for (size_t i = 0; i < places_.removed.size(); ++i) {
        EXPECT_EQ(placesBytes.find(places_.removed[i]), std::string::npos) << places_.removed[i];
        EXPECT_EQ(placesBytes.find(places_.removedTitles[i]), std::string::npos) << places_.removedTitles[i];
    }
    EXPECT_EQ(FileText(p.firefoxProfile + "\\prefs.js"), kPrefsAfter);
    EXPECT_EQ(QueryText(p.chrome + "\\Web Data", "SELECT group_concat(short_name) FROM keywords"), "keeper-engine");
    EXPECT_EQ(QueryText(p.chrome + "\\Web Data", "SELECT count(*) FROM autofill"), "0");
    EXPECT_EQ(DatabaseFileBytes(p.chrome + "\\Web Data").find("chrome form secret"), std::string::npos);
    EXPECT_EQ(FileText(p.opera + "\\operaprefs.ini"), kOperaPrefsAfter);
    EXPECT_EQ(FileText(p.mozillaSuite + "\\localstore.rdf"), kLocalstoreAfter);

    // Registry: the lists go whole; the values beside them stay.
    const std::string explorer = kExplorer;
    for (const char* key : {"RecentDocs", "RunMRU", "TypedPaths", "ComDlg32\\OpenSaveMRU"})
        EXPECT_FALSE(KeyExists(explorer + "\\" + key)) << key;
    EXPECT_EQ(ValueOf(explorer + "\\Advanced", "HideFileExt"), "0");
    EXPECT_EQ(ValueOf(std::string(kIE) + "\\TypedURLs", "url1"), "(missing)");
    EXPECT_EQ(ValueOf(std::string(kIE) + "\\TypedURLs", "url2"), "(missing)");
    EXPECT_EQ(ValueOf(std::string(kIE) + "\\Main", "Save Directory"), "(missing)");
    EXPECT_EQ(ValueOf(std::string(kIE) + "\\Main", "Start Page"), "http://www.example.org/");
    EXPECT_FALSE(KeyExists(std::string(kWordKey) + "\\File MRU"));
    EXPECT_FALSE(KeyExists("Software\\Microsoft\\Office\\14.0\\Excel\\File MRU"));
    EXPECT_EQ(ValueOf(std::string(kWordKey) + "\\Options", "AUTOSAVE-PATH"), "C:\\Users\\alice\\AutoRecover");
    for (const char* key : {"Doc Find Spec MRU", "FindComputerMRU", "StreamMRU", "ComDlg32\\LastVisitedMRU"})
        EXPECT_FALSE(KeyExists(explorer + "\\" + key)) << key;
    EXPECT_FALSE(KeyExists(std::string(kReaderKey) + "\\cRecentFiles"));
    EXPECT_EQ(ValueOf(kReaderKey, "bExpandRHPInViewer"), "1");
    EXPECT_FALSE(KeyExists(std::string(kPlayerKey) + "\\RecentFileList"));
    EXPECT_FALSE(KeyExists(std::string(kPlayerKey) + "\\RecentURLList"));
    EXPECT_EQ(ValueOf(std::string(kPlayerKey) + "\\Settings", "Volume"), "50");
    EXPECT_FALSE(KeyExists(std::string(kPaintKey) + "\\Recent File List"));
    EXPECT_EQ(ValueOf(std::string(kPaintKey) + "\\View", "BMPWidth"), "640");
    EXPECT_EQ(ValueOf("Software\\Google\\NavClient\\1.1\\History", "toolbar secret search"), "(missing)");
    EXPECT_EQ(ValueOf("Software\\Google\\NavClient\\1.1", "ToolbarLanguage"), "en");

    // Acrobat: the Organizer's history goes; a file filed in a collection and the collection stay,
    // for quick select leaves "collections" off.
    const std::string organizer = p.organizer + "\\Organizer70";
    EXPECT_EQ(QueryText(organizer, "SELECT group_concat(file_path) FROM Files"), "/C/Users/alice/Lease.pdf");
    EXPECT_EQ(QueryText(organizer, "SELECT favorite_name || ',' || favorite_inUse FROM Favorites"),
              "Contracts,1");

    // Skype: calls, messages and chats go; the account and the contacts stay, and nothing of what
    // went is left readable in the file.
    const std::string mainDb = p.skype + "\\main.db";
    for (const char* table : {"Calls", "CallMembers", "Conversations", "Messages", "Transfers",
                              "Participants", "SMSes", "Chats", "ChatMembers"})
        EXPECT_EQ(QueryText(mainDb, std::string("SELECT count(*) FROM ") + table), "0") << table;
    EXPECT_EQ(QueryText(mainDb, "SELECT group_concat(skypename) FROM Contacts"), "bob.jones,carol.white");
    EXPECT_EQ(QueryText(mainDb, "SELECT fullname FROM Accounts WHERE skypename='alice.smith'"),
              "Alice Smith");
    const std::string mainDbBytes = DatabaseFileBytes(mainDb);
    for (const char* secret : {"skype-message-secret", "skype-call-record-secret", "skype-sms-secret", "skype-chat-topic-secret",
                               "skype-call-debug", "skype-transfer-secret"})
        EXPECT_EQ(mainDbBytes.find(secret), std::string::npos) << secret;
    EXPECT_EQ(FileText(p.skype + "\\config.xml"), kSkypeConfigAfter);

    // Everything beside the traces keeps its bytes, and no other file has gone.
    ExpectCanariesKept();
    for (const std::string& file : mustStay) EXPECT_TRUE(PathExists(file)) << "removed: " << file;

    // Exit: quick select ticked "Clear selected items on program exit", which runs once more and
    // must find nothing further to take.
    PostMessageA(window, WM_COMMAND, CmdExitProgram, 0);
    EXPECT_EQ(WaitForExit(process, 30000), 0);
    CloseHandle(process);
    ExpectCanariesKept();

    // What quick select chose is what the program stored: every browser's history, shredding off,
    // and the few options it leaves alone still off.
    ProgramSettings stored;
    stored.dataFolder = UserDataFolder();
    {
        BoxRecorder quiet;
        ASSERT_TRUE(stored.LoadSettings());
        EXPECT_TRUE(quiet.boxes.empty());
    }
    const uint32_t browsers = BrowserIE | BrowserMozilla | BrowserNetscape | BrowserOpera | BrowserFirefox |
                              BrowserSafari | BrowserChrome;
    // The index.dat contents, but not their deletion at Windows start-up.
    for (uint32_t mask : {stored.historyMask, stored.cacheMask, stored.cookiesMask})
        EXPECT_EQ(mask, browsers | IEIndexDatContent);
    EXPECT_EQ(stored.passwordsMask, browsers);
    EXPECT_EQ(stored.downloadsMask, browsers & ~BrowserChrome);
    EXPECT_EQ(stored.purgeHistoryMask, static_cast<uint32_t>(BrowserFirefox));
    EXPECT_EQ(stored.bookmarksMask, 0u);
    EXPECT_EQ(stored.clearOperaSpeedDial, 0);
    EXPECT_EQ(stored.clearAcrobatCollections, 0);
    EXPECT_EQ(stored.clearAcrobatHistory, 1);
    EXPECT_EQ(stored.clearPageFileAtShutdown, 1);
    EXPECT_EQ(stored.clearOnBrowserClose, 1);
    EXPECT_EQ(stored.clearSkypeOnQuit, 1);
    EXPECT_EQ(stored.shredFiles, 0);
    EXPECT_EQ(stored.clearOnExit, 1);
    EXPECT_EQ(stored.clearOnStart, 0);
    EXPECT_EQ(stored.confirmAfterClear, 1);
    EXPECT_EQ(ValueOf(kPolicies, "NoRecentDocsHistory"), "1");
    EXPECT_EQ(ValueOf(kPolicies, "NoDriveTypeAutoRun"), "145");
    {
        RegKey memory;
        DWORD value = 0, size = sizeof value;
        ASSERT_EQ(memory.Open(HKEY_LOCAL_MACHINE,
                              "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management",
                              KEY_READ),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegQueryValueExA(memory.get(), "ClearPageFileAtShutdown", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&value), &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(value, 1u);
    }
    EXPECT_EQ(ValueOf(std::string(kIE) + "\\Main", "Start Page"), "http://www.example.org/");
    EXPECT_EQ(QueryText(mainDb, "SELECT count(*) FROM Contacts"), "2");
    EXPECT_EQ(PlacesDb(placesPath).Column("SELECT url FROM moz_places ORDER BY id"), places_.kept);
}
