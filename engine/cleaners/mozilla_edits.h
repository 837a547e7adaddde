#pragma once
// The pure steps of the Mozilla-family cleaners: the "prefs.js" and "localstore.rdf" editors, the
// disk-cache folder named in "prefs.js", and the statements run on "places.sqlite".
// Portable: no Windows header.
//
// An editor takes a file's whole content and returns the new content, or nothing when the file
// stays as it is; the caller only reads, writes back from offset 0 and sets the new length.
// Searches are case-sensitive byte searches.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The remembered folders of "prefs.js", in the order they are emptied.
inline constexpr std::array<std::string_view, 3> kPrefsDownloadDirNames = {
    "browser.download.dir", "browser.download.lastDir", "browser.open.dir"};

// Empties the string value of preference `name`: user_pref("name", "C:\\x"); becomes
// user_pref("name", "");. Only the first occurrence of the name is looked at, and it counts only
// when it is not at byte 0, stands in quotes as a whole name, and its value's quotes and the
// closing `");` follow on the same line. An empty value stays as it is.
std::optional<std::string> PrefWithEmptyValue(std::string_view text, std::string_view name);

// PrefWithEmptyValue for each of kPrefsDownloadDirNames in order, each on the previous result:
// the edit of one "prefs.js" in `ClearPrefsDownloadDirs`.
std::optional<std::string> PrefsWithoutDownloadDirs(std::string_view text);

// Empties the address-bar history of one "localstore.rdf" (`ClearUrlbarHistory`): the entries
// between <RDF:Seq RDF:about="nc:urlbar-history"> and the first "</RDF:Seq>" of the file go, the
// empty sequence stays. Nothing changes when the name is absent or at byte 0, when it does not end
// an "<RDF:Seq" opening tag, or when the file's first "</RDF:Seq>" does not lie after that tag.
std::optional<std::string> LocalstoreWithoutUrlbarHistory(std::string_view text);

// The folder whose files `ClearCacheFolderFromPrefs` removes: the value of
// user_pref("browser.cache.disk.parent_directory", "...") taken verbatim (doubled backslashes are
// kept) + "\\Cache". Nothing when the preference is absent, its value has no closing quote, or the
// value is not an absolute path (an empty one would name "\Cache" on the current drive).
std::optional<std::string> PrefsDiskCacheFolder(std::string_view text);

// What one connection to a "places.sqlite" runs, in order, when `ClearFirefoxHistory` clears the
// history and keeps the bookmarks: blank and delete the favicons and the places that are neither
// bookmarked nor "place:" queries, then delete every visit. (The database recipe turns secure
// delete on first, so the deleted rows leave nothing readable even where a blanking UPDATE fails.)
std::vector<std::string> FirefoxHistoryStatements();

// What current Firefox keeps beside the places and visits of the history statements, run after
// them on the same "places.sqlite": input history, page metadata, download annotations, origins
// without places; the bookmarked places stay with their visit counts, dates and frecency reset.
// On older schemas the statements whose tables are missing fail and change nothing.
std::vector<std::string> FirefoxCurrentHistoryStatements();
// Both lists, as one connection runs them.
std::vector<std::string> AllFirefoxHistoryStatements();
// "places.sqlite" for the download option alone: the pages of downloads that nothing else keeps,
// the download annotations, and the visits that recorded downloads.
std::vector<std::string> FirefoxDownloadStatements();
// "favicons.sqlite", with "places.sqlite" attached as "places" (already cleaned): only the icons of
// the pages the profile keeps stay, and the root icons of their sites.
std::vector<std::string> FirefoxFaviconStatements();
