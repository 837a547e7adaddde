#pragma once
// The pure steps of the Chrome, Opera and Safari cleaners: the Opera ini editor and the Safari
// property-list editor. Portable: no Windows header.
//
// An editor takes a file's whole content and returns the new content, or nothing when the bytes
// stay as they are; the caller only reads, writes back from offset 0 and sets the new length.
// Searches are case-sensitive byte searches.
#include <array>
#include <optional>
#include <string>
#include <string_view>

// The ini files, in the order they are edited, and the keys removed from each, in order.
inline constexpr std::array<std::string_view, 2> kOperaIniFiles = {"opera6.ini", "operaprefs.ini"};
inline constexpr std::array<std::string_view, 2> kOperaIniDirKeys = {"Save Dir", "Open Dir"};

// Removes the first line of the "[User Prefs]" section that sets `key` ("key=value", blanks allowed
// before the "="), with its line feed: no other line is touched, so a longer key that begins with
// this one, or a value that contains it, stays whole. Nothing changes when the section or the key
// is absent.
std::optional<std::string> OperaIniWithoutKeyLine(std::string_view text, std::string_view key);

// OperaIniWithoutKeyLine for each of kOperaIniDirKeys in order, each on the previous result: the
// edit of one ini file in `ClearOperaIniDirs`.
std::optional<std::string> OperaIniWithoutDirs(std::string_view text);

// One pass of `ClearSafariPlistEntries`: which file, which key, and the empty value it gets.
struct SafariPlistPass {
    std::string_view file;
    std::string_view key;
    std::string_view emptyValue;
};
inline constexpr std::array<SafariPlistPass, 2> kSafariPlistPasses = {{
    {"com.apple.Safari.plist", "<key>RecentSearchStrings</key>", "\t<array/>\n"},
    {"Preferences.plist", "<key>DownloadPath</key>", "\t<string/>\n"},
}};

// Replaces the value after the pass's key, from the character after the key's line feed up to the
// character before the next "<key>" (normally that key's indent), with the pass's empty value.
// Nothing changes when the key is absent or at byte 0, when no "<key>" follows it, or when the
// value is already the empty one (binary property lists hold no such text); nor when the cut would
// break the XML: the character after the key or the one before the next "<key>" is not a blank, or
// an "</dict>" lies between them.
std::optional<std::string> SafariPlistWithEmptyValue(std::string_view text, const SafariPlistPass& pass);
