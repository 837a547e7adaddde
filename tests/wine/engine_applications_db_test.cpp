// The application cleaners that work inside SQLite databases: Skype's "main.db" and Acrobat's
// Organizer databases, built here in their programs' table shapes with rows to remove and rows
// and tables to keep. What is removed must be gone from the file's bytes, not only from its
// tables, and from any "-wal" or "-journal" beside it; a database that another process holds
// locked is passed over, unharmed, without the cleaner waiting for it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <shlobj.h>

#include <cstdlib>
#include <span>

#include "engine/history_cleaner.h"
#include "platform/handles.h"
#include "tests/wine/engine_support.h"

namespace {

// A connection of the test's own, by a path in the ANSI code page as the cleaner sees it.
class Db {
public:
    explicit Db(const std::string& path) {
        // sqlite3_open16 would make new databases UTF-16; the programs' own are UTF-8.
        std::wstring wide(path.size() + 1, L'\0');
        const int wideLength =
            MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
        std::string utf8(4 * wide.size(), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), static_cast<int>(utf8.size()),
                            nullptr, nullptr);
        EXPECT_EQ(sqlite3_open(utf8.c_str(), &db_), SQLITE_OK) << path;
    }
    ~Db() { Close(); }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;
    void Close() {
        sqlite3_close(db_);
        db_ = nullptr;
    }
    int Run(const std::string& sql) {
        char* error = nullptr;
        const int result = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error);
        last_ = error ? error : "";
        sqlite3_free(error);
        return result;
    }
    void Exec(const std::string& sql) {
        EXPECT_EQ(Run(sql), SQLITE_OK) << sql.substr(0, 100) << ": " << last_;
    }
    std::string Text(const std::string& query) {
        sqlite3_stmt* statement = nullptr;
        std::string value = "(failed)";
        if (sqlite3_prepare_v2(db_, query.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(statement, 0);
            value = text ? reinterpret_cast<const char*>(text) : "NULL";
        }
        sqlite3_finalize(statement);
        return value;
    }
    int Count(const std::string& table) { return std::atoi(Text("SELECT count(*) FROM " + table).c_str()); }

private:
    sqlite3* db_ = nullptr;
    std::string last_;
};

std::string Bytes(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Where `marker` can still be read: the database or a journal beside it.
std::string FoundIn(const std::string& db, const std::string& marker) {
    std::string where;
    for (const char* suffix : {"", "-wal", "-journal"})
        if (Bytes(db + suffix).find(marker) != std::string::npos) where += std::string(" main.db") + suffix;
    return where;
}

// Long enough that the rows fill many pages, so that deletion frees whole pages as well as cells.
std::string Padded(const std::string& marker, int i) {
    return marker + "-" + std::to_string(i) + "-" + std::string(180, static_cast<char>('a' + i % 26));
}

// Skype's "main.db": the tables the cleaners address, with the columns Skype gives them, and the
// account and contact tables beside them.
const char* const kSkypeSchema[] = {
    "CREATE TABLE Accounts (id INTEGER NOT NULL PRIMARY KEY, is_permanent INTEGER, status INTEGER, "
    "skypename TEXT, fullname TEXT, emails TEXT, mood_text TEXT, profile_timestamp INTEGER)",
    "CREATE TABLE Contacts (id INTEGER NOT NULL PRIMARY KEY, is_permanent INTEGER, type INTEGER, skypename "
    "TEXT, "
    "fullname TEXT, displayname TEXT, phone_mobile TEXT, city TEXT, lastused_timestamp INTEGER)",
    "CREATE TABLE Calls (id INTEGER NOT NULL PRIMARY KEY, is_permanent INTEGER, begin_timestamp INTEGER, "
    "topic TEXT, is_muted INTEGER, is_unseen_missed INTEGER, host_identity TEXT, mike_status INTEGER, "
    "duration INTEGER, soundlevel INTEGER, access_token TEXT, active_members INTEGER, is_active INTEGER, "
    "name TEXT, video_disabled INTEGER, joined_existing INTEGER, server_identity TEXT, is_incoming INTEGER, "
    "is_conference INTEGER, is_on_hold INTEGER, start_timestamp INTEGER, quality_problems TEXT, "
    "current_video_audience TEXT, partner_handle TEXT, partner_dispname TEXT, type INTEGER, status INTEGER, "
    "failurereason INTEGER, pstn_number TEXT, conv_dbid INTEGER)",
    "CREATE TABLE CallMembers (id INTEGER NOT NULL PRIMARY KEY, is_permanent INTEGER, identity TEXT, "
    "dispname TEXT, languages TEXT, call_duration INTEGER, price_per_minute INTEGER, price_precision "
    "INTEGER, "
    "price_currency TEXT, payment_category TEXT, type INTEGER, status INTEGER, failurereason INTEGER, "
    "sounderror_code INTEGER, soundlevel INTEGER, pstn_statustext TEXT, pstn_feedback TEXT, "
    "forward_targets TEXT, forwarded_by TEXT, debuginfo TEXT, videostatus INTEGER, target_identity TEXT, "
    "mike_status INTEGER, is_read_only INTEGER, quality_status INTEGER, call_name TEXT, transfer_status "
    "INTEGER, "
    "transfer_active INTEGER, transferred_by TEXT, transferred_to TEXT, guid TEXT, real_identity TEXT, "
    "start_timestamp INTEGER, is_conference INTEGER, quality_problems TEXT, identity_type INTEGER, "
    "country TEXT, creation_timestamp INTEGER)",
    "CREATE TABLE Conversations (id INTEGER NOT NULL PRIMARY KEY, is_permanent INTEGER, identity TEXT, "
    "type INTEGER, live_host TEXT, live_start_timestamp INTEGER, alert_string TEXT, is_bookmarked INTEGER, "
    "given_displayname TEXT, displayname TEXT, local_livestatus INTEGER, inbox_timestamp INTEGER, "
    "last_activity_timestamp INTEGER, creator TEXT, creation_timestamp INTEGER, meta_name TEXT, "
    "meta_topic TEXT, meta_guidelines TEXT, meta_picture BLOB, picture TEXT, guid TEXT, dialog_partner TEXT)",
    "CREATE TABLE Messages (id INTEGER NOT NULL PRIMARY KEY, is_permanent INTEGER, convo_id INTEGER, "
    "chatname TEXT, author TEXT, from_dispname TEXT, author_was_live INTEGER, guid BLOB, dialog_partner "
    "TEXT, "
    "timestamp INTEGER, type INTEGER, sending_status INTEGER, consumption_status INTEGER, edited_by TEXT, "
    "edited_timestamp INTEGER, param_key INTEGER, param_value INTEGER, body_xml TEXT, identities TEXT, "
    "reason TEXT, leavereason INTEGER, participant_count INTEGER, error_code INTEGER, chatmsg_type INTEGER, "
    "chatmsg_status INTEGER, body_is_rawxml INTEGER, crc INTEGER, remote_id INTEGER, call_guid TEXT)",
    "CREATE TABLE Transfers (id INTEGER NOT NULL PRIMARY KEY, is_permanent INTEGER, type INTEGER, "
    "partner_handle TEXT, partner_dispname TEXT, status INTEGER, failurereason INTEGER, starttime INTEGER, "
    "finishtime INTEGER, filepath TEXT, filename TEXT, filesize TEXT, bytestransferred TEXT, "
    "bytespersecond INTEGER, chatmsg_guid BLOB, chatmsg_index INTEGER, convo_id INTEGER, pk_id INTEGER, "
    "nodeid BLOB, last_activity INTEGER, flags INTEGER, old_status INTEGER, old_filepath INTEGER, "
    "accepttime INTEGER, parent_id INTEGER, offer_send_list TEXT)",
    "CREATE TABLE Participants (id INTEGER NOT NULL PRIMARY KEY, is_permanent INTEGER, convo_id INTEGER, "
    "identity TEXT, rank INTEGER, requested_rank INTEGER, text_status INTEGER, voice_status INTEGER, "
    "live_identity TEXT, live_price_for_me TEXT, live_fwd_identities TEXT, live_start_timestamp INTEGER, "
    "sound_level INTEGER, debuginfo TEXT, next_redial_time INTEGER, nrof_redials_left INTEGER, "
    "last_voice_error TEXT, quality_problems TEXT, live_type INTEGER, live_country TEXT, transferred_by "
    "TEXT, "
    "transferred_to TEXT, adder TEXT, last_leavereason INTEGER)",
    "CREATE TABLE SMSes (id INTEGER NOT NULL PRIMARY KEY, is_permanent INTEGER, type INTEGER, "
    "outgoing_reply_type INTEGER, status INTEGER, failurereason INTEGER, is_failed_unseen INTEGER, "
    "timestamp INTEGER, price INTEGER, price_precision INTEGER, price_currency TEXT, reply_to_number TEXT, "
    "target_numbers TEXT, target_statuses BLOB, body TEXT, chatmsg_id INTEGER, identity TEXT, "
    "notification_id INTEGER, event_flags INTEGER, reply_id INTEGER, error_category INTEGER, convo_name "
    "TEXT)",
    "CREATE TABLE Chats (id INTEGER NOT NULL PRIMARY KEY, is_permanent INTEGER, name TEXT, options INTEGER, "
    "friendlyname TEXT, description TEXT, timestamp INTEGER, activity_timestamp INTEGER, dialog_partner "
    "TEXT, "
    "adder TEXT, type INTEGER, mystatus INTEGER, myrole INTEGER, posters TEXT, participants TEXT, "
    "applicants TEXT, banned_users TEXT, name_text TEXT, topic TEXT, topic_xml TEXT, guidelines TEXT, "
    "picture BLOB, alertstring TEXT, is_bookmarked INTEGER, passwordhint TEXT, activemembers TEXT, "
    "state_data BLOB, lifesigns INTEGER, last_change INTEGER, first_unread_message INTEGER, pk_type INTEGER, "
    "dbpath TEXT, split_friendlyname TEXT, conv_dbid INTEGER)",
    "CREATE TABLE ChatMembers (id INTEGER NOT NULL PRIMARY KEY, is_permanent INTEGER, chatname TEXT, "
    "identity TEXT, role INTEGER, is_active INTEGER, cur_activities INTEGER, adder TEXT)",
    "CREATE INDEX IX_Messages_convo_id_timestamp ON Messages (convo_id, timestamp)",
    "CREATE INDEX IX_Contacts_skypename ON Contacts (skypename)",
};

// Every row of history carries `tag` in columns that the blanking UPDATEs write over and in
// columns they leave alone (a Transfers or Calls row has no UPDATE at all).
void FillSkype(Db& db, const std::string& tag, int rows = 40) {
    db.Exec("BEGIN");
    for (int i = 0; i < rows; ++i) {
        const std::string n = std::to_string(i);
        const std::string t = "'" + Padded(tag, i);
        db.Exec("INSERT INTO Calls (begin_timestamp, topic, host_identity, partner_handle, partner_dispname, "
                "pstn_number) VALUES (" +
                n + "," + t + "-calltopic'," + t + "-callhost'," + t + "-callpartner'," + t + "-calldisp'," +
                t + "-callpstn')");
        db.Exec("INSERT INTO CallMembers (identity, dispname, call_name, debuginfo, real_identity, "
                "price_per_minute, pstn_statustext, guid) VALUES (" +
                t + "-cmidentity'," + t + "-cmdisp'," + t + "-cmcall'," + t + "-cmdebug'," + t +
                "-cmreal',7," + t + "-cmstatus'," + t + "-cmguid')");
        // Conversation ids follow on from those of earlier fills of the same database.
        db.Exec("INSERT INTO Conversations (identity, displayname, given_displayname, meta_topic, creator) "
                "VALUES (" +
                t + "-convid'," + t + "-convdisp'," + t + "-convgiven'," + t + "-convtopic'," + t +
                "-convcreator')");
        const std::string convo = "(SELECT max(id) FROM Conversations)";
        db.Exec("INSERT INTO Messages (convo_id, timestamp, type, chatname, author, from_dispname, dialog_partner, "
                "body_xml, identities, reason) VALUES (" +
                convo + "," + n + ",61," + t + "-msgchat'," + t + "-msgauthor'," + t + "-msgfrom'," + t +
                "-msgpartner'," + t + "-msgbody'," + t + "-msgids'," + t + "-msgreason')");
        // Every other conversation also holds a call: its start and end are messages of their own.
        if (i % 2 == 0)
            for (const char* type : {"30", "39"})
                db.Exec(std::string("INSERT INTO Messages (convo_id, timestamp, type, author, body_xml, identities) "
                                    "VALUES (") +
                        convo + "," + n + "," + type + "," + t + "-callauthor'," + t + "-callbody'," + t +
                        "-callids')");
        db.Exec("INSERT INTO Transfers (partner_handle, partner_dispname, filepath, filename, filesize) "
                "VALUES (" +
                t + "-xferpartner'," + t + "-xferdisp'," + t + "-xferpath'," + t + "-xfername','12345')");
        db.Exec("INSERT INTO Participants (convo_id, identity, debuginfo, live_identity, adder) VALUES (" +
                convo + "," + t + "-partid'," + t + "-partdebug'," + t + "-partlive'," + t + "-partadder')");
        db.Exec("INSERT INTO SMSes (price, reply_to_number, target_numbers, body, identity, convo_name) "
                "VALUES (9," +
                t + "-smsreply'," + t + "-smstarget'," + t + "-smsbody'," + t + "-smsidentity'," + t +
                "-smsconvo')");
        db.Exec("INSERT INTO Chats (name, friendlyname, topic, participants, posters) VALUES (" + t +
                "-chatname'," + t + "-chatfriendly'," + t + "-chattopic'," + t + "-chatpeople'," + t +
                "-chatposters')");
        db.Exec("INSERT INTO ChatMembers (chatname, identity, adder) VALUES (" + t + "-cmemchat'," + t +
                "-cmemidentity'," + t + "-cmemadder')");
    }
    db.Exec("COMMIT");
}

void MakeSkypeDb(const std::string& path, const std::string& tag) {
    MakeFolder(path.substr(0, path.find_last_of('\\')));
    Db db(path);
    for (const char* sql : kSkypeSchema) db.Exec(sql);
    db.Exec("INSERT INTO Accounts (skypename, fullname) VALUES ('" + tag + "-owner', 'Kept Owner')");
    db.Exec("INSERT INTO Contacts (skypename, displayname) VALUES ('" + tag + "-friend', 'Kept Friend')");
    FillSkype(db, tag);
}

// What each Skype option removes: the call option the calls and the messages that record them,
// the chat option the chats and the rest of the conversations.
const char* const kCallMarkers[] = {"-calltopic", "-callhost", "-callpartner", "-cmidentity", "-cmstatus",
                                    "-cmguid",    "-callbody", "-callauthor",  "-callids"};
const char* const kChatMarkers[] = {"-chatname", "-chatfriendly", "-chattopic", "-chatpeople", "-cmemidentity",
                                    "-msgauthor", "-msgfrom",     "-msgbody",   "-msgreason",  "-xferpath",
                                    "-xfername",  "-smsbody",     "-smstarget", "-smsidentity"};
const char* const kHistoryTables[] = {"Calls",        "CallMembers", "Conversations", "Messages", "Transfers",
                                      "Participants", "SMSes",       "Chats",         "ChatMembers"};
// Markers of conversations without a call (odd rows), which go with the chats.
const char* const kChatOnlyConversationMarkers[] = {"-convid", "-convtopic", "-convcreator", "-partid",
                                                    "-partadder"};

// Every marker of `columns` for rows `rows` that can still be read, in the database or beside it.
std::string Readable(const std::string& path, const std::string& tag, std::initializer_list<int> rows,
                     std::span<const char* const> columns) {
    std::string found;
    for (int i : rows)
        for (const char* column : columns)
            if (FoundIn(path, Padded(tag, i) + column) != "") found += " " + std::to_string(i) + column;
    return found;
}

// Acrobat's Organizer database: the files it has seen, each in up to 128 collections, and the
// collections themselves.
void MakeOrganizer(const std::string& path, const std::string& tag) {
    MakeFolder(path.substr(0, path.find_last_of('\\')));
    Db db(path);
    std::string files = "CREATE TABLE Files (file_id INTEGER PRIMARY KEY, file_path TEXT, file_name TEXT, "
                        "file_size INTEGER, last_opened INTEGER, times_opened INTEGER";
    for (int n = 1; n <= 128; ++n) files += ", favorite_id_" + std::to_string(n) + " INTEGER";
    db.Exec(files + ")");
    db.Exec("CREATE TABLE Favorites (favorite_id INTEGER PRIMARY KEY, favorite_name TEXT, favorite_inUse "
            "INTEGER, "
            "favorite_created INTEGER)");
    db.Exec("CREATE TABLE Settings (name TEXT, value TEXT)");
    db.Exec("INSERT INTO Settings VALUES ('" + tag + "-setting', 'kept')");
    db.Exec("INSERT INTO Favorites VALUES (1, '" + tag + "-collection-taxes', 1, 0), (2, '" + tag +
            "-collection-unused', 0, 0)");
    db.Exec("BEGIN");
    for (int i = 0; i < 60; ++i) {
        const std::string t = "'" + Padded(tag, i);
        const char* where = i % 3 == 0 ? nullptr : i % 3 == 1 ? "favorite_id_1" : "favorite_id_128";
        const std::string kind = where ? "-filed" : "-unfiled";
        db.Exec(std::string("INSERT INTO Files (file_path, file_name, times_opened") + (where ? ", " : "") +
                (where ? where : "") + ") VALUES (" + t + kind + "path'," + t + kind + "name', 1" +
                (where ? ", 1" : "") + ")");
    }
    db.Exec("COMMIT");
}

struct ApplicationDatabases : ::testing::Test {
    ProgramSettings settings;
    HistoryCleaner cleaner{&settings};
    std::string roaming = ShellFolderPath(CSIDL_APPDATA);
    std::string skype = roaming + "\\Skype";
    std::string acrobat;
    void SetUp() override {
        settings.ApplyDefaults();
        ASSERT_NE(roaming.find("\\Roaming"), std::string::npos) << roaming;
        acrobat = roaming.substr(0, roaming.rfind("Roaming")) + "LocalLow\\Adobe\\Acrobat";
    }
    void TearDown() override {
        RemoveTree(skype);
        RemoveTree(acrobat);
    }
};

} // namespace

// ---- Skype

TEST_F(ApplicationDatabases, SkypeCallHistoryGoesAndEveryChatMessageStays) {
    const std::string alice = skype + "\\alice\\main.db", deep = skype + "\\bob\\old\\profile\\main.db";
    MakeSkypeDb(alice, "ZLTALICE");
    MakeSkypeDb(deep, "ZLTBOB");
    // Before: the markers are there to be found, so that their absence afterwards means something.
    ASSERT_EQ(FoundIn(alice, Padded("ZLTALICE", 8) + "-callbody"), " main.db");

    cleaner.ClearSkypeCalls();

    for (const auto& [path, tag] :
         {std::pair{alice, std::string("ZLTALICE")}, std::pair{deep, std::string("ZLTBOB")}}) {
        SCOPED_TRACE(path);
        Db db(path);
        EXPECT_EQ(db.Count("Calls"), 0);
        EXPECT_EQ(db.Count("CallMembers"), 0);
        EXPECT_EQ(db.Count("Messages WHERE type IN (30, 39)"), 0);
        EXPECT_EQ(db.Count("Messages WHERE type = 61"), 40);
        for (const char* table : {"Conversations", "Chats", "ChatMembers", "Transfers", "Participants", "SMSes"})
            EXPECT_EQ(db.Count(table), 40) << table;
        EXPECT_EQ(db.Text("SELECT skypename FROM Accounts"), tag + "-owner");
        EXPECT_EQ(db.Text("SELECT skypename FROM Contacts"), tag + "-friend");
        EXPECT_EQ(db.Text("PRAGMA integrity_check"), "ok");
        db.Close();
        EXPECT_EQ(Readable(path, tag, {0, 18, 38}, kCallMarkers), "");
        EXPECT_NE(FoundIn(path, Padded(tag, 17) + "-msgbody"), "");
        EXPECT_FALSE(PathExists(path + "-journal"));
    }
}

TEST_F(ApplicationDatabases, SkypeChatsGoWithTheirMessagesAndTheCallsStay) {
    const std::string path = skype + "\\alice\\main.db";
    MakeSkypeDb(path, "ZLTCHATS");

    cleaner.ClearSkypeChats();

    Db db(path);
    for (const char* table : {"Chats", "ChatMembers", "Transfers", "SMSes"}) EXPECT_EQ(db.Count(table), 0) << table;
    EXPECT_EQ(db.Count("Messages WHERE type = 61"), 0);
    // The calls, the messages that record them and the conversations they belong to stay.
    EXPECT_EQ(db.Count("Messages WHERE type IN (30, 39)"), 40);
    EXPECT_EQ(db.Count("Calls"), 40);
    EXPECT_EQ(db.Count("CallMembers"), 40);
    EXPECT_EQ(db.Count("Conversations"), 20);
    EXPECT_EQ(db.Count("Participants"), 20);
    EXPECT_EQ(db.Text("PRAGMA integrity_check"), "ok");
    db.Close();
    EXPECT_EQ(Readable(path, "ZLTCHATS", {0, 21, 39}, kChatMarkers), "");
    EXPECT_EQ(Readable(path, "ZLTCHATS", {1, 21, 39}, kChatOnlyConversationMarkers), "");
    EXPECT_NE(FoundIn(path, Padded("ZLTCHATS", 20) + "-callbody"), "");
    EXPECT_NE(FoundIn(path, Padded("ZLTCHATS", 20) + "-convtopic"), "");
}

TEST_F(ApplicationDatabases, BothSkypeOptionsLeaveNoConversationAtAll) {
    const std::string path = skype + "\\alice\\main.db";
    MakeSkypeDb(path, "ZLTBOTH");

    cleaner.ClearSkypeCalls();
    cleaner.ClearSkypeChats();

    Db db(path);
    for (const char* table : kHistoryTables) EXPECT_EQ(db.Count(table), 0) << table;
    EXPECT_EQ(db.Count("Contacts"), 1);
    db.Close();
    for (auto markers : {std::span<const char* const>(kCallMarkers), std::span<const char* const>(kChatMarkers),
                         std::span<const char* const>(kChatOnlyConversationMarkers)})
        EXPECT_EQ(Readable(path, "ZLTBOTH", {0, 1, 20, 39}, markers), "");
}

// The rollback journal of the cleaning holds the very rows it deleted: it is shredded with the
// files when shredding is on, and gone in any case.
TEST_F(ApplicationDatabases, TheJournalOfTheCleaningIsShreddedWithShreddingOn) {
    struct JournalProbe : ShredProbe {
        int journalPasses = 0;
        void PassWritten(const std::string& path, int) override {
            if (path.ends_with("main.db-journal")) ++journalPasses;
        }
    } probe;
    cleaner.shredProbe = &probe;
    for (bool shred : {false, true}) {
        SCOPED_TRACE(shred ? "shredding" : "no shredding");
        settings.shredFiles = shred ? 1 : 0;
        probe.journalPasses = 0;
        const std::string path = skype + "\\alice\\main.db";
        MakeSkypeDb(path, "ZLTJOURNAL");
        cleaner.ClearSkypeCalls();
        EXPECT_FALSE(PathExists(path + "-journal"));
        EXPECT_EQ(probe.journalPasses, shred ? 3 : 0);
        EXPECT_EQ(Readable(path, "ZLTJOURNAL", {0, 10, 38}, kCallMarkers), "");
        RemoveTree(skype);
    }
    cleaner.shredProbe = nullptr;
}

TEST_F(ApplicationDatabases, PurgeLeavesNothingOfWhatSkypeItselfDeleted) {
    const std::string path = skype + "\\alice\\main.db";
    MakeSkypeDb(path, "ZLTPURGE");
    {
        // Skype deletes a conversation the ordinary way: the rows go, their bytes stay.
        Db db(path);
        db.Exec("PRAGMA secure_delete=OFF");
        db.Exec("DELETE FROM Messages WHERE convo_id <= 20 AND type = 61");
    }
    const std::string gone = Padded("ZLTPURGE", 5) + "-msgbody";
    ASSERT_NE(FoundIn(path, gone), "");

    cleaner.PurgeSkypeDatabase();

    EXPECT_EQ(FoundIn(path, gone), "");
    Db db(path);
    EXPECT_EQ(db.Count("Messages WHERE type = 61"), 20);
    EXPECT_EQ(db.Text("SELECT body_xml FROM Messages WHERE convo_id = 26 AND type = 61"),
              Padded("ZLTPURGE", 25) + "-msgbody");
    EXPECT_EQ(db.Text("PRAGMA integrity_check"), "ok");
}

TEST_F(ApplicationDatabases, RowsLeftInTheLogOfAStoppedSkypeAreScrubbedToo) {
    const std::string path = skype + "\\alice\\main.db";
    MakeSkypeDb(path, "ZLTSEED");
    {
        // Skype was stopped in the middle: its latest rows are only in the log. (The files are
        // copied while its connection is open, before the close would fold the log in.)
        Db running(path);
        running.Exec("PRAGMA journal_mode=WAL");
        FillSkype(running, "ZLTWAL", 30);
        ASSERT_TRUE(CopyFileA(path.c_str(), (path + ".stopped").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((path + "-wal").c_str(), (path + ".stopped-wal").c_str(), FALSE));
    }
    ASSERT_TRUE(MoveFileExA((path + ".stopped").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
    ASSERT_TRUE(MoveFileExA((path + ".stopped-wal").c_str(), (path + "-wal").c_str(), MOVEFILE_REPLACE_EXISTING));
    ASSERT_NE(FoundIn(path, Padded("ZLTWAL", 4) + "-callbody"), "");

    cleaner.ClearSkypeCalls();

    EXPECT_EQ(Readable(path, "ZLTWAL", {0, 4, 28}, kCallMarkers), "");
    EXPECT_FALSE(PathExists(path + "-wal"));
    Db db(path);
    EXPECT_EQ(db.Count("Calls"), 0);
    EXPECT_EQ(db.Count("Messages WHERE type = 61"), 70);
    EXPECT_EQ(db.Text("PRAGMA integrity_check"), "ok");
}

// A running Skype has its database open: it is left exactly as it is, not waited for.
TEST_F(ApplicationDatabases, ADatabaseOpenInAnotherProgramIsLeftAsItIs) {
    const std::string path = skype + "\\alice\\main.db";
    MakeSkypeDb(path, "ZLTOPEN");
    const std::string before = Bytes(path);
    {
        HeldFile skypeRunning(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(skypeRunning.held());
        cleaner.ClearSkypeCalls();
        cleaner.ClearSkypeChats();
        cleaner.PurgeSkypeDatabase();
    }
    EXPECT_TRUE(Bytes(path) == before);
}

TEST_F(ApplicationDatabases, NonAsciiAccountFolderIsFound) {
    // An account folder whose name needs the ANSI code page; SQLite wants the path as UTF-8.
    const wchar_t wide[] = L"K\u00e4the";
    char ansi[32] = "";
    BOOL lossy = FALSE;
    const bool converted = GetACP() != CP_UTF8 &&
                           WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, &lossy) > 0;
    if (!converted || lossy || std::string(ansi) == "Kathe")
        GTEST_SKIP() << "the ANSI code page has no a-umlaut";
    const std::string path = skype + "\\" + ansi + "\\main.db";
    MakeSkypeDb(path, "ZLTKAETHE");

    cleaner.ClearSkypeCalls();

    Db db(path);
    EXPECT_EQ(db.Count("Calls"), 0);
    EXPECT_EQ(db.Count("Chats"), 40);
}

// ---- A database another process holds locked

namespace {

const char kHoldPath[] = "ZLT_HOLD_DB";
const char kHoldReady[] = "ZltHoldReady";
const char kHoldRelease[] = "ZltHoldRelease";

// Another program with the database open in the middle of a write: this same test program, started
// again to run only the disabled test below, which holds an exclusive lock until released.
class LockHolder {
public:
    explicit LockHolder(const std::string& path)
        : ready_(CreateEventA(nullptr, TRUE, FALSE, kHoldReady)),
          release_(CreateEventA(nullptr, TRUE, FALSE, kHoldRelease)) {
        char self[MAX_PATH];
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string command =
            std::string("\"") + self +
            "\" --gtest_also_run_disabled_tests --gtest_filter=HeldDatabase.DISABLED_HoldsAWriteLock";
        SetEnvironmentVariableA(kHoldPath, path.c_str());
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &info)) {
            process_.Reset(info.hProcess);
            CloseHandle(info.hThread);
        }
        SetEnvironmentVariableA(kHoldPath, nullptr);
        const HANDLE waits[] = {ready_.get(), process_.get()};
        // Ready, or the holder ended without ever holding the lock.
        holding_ = process_.valid() && WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0;
    }
    bool holding() const { return holding_; }
    // Lets the holder roll its write back and end; its exit code (0 when its own checks passed).
    DWORD Release() {
        SetEvent(release_.get());
        WaitForSingleObject(process_.get(), INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(process_.get(), &code);
        return code;
    }

private:
    ScopedHandle ready_, release_, process_;
    bool holding_ = false;
};

} // namespace

TEST(HeldDatabase, DISABLED_HoldsAWriteLock) {
    const char* path = std::getenv(kHoldPath);
    ASSERT_NE(path, nullptr);
    Db db(path);
    db.Exec("BEGIN EXCLUSIVE");
    db.Exec("CREATE TABLE ZltPendingWrite (x TEXT)");
    db.Exec("INSERT INTO ZltPendingWrite VALUES ('ZLTHELD-pending')");
    const ScopedHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, kHoldReady));
    const ScopedHandle release(OpenEventA(SYNCHRONIZE, FALSE, kHoldRelease));
    ASSERT_TRUE(ready.valid() && release.valid());
    SetEvent(ready.get());
    WaitForSingleObject(release.get(), INFINITE);
    db.Exec("ROLLBACK");
}

TEST_F(ApplicationDatabases, ADatabaseLockedByAnotherProcessIsPassedOverUnharmed) {
    const std::string held = skype + "\\alice\\main.db", free = skype + "\\bob\\main.db";
    MakeSkypeDb(held, "ZLTHELD");
    MakeSkypeDb(free, "ZLTFREE");
    const std::string organizer = acrobat + "\\9.0\\Organizer70";
    MakeOrganizer(organizer, "ZLTORG");
    {
        LockHolder skypeLock(held);
        ASSERT_TRUE(skypeLock.holding());
        cleaner.ClearSkypeCalls();
        cleaner.ClearSkypeChats();
        cleaner.PurgeSkypeDatabase();
        EXPECT_EQ(skypeLock.Release(), 0u);
    }
    {
        LockHolder organizerLock(organizer);
        ASSERT_TRUE(organizerLock.holding());
        cleaner.ClearAcrobatOrganizerHistory();
        cleaner.ClearAcrobatCollections();
        EXPECT_EQ(organizerLock.Release(), 0u);
    }
    Db organizerDb(organizer);
    EXPECT_EQ(organizerDb.Count("Files"), 60);
    EXPECT_EQ(organizerDb.Text("SELECT favorite_name FROM Favorites WHERE favorite_id = 1"),
              "ZLTORG-collection-taxes");
    EXPECT_EQ(organizerDb.Text("SELECT count(*) FROM sqlite_master WHERE name = 'ZltPendingWrite'"), "0");
    EXPECT_EQ(organizerDb.Text("PRAGMA integrity_check"), "ok");
    Db heldDb(held);
    for (const char* table : kHistoryTables) EXPECT_EQ(heldDb.Count(table), table == std::string("Messages") ? 80 : 40) << table;
    EXPECT_EQ(heldDb.Count("Contacts"), 1);
    EXPECT_EQ(heldDb.Text("SELECT count(*) FROM sqlite_master WHERE name = 'ZltPendingWrite'"), "0");
    EXPECT_EQ(heldDb.Text("PRAGMA integrity_check"), "ok");
    Db freeDb(free);
    for (const char* table : kHistoryTables) EXPECT_EQ(freeDb.Count(table), 0) << table;
    EXPECT_EQ(freeDb.Text("PRAGMA integrity_check"), "ok");
    heldDb.Close();
    EXPECT_FALSE(PathExists(held + "-journal"));
}

// ---- Acrobat Organizer

TEST_F(ApplicationDatabases, OrganizerHistoryKeepsTheFilesOfEveryCollection) {
    const std::string first = acrobat + "\\9.0\\Organizer70",
                      second = acrobat + "\\8.0\\deeper\\Organizer.db";
    MakeOrganizer(first, "ZLTNINE");
    MakeOrganizer(second, "ZLTEIGHT");
    // Named for the word only later on: not an Organizer database.
    const std::string lookalike = acrobat + "\\9.0\\MyOrganizer70";
    MakeOrganizer(lookalike, "ZLTLOOK");
    const std::string lookalikeBefore = Bytes(lookalike);
    // Named like one but no database: opened, found wanting, left as it was.
    const std::string notes = acrobat + "\\9.0\\Organizer notes.txt";
    WriteTextFile(notes, "Organizer notes: ZLTNOTES keep these");

    cleaner.ClearAcrobatOrganizerHistory();

    for (const auto& [path, tag] :
         {std::pair{first, std::string("ZLTNINE")}, std::pair{second, std::string("ZLTEIGHT")}}) {
        Db db(path);
        EXPECT_EQ(db.Count("Files"), 40) << path;
        EXPECT_EQ(db.Count("Files WHERE favorite_id_1 IS NULL AND favorite_id_128 IS NULL"), 0) << path;
        EXPECT_EQ(db.Text("SELECT file_name FROM Files WHERE favorite_id_128 = 1 ORDER BY file_id"),
                  Padded(tag, 2) + "-filedname");
        EXPECT_EQ(db.Count("Favorites WHERE favorite_inUse = 1"), 1);
        EXPECT_EQ(db.Text("PRAGMA integrity_check"), "ok");
        db.Close();
        for (int i : {0, 3, 57}) {
            EXPECT_EQ(FoundIn(path, Padded(tag, i) + "-unfiledpath"), "") << path << i;
            EXPECT_EQ(FoundIn(path, Padded(tag, i) + "-unfiledname"), "") << path << i;
        }
    }
    EXPECT_EQ(Bytes(lookalike), lookalikeBefore);
    EXPECT_EQ(Bytes(notes), "Organizer notes: ZLTNOTES keep these");
}

TEST_F(ApplicationDatabases, OrganizerCollectionsGoWithTheirFilesAndNames) {
    const std::string path = acrobat + "\\9.0\\Organizer70";
    MakeOrganizer(path, "ZLTCOLL");

    cleaner.ClearAcrobatCollections();

    Db db(path);
    EXPECT_EQ(db.Count("Files"), 20);
    EXPECT_EQ(db.Count("Files WHERE favorite_id_1 NOT NULL OR favorite_id_128 NOT NULL"), 0);
    EXPECT_EQ(db.Text("SELECT favorite_name || '|' || favorite_inUse FROM Favorites WHERE favorite_id = 1"),
              std::string(32, ' ') + "|0");
    EXPECT_EQ(db.Text("SELECT favorite_name FROM Favorites WHERE favorite_id = 2"),
              "ZLTCOLL-collection-unused");
    EXPECT_EQ(db.Text("SELECT name FROM Settings"), "ZLTCOLL-setting");
    EXPECT_EQ(db.Text("PRAGMA integrity_check"), "ok");
    db.Close();
    EXPECT_EQ(FoundIn(path, "ZLTCOLL-collection-taxes"), "");
    for (int i : {1, 2, 58}) EXPECT_EQ(FoundIn(path, Padded("ZLTCOLL", i) + "-filedname"), "") << i;
    EXPECT_NE(FoundIn(path, Padded("ZLTCOLL", 3) + "-unfiledname"), "");
}

// ---- Databases behind links

TEST(LinkedDatabases, ADatabaseReachedThroughALinkIsLeftAlone) {
    // engine_applications_setup.sh made the links below this folder; it stands in for the user's
    // application data for the length of the test.
    const std::string appData = "C:\\zlt-linkroaming";
    const std::string skypeLink = appData + "\\Skype\\linked\\main.db";
    const std::string organizerLink = appData + "\\Adobe\\Acrobat\\9.0\\Organizer70";
    const std::string skypeTarget = "C:\\zlt-elsewhere\\main.db",
                      organizerTarget = "C:\\zlt-elsewhere\\Organizer70";
    MakeSkypeDb(skypeTarget, "ZLTELSEWHERE");
    MakeOrganizer(organizerTarget, "ZLTELSEWHERE");
    // Wine shows a link to a file as the file itself.
    ASSERT_TRUE(PathExists(skypeLink));
    ASSERT_TRUE(PathExists(organizerLink));
    const std::string skypeBefore = Bytes(skypeTarget), organizerBefore = Bytes(organizerTarget);

    const std::string shellFolders =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const std::string roaming = ShellFolderPath(CSIDL_APPDATA);
    ASSERT_TRUE(SetString(HKEY_CURRENT_USER, shellFolders, "AppData", appData));
    ASSERT_EQ(ShellFolderPath(CSIDL_APPDATA), appData);
    ProgramSettings settings;
    settings.ApplyDefaults();
    HistoryCleaner cleaner(&settings);
    cleaner.ClearSkypeCalls();
    cleaner.ClearSkypeChats();
    cleaner.PurgeSkypeDatabase();
    cleaner.ClearAcrobatOrganizerHistory();
    cleaner.ClearAcrobatCollections();
    SetString(HKEY_CURRENT_USER, shellFolders, "AppData", roaming);

    EXPECT_TRUE(Bytes(skypeTarget) == skypeBefore);
    EXPECT_TRUE(Bytes(organizerTarget) == organizerBefore);
    Db skype(skypeTarget);
    EXPECT_EQ(skype.Count("Messages"), 80);
    Db organizer(organizerTarget);
    EXPECT_EQ(organizer.Count("Files"), 60);
}
