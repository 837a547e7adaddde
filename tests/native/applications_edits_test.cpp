// Skype "config.xml" editing and the statements run on Skype's and Acrobat's databases: expected
// texts written out by hand, and each option's statements run on a database laid out as the
// program's, with what they must take and what they must leave.
#include <gtest/gtest.h>

#include "engine/cleaners/applications_edits.h"
#include "tests/native/sqlite_test_db.h"

TEST(SkypeConfig, LastDialedNumbersEmptiedEverythingElseKept) {
    const std::string head = "<?xml version=\"1.0\"?>\n<config version=\"1.0\">\n  <Lib>\n    <Call>\n"
                             "      <LastDialedNumbers>";
    const std::string tail =
        "</LastDialedNumbers>\n      <Other>1</Other>\n    </Call>\n  </Lib>\n</config>\n";
    EXPECT_EQ(SkypeConfigWithoutLastDialed(head + "+15550100 +15550199 echo123" + tail), head + tail);
    EXPECT_EQ(SkypeConfigWithoutLastDialed(head + tail), std::nullopt);
}

TEST(SkypeConfig, LeftAsItIs) {
    EXPECT_EQ(SkypeConfigWithoutLastDialed("<LastDialedNumbers>+1555</LastDialedNumbers>"), std::nullopt);
    EXPECT_EQ(SkypeConfigWithoutLastDialed("<c><LastDialedNumbers>+1555</c>"), std::nullopt);
    EXPECT_EQ(SkypeConfigWithoutLastDialed("<c><LastDialedNumbers/></c>"), std::nullopt);
    EXPECT_EQ(SkypeConfigWithoutLastDialed("<c></LastDialedNumbers>+1555<LastDialedNumbers>"), std::nullopt);
}

namespace {

// A main.db as Skype lays it out, with one call, one chat and one conversation that holds both.
// Every text of a call carries "zcall", of a chat "zchat", of a conversation "zconv".
void MakeSkypeMainDb(TestDb& db) {
    db.Exec("CREATE TABLE Calls (id INTEGER PRIMARY KEY, host_identity TEXT, name TEXT)");
    db.Exec("CREATE TABLE CallMembers (id INTEGER PRIMARY KEY, call_name TEXT, identity TEXT, dispname TEXT, "
            "debuginfo TEXT, real_identity TEXT, price_per_minute INTEGER)");
    db.Exec("CREATE TABLE Chats (id INTEGER PRIMARY KEY, name TEXT, topic TEXT)");
    db.Exec("CREATE TABLE ChatMembers (id INTEGER PRIMARY KEY, chatname TEXT, identity TEXT)");
    db.Exec("CREATE TABLE Conversations (id INTEGER PRIMARY KEY, identity TEXT, displayname TEXT, "
            "given_displayname TEXT)");
    db.Exec("CREATE TABLE Participants (id INTEGER PRIMARY KEY, convo_id INTEGER, identity TEXT, debuginfo TEXT)");
    db.Exec("CREATE TABLE Messages (id INTEGER PRIMARY KEY, convo_id INTEGER, type INTEGER, chatname TEXT, "
            "identities TEXT, body_xml TEXT)");
    db.Exec("CREATE TABLE Transfers (id INTEGER PRIMARY KEY, filename TEXT)");
    db.Exec("CREATE TABLE SMSes (id INTEGER PRIMARY KEY, price INTEGER, target_numbers TEXT, body TEXT, "
            "reply_to_number TEXT)");
    db.Exec("INSERT INTO Calls VALUES (1, 'zcall-host', 'zcall-1')");
    db.Exec("INSERT INTO CallMembers VALUES (1, 'zcall-1', 'zcall-bob', 'zcall-Bob', 'zcall-debug', 'zcall-bob', 3)");
    // Conversation 1 holds only a call, 2 only a chat, 3 both.
    db.Exec("INSERT INTO Conversations VALUES (1, 'zconv-bob', 'zconv-Bob', 'zconv-Bobby'), "
            "(2, 'zconv-eve', 'zconv-Eve', 'zconv-Evie'), (3, 'zconv-dan', 'zconv-Dan', 'zconv-Danny')");
    db.Exec("INSERT INTO Participants VALUES (1, 1, 'zconv-p-bob', 'zconv-d1'), (2, 2, 'zconv-p-eve', 'zconv-d2'), "
            "(3, 3, 'zconv-p-dan', 'zconv-d3')");
    db.Exec("INSERT INTO Messages VALUES (1, 1, 30, 'zcall-c', 'zcall-i', 'zcall started with bob'), "
            "(2, 1, 39, 'zcall-c', 'zcall-i', 'zcall ended with bob'), "
            "(3, 2, 61, 'zchat-c', 'zchat-i', 'zchat see you at the mill'), "
            "(4, 3, 30, 'zcall-c', 'zcall-i', 'zcall started with dan'), "
            "(5, 3, 61, 'zchat-c', 'zchat-i', 'zchat hello dan'), "
            "(6, 2, NULL, 'zchat-c', 'zchat-i', 'zchat a message of no type')");
    db.Exec("INSERT INTO Chats VALUES (1, 'zchat-eve', 'zchat-topic')");
    db.Exec("INSERT INTO ChatMembers VALUES (1, 'zchat-eve', 'zchat-member')");
    db.Exec("INSERT INTO Transfers VALUES (1, 'zchat-report.pdf')");
    db.Exec("INSERT INTO SMSes VALUES (1, 5, 'zchat-+1555', 'zchat-sms', 'zchat-+1556')");
    db.Exec("PRAGMA secure_delete=ON"); // as every cleaning connection has it
}

std::string Count(TestDb& db, const std::string& table) {
    return db.Column("SELECT count(*) FROM " + table).at(0);
}

} // namespace

TEST(SkypeMainDb, CallHistoryTakesTheCallsAndTheirEventsAndNoChat) {
    TestDb db;
    MakeSkypeMainDb(db);
    for (const std::string& sql : SkypeCallsStatements()) db.Exec(sql);
    EXPECT_FALSE(db.Holds("zcall"));
    EXPECT_EQ(Count(db, "Calls"), "0");
    EXPECT_EQ(Count(db, "CallMembers"), "0");
    EXPECT_EQ(db.Column("SELECT body_xml FROM Messages ORDER BY id"),
              (std::vector<std::string>{"zchat see you at the mill", "zchat hello dan", "zchat a message of no type"}));
    // Nothing of the chats, and no conversation: those belong to the other option.
    for (const char* table : {"Chats", "ChatMembers", "Transfers", "SMSes"}) EXPECT_EQ(Count(db, table), "1") << table;
    EXPECT_EQ(Count(db, "Conversations"), "3");
    EXPECT_EQ(Count(db, "Participants"), "3");
}

TEST(SkypeMainDb, ChatsTakeTheirMessagesAndTheConversationsLeftEmptyAndNoCall) {
    TestDb db;
    MakeSkypeMainDb(db);
    for (const std::string& sql : SkypeChatsStatements()) db.Exec(sql);
    EXPECT_FALSE(db.Holds("zchat"));
    for (const char* table : {"Chats", "ChatMembers", "Transfers", "SMSes"}) EXPECT_EQ(Count(db, table), "0") << table;
    EXPECT_EQ(db.Column("SELECT id FROM Messages ORDER BY id"), (std::vector<std::string>{"1", "2", "4"}));
    // The conversation of the chat alone goes with its participants; those that still hold a call
    // stay as they were, since the call history is the other option's.
    EXPECT_EQ(db.Column("SELECT identity FROM Conversations ORDER BY id"),
              (std::vector<std::string>{"zconv-bob", "zconv-dan"}));
    EXPECT_EQ(db.Column("SELECT identity FROM Participants ORDER BY id"),
              (std::vector<std::string>{"zconv-p-bob", "zconv-p-dan"}));
    EXPECT_FALSE(db.Holds("zconv-eve"));
    EXPECT_FALSE(db.Holds("zconv-p-eve"));
    EXPECT_EQ(Count(db, "Calls"), "1");
    EXPECT_EQ(db.Column("SELECT identity FROM CallMembers"), (std::vector<std::string>{"zcall-bob"}));
}

TEST(AcrobatOrganizer, TheTwoFilesStatements) {
    const std::string unfiled = AcrobatUnfiledFilesDelete();
    EXPECT_TRUE(
        unfiled.starts_with("DELETE FROM Files WHERE favorite_id_1 ISNULL and favorite_id_2 ISNULL and "));
    EXPECT_NE(unfiled.find(" favorite_id_9 ISNULL and favorite_id_10 ISNULL and favorite_id_11 "),
              std::string::npos);
    EXPECT_NE(unfiled.find(" favorite_id_99 ISNULL and favorite_id_100 ISNULL and "), std::string::npos);
    EXPECT_TRUE(unfiled.ends_with(" and favorite_id_127 ISNULL and favorite_id_128 ISNULL"));
    // 24 + 128 conditions of 19 characters plus their digits (9*1 + 90*2 + 29*3 = 276) + 127 * 5.
    EXPECT_EQ(unfiled.size(), 3367u);

    const std::string filed = AcrobatFiledFilesDelete();
    EXPECT_TRUE(
        filed.starts_with("DELETE FROM Files WHERE favorite_id_1 NOT NULL or favorite_id_2 NOT NULL or "));
    EXPECT_TRUE(filed.ends_with(" or favorite_id_127 NOT NULL or favorite_id_128 NOT NULL"));
    // 24 + 128 * 21 + 276 + 127 * 4.
    EXPECT_EQ(filed.size(), 3496u);

    EXPECT_EQ(AcrobatOrganizerHistoryStatements(),
              (std::vector<std::string>{unfiled, "VACUUM"}));
    EXPECT_EQ(
        AcrobatCollectionsStatements(),
        (std::vector<std::string>{
            filed, "VACUUM",
            R"sql(UPDATE Favorites SET favorite_inUse=0,favorite_name="                                " WHERE favorite_inUse=1)sql"}));
}

namespace {

// Files in no collection, in the first and in the last of the 128 collection columns.
void MakeOrganizer(TestDb& db) {
    std::string files = "CREATE TABLE Files (id INTEGER PRIMARY KEY, name TEXT";
    for (int n = 1; n <= 128; ++n) files += ", favorite_id_" + std::to_string(n) + " INTEGER";
    db.Exec(files + ")");
    db.Exec("CREATE TABLE Favorites (favorite_id INTEGER PRIMARY KEY, favorite_name TEXT, favorite_inUse "
            "INTEGER)");
    db.Exec("INSERT INTO Files (id, name) VALUES (1, 'unfiled-one.pdf'), (4, 'unfiled-four.pdf')");
    db.Exec("INSERT INTO Files (id, name, favorite_id_1) VALUES (2, 'filed-two.pdf', 1)");
    db.Exec("INSERT INTO Files (id, name, favorite_id_128) VALUES (3, 'filed-three.pdf', 2)");
    db.Exec("INSERT INTO Favorites VALUES (1, 'Taxes 2009', 1), (2, 'Old Stuff', 0)");
}

} // namespace

TEST(AcrobatOrganizer, HistoryKeepsEveryFileInACollection) {
    TestDb db;
    MakeOrganizer(db);
    db.Exec("PRAGMA secure_delete=ON"); // as every cleaning connection has it
    for (const std::string& sql : AcrobatOrganizerHistoryStatements()) db.Exec(sql);
    EXPECT_EQ(db.Column("SELECT name FROM Files ORDER BY id"),
              (std::vector<std::string>{"filed-two.pdf", "filed-three.pdf"}));
    EXPECT_FALSE(db.Holds("unfiled-"));
}

TEST(AcrobatOrganizer, CollectionsGoAndTheirNamesAreBlanked) {
    TestDb db;
    MakeOrganizer(db);
    db.Exec("PRAGMA secure_delete=ON"); // as every cleaning connection has it
    for (const std::string& sql : AcrobatCollectionsStatements()) db.Exec(sql);
    EXPECT_EQ(db.Column("SELECT name FROM Files ORDER BY id"),
              (std::vector<std::string>{"unfiled-one.pdf", "unfiled-four.pdf"}));
    EXPECT_EQ(db.Column("SELECT favorite_name || '|' || favorite_inUse FROM Favorites ORDER BY favorite_id"),
              (std::vector<std::string>{std::string(32, ' ') + "|0", "Old Stuff|0"}));
    EXPECT_FALSE(db.Holds("filed-t"));
    EXPECT_FALSE(db.Holds("Taxes 2009"));
}

TEST(SkypeMainDb, PurgeRebuildsTheFileWithoutTheFreedPages) {
    EXPECT_EQ(SkypePurgeStatements(), (std::vector<std::string>{"VACUUM"}));
    TestDb db;
    db.Exec("CREATE TABLE Messages (id INTEGER PRIMARY KEY, body_xml TEXT)");
    db.Exec("INSERT INTO Messages (body_xml) VALUES ('meet me at the old mill at nine')");
    db.Exec("DELETE FROM Messages"); // deleted by Skype itself, with secure delete off
    ASSERT_TRUE(db.Holds("the old mill"));
    for (const std::string& sql : SkypePurgeStatements()) db.Exec(sql);
    EXPECT_FALSE(db.Holds("the old mill"));
}

TEST(AcrobatDataFolder, RoamingBecomesLocalLowAdobeAcrobat) {
    EXPECT_EQ(AcrobatDataFolder("C:\\Users\\ann\\AppData\\Roaming"),
              "C:\\Users\\ann\\AppData\\LocalLow\\Adobe\\Acrobat");
    // Every occurrence, as the layout is read.
    EXPECT_EQ(AcrobatDataFolder("D:\\Roaming\\x\\Roaming"),
              "D:\\LocalLow\\Adobe\\Acrobat\\x\\LocalLow\\Adobe\\Acrobat");
    EXPECT_EQ(AcrobatDataFolder(""), "");
}

TEST(AcrobatDataFolder, WithoutRoamingItIsTheAcrobatFolderNeverTheRoamingFolder) {
    EXPECT_EQ(AcrobatDataFolder("C:\\Documents and Settings\\ann\\Application Data"),
              "C:\\Documents and Settings\\ann\\Application Data\\Adobe\\Acrobat");
    EXPECT_EQ(AcrobatDataFolder("E:\\"), "E:\\Adobe\\Acrobat");
    // Case matters, as in the substitution: "roaming" is no "Roaming".
    EXPECT_EQ(AcrobatDataFolder("C:\\roaming"), "C:\\roaming\\Adobe\\Acrobat");
}
