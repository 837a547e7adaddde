// Skype "config.xml" editing and the statements run on Skype's and Acrobat's databases. Expected
// texts are written out by hand; the statement texts are the system's own, copied as they are.
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

TEST(SkypeMainDb, CallAndChatStatements) {
    const std::string b = R"("                                ")";
    const std::vector<std::string> calls = {
        "UPDATE CallMembers SET call_name=" + b + ",identity=" + b + ",dispname=" + b + ",debuginfo=" + b +
            ",real_identity=" + b + ",price_per_minute=0",
        "DELETE FROM CallMembers WHERE 1=1",
        "DELETE FROM Calls WHERE 1=1",
        "UPDATE Messages SET body_xml=" + b + ",chatname=" + b + ",identities=" + b + " WHERE type IN (30,39)",
        "DELETE FROM Messages WHERE type IN (30,39)",
    };
    EXPECT_EQ(SkypeCallsStatements(), calls);
    const std::string chatMessages = " WHERE (type IS NULL OR type NOT IN (30,39))";
    const std::string emptyConversations = " WHERE id NOT IN (SELECT convo_id FROM Messages WHERE convo_id NOT NULL)";
    const std::string orphans = " WHERE (convo_id IS NULL OR convo_id NOT IN (SELECT id FROM Conversations))";
    const std::vector<std::string> chats = {
        "DELETE FROM ChatMembers WHERE 1=1",
        "DELETE FROM Chats WHERE 1=1",
        "UPDATE Messages SET body_xml=" + b + ",chatname=" + b + ",identities=" + b + chatMessages,
        "DELETE FROM Messages" + chatMessages,
        "UPDATE Conversations SET identity=" + b + ",displayname=" + b + ",given_displayname=" + b +
            emptyConversations,
        "DELETE FROM Conversations" + emptyConversations,
        "UPDATE Participants SET debuginfo=" + b + ",identity=" + b + orphans,
        "DELETE FROM Participants" + orphans,
        "DELETE FROM Transfers WHERE 1=1",
        "UPDATE SMSes SET price=0,target_numbers=" + b + ",body=" + b + ",reply_to_number=" + b,
        "DELETE FROM SMSes WHERE 1=1",
    };
    EXPECT_EQ(SkypeChatsStatements(), chats);
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
