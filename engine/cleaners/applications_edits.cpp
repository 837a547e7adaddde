#include "engine/cleaners/applications_edits.h"

namespace {

constexpr auto npos = std::string_view::npos;

// A value of 32 blanks in SQL: it overwrites a row's text in place before the row is deleted.
// Double-quoted, it is a string only while SQLite accepts double-quoted strings (SQLITE_DQS left
// at its default); otherwise the UPDATEs fail and only secure delete scrubs the rows.
constexpr char kBlankValue[] = "\"                                \"";
static_assert(sizeof(kBlankValue) == 32 + 2 + 1);

constexpr int kFavoriteColumns = 128;

// "DELETE FROM Files WHERE " + "favorite_id_N" + `test` for N = 1..128, joined by `joint`.
std::string FilesDelete(const char* test, const char* joint) {
    std::string sql = "DELETE FROM Files WHERE ";
    for (int n = 1; n <= kFavoriteColumns; ++n) {
        if (n > 1) sql += joint;
        sql += "favorite_id_";
        sql += std::to_string(n);
        sql += test;
    }
    return sql;
}

} // namespace

std::optional<std::string> SkypeConfigWithoutLastDialed(std::string_view text) {
    constexpr std::string_view kOpen = "<LastDialedNumbers>";
    const size_t p = text.find(kOpen);
    if (p == npos || p == 0) return std::nullopt;
    const size_t s = p + kOpen.size();
    const size_t e = text.find("</LastDialedNumbers>", s);
    if (e == npos || e <= s) return std::nullopt;
    std::string out;
    out.reserve(text.size() - (e - s));
    out.append(text.substr(0, s));
    out.append(text.substr(e));
    return out;
}

// Skype records a call in the conversation it belongs to as two messages: the call started (30)
// and ended (39). They are call history; every other message is chat history.
constexpr char kCallEvent[] = "type IN (30,39)";
constexpr char kNotCallEvent[] = "(type IS NULL OR type NOT IN (30,39))";
// The conversations no message refers to any longer, and the participants of conversations gone.
constexpr char kConversationsWithoutMessages[] =
    "id NOT IN (SELECT convo_id FROM Messages WHERE convo_id NOT NULL)";
constexpr char kParticipantsOfNoConversation[] = "(convo_id IS NULL OR convo_id NOT IN (SELECT id FROM Conversations))";

std::vector<std::string> SkypeCallsStatements() {
    const std::string b = kBlankValue;
    const std::string callEvents = std::string(" WHERE ") + kCallEvent;
    return {
        "UPDATE CallMembers SET call_name=" + b + ",identity=" + b + ",dispname=" + b + ",debuginfo=" + b +
            ",real_identity=" + b + ",price_per_minute=0",
        "DELETE FROM CallMembers WHERE 1=1",
        "DELETE FROM Calls WHERE 1=1",
        "UPDATE Messages SET body_xml=" + b + ",chatname=" + b + ",identities=" + b + callEvents,
        "DELETE FROM Messages" + callEvents,
    };
}

std::vector<std::string> SkypeChatsStatements() {
    const std::string b = kBlankValue;
    const std::string chatMessages = std::string(" WHERE ") + kNotCallEvent;
    const std::string emptyConversations = std::string(" WHERE ") + kConversationsWithoutMessages;
    const std::string orphanParticipants = std::string(" WHERE ") + kParticipantsOfNoConversation;
    return {
        "DELETE FROM ChatMembers WHERE 1=1",
        "DELETE FROM Chats WHERE 1=1",
        "UPDATE Messages SET body_xml=" + b + ",chatname=" + b + ",identities=" + b + chatMessages,
        "DELETE FROM Messages" + chatMessages,
        "UPDATE Conversations SET identity=" + b + ",displayname=" + b + ",given_displayname=" + b +
            emptyConversations,
        "DELETE FROM Conversations" + emptyConversations,
        "UPDATE Participants SET debuginfo=" + b + ",identity=" + b + orphanParticipants,
        "DELETE FROM Participants" + orphanParticipants,
        "DELETE FROM Transfers WHERE 1=1",
        "UPDATE SMSes SET price=0,target_numbers=" + b + ",body=" + b + ",reply_to_number=" + b,
        "DELETE FROM SMSes WHERE 1=1",
    };
}

std::vector<std::string> SkypePurgeStatements() {
    return {"VACUUM"};
}

std::string AcrobatDataFolder(const std::string& roaming) {
    constexpr std::string_view kRoaming = "Roaming";
    if (roaming.empty()) return {};
    if (roaming.find(kRoaming) == npos) {
        const bool endsInSeparator = roaming.back() == '\\';
        return roaming + (endsInSeparator ? "" : "\\") + "Adobe\\Acrobat";
    }
    std::string folder;
    size_t from = 0;
    for (size_t at; (at = roaming.find(kRoaming, from)) != npos; from = at + kRoaming.size()) {
        folder.append(roaming, from, at - from);
        folder += "LocalLow\\Adobe\\Acrobat";
    }
    folder.append(roaming, from);
    return folder;
}

bool AcrobatDataFolderIsOwn(const std::string& roaming) {
    return roaming.find("Roaming") != npos;
}

std::string AcrobatUnfiledFilesDelete() {
    return FilesDelete(" ISNULL", " and ");
}

std::string AcrobatFiledFilesDelete() {
    return FilesDelete(" NOT NULL", " or ");
}

std::vector<std::string> AcrobatOrganizerHistoryStatements() {
    return {AcrobatUnfiledFilesDelete(), "VACUUM"};
}

std::vector<std::string> AcrobatCollectionsStatements() {
    return {AcrobatFiledFilesDelete(), "VACUUM",
            std::string("UPDATE Favorites SET favorite_inUse=0,favorite_name=") + kBlankValue +
                " WHERE favorite_inUse=1"};
}
