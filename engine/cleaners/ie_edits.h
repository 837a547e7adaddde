#pragma once
// The pure steps of the Internet Explorer family cleaners: the Maxthon "Config.ini" editor and the
// rules that pick MSN Explorer's items out of Protected Storage. Portable: no Windows header.
//
// An editor takes a file's whole content and returns the new content, or nothing when the file
// stays as it is; the caller only reads, writes back from offset 0 and sets the new length.
#include <optional>
#include <string>
#include <string_view>

// Empties the "[typedurls]" section of one Maxthon "Config.ini" (`ClearMaxthonTypedUrls`):
// everything from the second character after the section name up to, but not including, the
// character before the next section's "[" at the start of a line goes, so the section keeps its
// header line and the line break before the next section. When no section follows, everything
// after the header line goes. Nothing changes when the section name is absent or stands at byte 0,
// when no "url" follows it anywhere, or when there is nothing to cut.
std::optional<std::string> MaxthonConfigWithoutTypedUrls(std::string_view text);

// Maxthon 2 run without rights to its "Program Files" folder writes below the user's virtual store:
// the roaming application-data folder with every "Roaming" replaced by
// "Local\\VirtualStore\\Program Files\\Maxthon2" (unchanged on a layout without "Roaming").
std::string MaxthonVirtualStoreFolder(std::string_view roamingAppData);

// Protected Storage of one user: the key below HKEY_CURRENT_USER (NT: the SID in text form) or
// below HKEY_LOCAL_MACHINE (9x: the logon name).
inline constexpr std::string_view kProtectedStorageRoot =
    "Software\\Microsoft\\Protected Storage System Provider\\";
inline constexpr std::string_view kIEAutoCompleteType = "e161255a-37c3-11d2-bcaa-00c04fd929db";
std::string ProtectedStorageKey(std::string_view user);

// A type's or subtype's "Display String" as read from the registry (a missing value read as empty):
// the text up to its first NUL is exactly "MSN".
bool IsMsnDisplayString(std::string_view data);

// Whether `ClearMSNProtectedStorage` deletes an item below an MSN subtype. Items whose names begin with
// "http://", "https://" or "ftp://" (case-sensitive) are saved site passwords and go with `clearPasswords`;
// all others are AutoComplete entries and go with `clearHistory`; "MARSUSERPROTECTEDINFO" always stays.
bool IsMsnItemToDelete(std::string_view itemName, bool clearPasswords, bool clearHistory);
