#pragma once
// The pure steps of the application history cleaners: the Skype "config.xml" editor and the
// statements run on Skype's "main.db" and on Acrobat's Organizer databases.
// Portable: no Windows header.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Empties the "<LastDialedNumbers>" element of one Skype "config.xml" (`ClearSkypeLastDialed`):
// everything between it and the first "</LastDialedNumbers>" after it goes; the element stays.
// Nothing changes when the start tag is absent or at byte 0, when no end tag follows it, or when
// the element is already empty. The caller writes the result back from offset 0 and sets the new
// length.
std::optional<std::string> SkypeConfigWithoutLastDialed(std::string_view text);

// Each list below is what one connection runs, in order (the database recipe turns secure delete
// on first, so that the rows deleted without a blanking UPDATE leave nothing readable either).

// "main.db" in `ClearSkypeCalls`: the call members, the calls, and the messages that record a call
// in its conversation (their text blanked before the rows go). Chat messages stay.
std::vector<std::string> SkypeCallsStatements();
// "main.db" in `ClearSkypeChats`: the chats and their members, every message that is no call
// record, the conversations left without messages with their participants, the file transfers and
// the SMSes. Call records and the conversations that hold them stay.
std::vector<std::string> SkypeChatsStatements();
// "main.db" in `PurgeSkypeDatabase`: "VACUUM" rebuilds the file without its free pages.
std::vector<std::string> SkypePurgeStatements();

// "DELETE FROM Files WHERE favorite_id_1 ISNULL and ... and favorite_id_128 ISNULL": the files that
// belong to no collection.
std::string AcrobatUnfiledFilesDelete();
// "DELETE FROM Files WHERE favorite_id_1 NOT NULL or ... or favorite_id_128 NOT NULL": the files
// that belong to some collection.
std::string AcrobatFiledFilesDelete();

// The folder below which Acrobat keeps its Organizer databases, from the roaming application-data
// folder: every "Roaming" becomes "LocalLow\Adobe\Acrobat" (giving "...\AppData\LocalLow\Adobe\Acrobat").
// A roaming folder without "Roaming" (the "Application Data" of older Windows) keeps Acrobat's
// data in its "Adobe\Acrobat" folder: that folder, never the roaming folder itself. There the
// folder also holds Acrobat's trusted identities, stamps, scripts and preferences, so the
// data-folder cleaner removes only the Organizer databases (see AcrobatDataFolderIsOwn).
// Empty for an empty roaming folder.
std::string AcrobatDataFolder(const std::string& roaming);

// Whether the Acrobat data folder of this roaming folder holds nothing but Acrobat's Organizer and
// caches (the LocalLow layout), so that it may be emptied whole.
bool AcrobatDataFolderIsOwn(const std::string& roaming);

// An Organizer database in `ClearAcrobatOrganizerHistory`: the unfiled files go, then "VACUUM".
std::vector<std::string> AcrobatOrganizerHistoryStatements();
// An Organizer database in `ClearAcrobatCollections`: the filed files go, "VACUUM", then
// every collection in use is marked unused with its name blanked.
std::vector<std::string> AcrobatCollectionsStatements();
