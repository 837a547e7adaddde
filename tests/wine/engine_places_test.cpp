// The Firefox history cleaner and the purge on real places.sqlite files in the sandboxed prefix's
// profile folder: what stays, what goes, and that nothing removed can still be read in the file.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "engine/clearing_run.h"
#include "engine/history_cleaner.h"
#include "tests/wine/engine_support.h"
#include "tests/wine/places_fixture.h"

namespace {

struct Places : ::testing::Test {
    ProgramSettings settings;
    HistoryCleaner cleaner{&settings};
    const std::string mozilla = ShellFolderPath(CSIDL_APPDATA) + "\\Mozilla";
    const std::string profiles = mozilla + "\\Firefox\\Profiles";
    const std::string profile = MakeFolder(profiles + "\\k3x9q2ad.default");
    const std::string places = profile + "\\places.sqlite";

    void SetUp() override { settings.ApplyDefaults(); }
    void TearDown() override { RemoveTree(mozilla); }

    std::vector<std::string> Urls(const std::string& path) {
        PlacesDb db(path);
        return db.Column("SELECT url FROM moz_places ORDER BY id");
    }
};

// Every text of `texts` that can still be found in `bytes`.
std::vector<std::string> Readable(const std::string& bytes, const std::vector<std::string>& texts) {
    std::vector<std::string> found;
    for (const std::string& text : texts)
        if (bytes.find(text) != std::string::npos) found.push_back(text);
    return found;
}

std::vector<std::string> Prefixed(const char* format, const std::vector<std::string>& urls) {
    std::vector<std::string> texts;
    for (const std::string& url : urls) {
        const size_t digits = url.find("-host-") + 6;
        texts.push_back(std::string(format) + url.substr(digits, 3));
    }
    return texts;
}

} // namespace

TEST_F(Places, CurrentSchemaBookmarksAndQueriesStayEveryVisitGoesNothingRemovedReadable) {
    const PlacesContent content = MakePlaces(places, PlacesSchema::Current, 400);
    ASSERT_EQ(content.removed.size(), 352u);
    // The search below can find what it looks for: the markers are there before the clearing.
    ASSERT_EQ(Readable(DatabaseFileBytes(places), content.removed).size(), content.removed.size());

    cleaner.ClearFirefoxHistory();

    EXPECT_EQ(Urls(places), content.kept);
    PlacesDb db(places);
    EXPECT_EQ(db.Count("SELECT count(*) FROM moz_historyvisits"), 0);
    EXPECT_EQ(db.Count("SELECT count(*) FROM moz_bookmarks"), content.bookmarks);
    // The origins of the places that went go too; the bookmarked places stay without their visits.
    EXPECT_EQ(db.Count("SELECT count(*) FROM moz_origins"), 40);
    EXPECT_EQ(db.Count("SELECT count(*) FROM moz_inputhistory"), 0);
    EXPECT_EQ(db.Count("SELECT sum(visit_count) + count(last_visit_date) + sum(frecency) FROM moz_places"), 0);
    EXPECT_EQ(db.Column("PRAGMA integrity_check"), std::vector<std::string>{"ok"});
    const std::string bytes = DatabaseFileBytes(places);
    EXPECT_EQ(Readable(bytes, content.removed), std::vector<std::string>{});
    EXPECT_EQ(Readable(bytes, content.removedTitles), std::vector<std::string>{});
    EXPECT_EQ(Readable(bytes, Prefixed("secret-path-", content.removed)), std::vector<std::string>{});
    EXPECT_EQ(Readable(bytes, Prefixed("gone-host-", content.removed)), std::vector<std::string>{});
    EXPECT_EQ(Readable(bytes, Prefixed("input", content.removed)), std::vector<std::string>{});
    EXPECT_EQ(Readable(bytes, content.kept).size(), content.kept.size());
}

TEST_F(Places, OldSchemaWithUniqueUrlIndexScrubbedOnceThePurgeHasRun) {
    for (bool writerSecureDelete : {true, false}) {
        SCOPED_TRACE(writerSecureDelete ? "written with secure delete" : "written without secure delete");
        const PlacesContent content =
            MakePlaces(places, PlacesSchema::Old, 400, {.secureDelete = writerSecureDelete});
        ASSERT_EQ(Readable(DatabaseFileBytes(places), content.removed).size(), content.removed.size());

        cleaner.ClearFirefoxHistory();
        EXPECT_EQ(Urls(places), content.kept);
        {
            PlacesDb db(places);
            EXPECT_EQ(db.Count("SELECT count(*) FROM moz_historyvisits"), 0);
            EXPECT_EQ(db.Count("SELECT count(*) FROM moz_bookmarks"), content.bookmarks);
            EXPECT_EQ(db.Column("SELECT url FROM moz_favicons WHERE url LIKE '%gone-host%'"),
                      std::vector<std::string>{});
            EXPECT_EQ(db.Count("SELECT count(*) FROM moz_favicons"), 40);
        }
        std::string bytes = DatabaseFileBytes(places);
        if (writerSecureDelete) {
            // No index holds titles or favicon data: no copy of them can outlive their rows.
            EXPECT_EQ(Readable(bytes, content.removedTitles), std::vector<std::string>{});
            EXPECT_EQ(Readable(bytes, Prefixed("gone-icon-", content.removed)), std::vector<std::string>{});
        }

        // The unique index on the URL keeps a few keys in its inner pages, and a writer without
        // secure delete left stale copies in pages' free space, until the file is rebuilt.
        cleaner.PurgeFirefoxHistoryDatabase();
        bytes = DatabaseFileBytes(places);
        EXPECT_EQ(Readable(bytes, content.removed), std::vector<std::string>{});
        EXPECT_EQ(Readable(bytes, content.removedTitles), std::vector<std::string>{});
        EXPECT_EQ(Readable(bytes, Prefixed("secret-path-", content.removed)), std::vector<std::string>{});
        EXPECT_EQ(Readable(bytes, Prefixed("gone-host-", content.removed)), std::vector<std::string>{});
        EXPECT_EQ(Readable(bytes, Prefixed("gone-icon-", content.removed)), std::vector<std::string>{});
        EXPECT_EQ(Readable(bytes, content.kept).size(), content.kept.size());
        EXPECT_EQ(Urls(places), content.kept);
        EXPECT_FALSE(PathExists(places + "-journal"));
        RemoveTree(places);
    }
}

TEST_F(Places, RowsLeftOnlyInTheLogOfAKilledBrowserAreScrubbedAndNoLogStays) {
    const PlacesContent content = MakePlaces(places, PlacesSchema::Current, 120, {.leaveLogBehind = true});
    ASSERT_TRUE(PathExists(places + "-wal"));
    ASSERT_EQ(Readable(DatabaseFileBytes(places), content.removed).size(), content.removed.size());

    cleaner.ClearFirefoxHistory();

    EXPECT_FALSE(PathExists(places + "-wal"));
    EXPECT_FALSE(PathExists(places + "-journal"));
    EXPECT_EQ(Urls(places), content.kept);
    const std::string bytes = DatabaseFileBytes(places);
    EXPECT_EQ(Readable(bytes, content.removed), std::vector<std::string>{});
    EXPECT_EQ(Readable(bytes, content.removedTitles), std::vector<std::string>{});
}

TEST_F(Places, DeleteBookmarksRemovesTheFilesAndRunsNoStatement) {
    settings.bookmarksMask = BrowserFirefox;
    // A database that cannot be removed (held open without delete sharing) shows whether any
    // statement ran on it: its rows would be gone.
    const std::string held = MakeFolder(profiles + "\\second.profile") + "\\places.sqlite";
    const PlacesContent heldContent = MakePlaces(held, PlacesSchema::Old, 30);
    MakePlaces(places, PlacesSchema::Current, 30, {.leaveLogBehind = true});
    const std::string backups = MakeFolder(profile + "\\bookmarkbackups");
    MakeFile(backups + "\\bookmarks-2010-03-01.json", 10);
    MakeFile(backups + "\\bookmarks-2010-03-02.jsonlz4", 10);
    MakeFile(backups + "\\Bookmarks-upper.json", 10);
    MakeFile(backups + "\\old-bookmarks-2010.json", 10);
    MakeFile(profile + "\\places.sqlite.canary", 10);
    {
        HeldFile open(held, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(open.held());
        cleaner.ClearFirefoxHistory();
    }
    EXPECT_FALSE(PathExists(places));
    EXPECT_FALSE(PathExists(places + "-wal"));
    EXPECT_FALSE(PathExists(places + "-shm"));
    EXPECT_FALSE(PathExists(backups + "\\bookmarks-2010-03-01.json"));
    EXPECT_FALSE(PathExists(backups + "\\bookmarks-2010-03-02.jsonlz4"));
    EXPECT_TRUE(PathExists(backups + "\\Bookmarks-upper.json"));
    EXPECT_TRUE(PathExists(backups + "\\old-bookmarks-2010.json"));
    EXPECT_TRUE(PathExists(profile + "\\places.sqlite.canary"));
    PlacesDb db(held);
    EXPECT_EQ(db.Count("SELECT count(*) FROM moz_places"),
              static_cast<long long>(heldContent.kept.size() + heldContent.removed.size()));
    EXPECT_EQ(db.Count("SELECT count(*) FROM moz_historyvisits"), 60);
}

TEST_F(Places, LockedDatabaseIsSkippedAndTheRestOfTheClearingGoesOn) {
    const std::string lockedProfile = MakeFolder(profiles + "\\aaaa.locked");
    const std::string locked = lockedProfile + "\\places.sqlite";
    const PlacesContent lockedContent = MakePlaces(locked, PlacesSchema::Old, 40);
    const PlacesContent content = MakePlaces(places, PlacesSchema::Current, 40);
    MakeFile(lockedProfile + "\\history.dat", 10);
    MakeFile(lockedProfile + "\\formhistory.sqlite", 10);
    MakeFile(profile + "\\history.dat", 10);
    {
        // A running browser's connection in the middle of a write.
        PlacesDb browser(locked);
        ASSERT_EQ(browser.Run("BEGIN EXCLUSIVE"), SQLITE_OK);
        ASSERT_EQ(browser.Run("UPDATE moz_places SET visit_count=visit_count+1"), SQLITE_OK);
        cleaner.ClearFirefoxHistory();
        cleaner.PurgeFirefoxHistoryDatabase();
        EXPECT_EQ(browser.Run("COMMIT"), SQLITE_OK);
    }
    PlacesDb db(locked);
    EXPECT_EQ(db.Count("SELECT count(*) FROM moz_historyvisits"), 80);
    EXPECT_EQ(db.Count("SELECT min(visit_count) FROM moz_places"), 3);
    EXPECT_EQ(db.Column("PRAGMA integrity_check"), std::vector<std::string>{"ok"});
    EXPECT_FALSE(PathExists(lockedProfile + "\\history.dat"));
    EXPECT_FALSE(PathExists(lockedProfile + "\\formhistory.sqlite"));
    EXPECT_FALSE(PathExists(profile + "\\history.dat"));
    EXPECT_EQ(Urls(places), content.kept);
}

TEST_F(Places, BookmarksOptionAloneInTheClearingRemovesNothing) {
    settings.bookmarksMask = BrowserFirefox;
    const PlacesContent content = MakePlaces(places, PlacesSchema::Current, 20);
    ClearSelectedBrowserItems(cleaner, settings);
    EXPECT_EQ(Urls(places).size(), content.kept.size() + content.removed.size());

    settings.purgeHistoryMask = BrowserFirefox; // the purge alone rebuilds the file and keeps every row
    ClearSelectedBrowserItems(cleaner, settings);
    EXPECT_EQ(Urls(places).size(), content.kept.size() + content.removed.size());

    settings.historyMask = BrowserFirefox;
    ClearSelectedBrowserItems(cleaner, settings);
    EXPECT_FALSE(PathExists(places));
}

// Folder names are in the ANSI code page and SQLite takes UTF-8: a profile whose name has a letter
// beyond ASCII must reach the same file, not a new empty database beside it.
TEST_F(Places, ProfileNamedBeyondAsciiIsCleanedInPlace) {
    char name[64] = "";
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, 0, L"J\u00fcrgen.default", -1, name, sizeof name, nullptr, &lossy);
    ASSERT_FALSE(lossy) << "code page " << GetACP();
    ASSERT_NE(static_cast<unsigned char>(name[1]), 'u');
    const std::string folder = MakeFolder(profiles + "\\" + name);
    const PlacesContent content = MakePlaces(places, PlacesSchema::Current, 30);
    ASSERT_TRUE(MoveFileA(places.c_str(), (folder + "\\places.sqlite").c_str()));

    cleaner.ClearFirefoxHistory();

    FolderList files;
    cleaner.ListFiles(folder, files);
    EXPECT_EQ(files, FolderList{folder + "\\places.sqlite"});
    EXPECT_FALSE(PathExists(profile + "\\places.sqlite"));
    ASSERT_TRUE(MoveFileA((folder + "\\places.sqlite").c_str(), places.c_str()));
    EXPECT_EQ(Urls(places), content.kept);
}
