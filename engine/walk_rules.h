#pragma once
// Name rules of the folder walks and the path arithmetic of the cleaners that derive one folder
// from another. Portable: no Windows header. All comparisons are byte for byte (case-sensitive).
#include <cstdint>
#include <string>
#include <vector>

// The last four characters of `name` equal `suffix`; a name shorter than four characters is
// compared whole.
bool MatchesSuffix(const std::string& name, const std::string& suffix);
// The first prefix.size() characters of `name` equal `prefix`.
bool MatchesPrefix(const std::string& name, const std::string& prefix);
// "12345678.s" and ".s" yes; "a1.s", "12.34.s", "12345678.S" no.
bool IsDigitNamedSFile(const std::string& name);

// The final path of an entry is its folder's final path, a backslash (unless the folder's ends in
// one, as a drive root does) and its name: otherwise the entry leads somewhere else. Letters are
// compared without regard to case (ASCII), as the file system compares them.
bool IsEntryOfFolder(const std::string& entryFinal, const std::string& folderFinal, const std::string& name);

// `key` + "\\" unless it already ends with a backslash.
std::string RegistryChildPrefix(const std::string& key);

// The temporary folder beside the history folder: H = "...\X\History" gives "...\X\Temp";
// empty when H does not end in exactly "\History" (or that backslash is the first character).
std::string TempBesideHistory(const std::string& historyFolder);
// The local application-data folder has a Temp below it worth emptying: it ends in "\Local"
// (Vista and later) or "\Application Data" (XP).
bool LocalAppDataHasTemp(const std::string& localAppData);

// What a directory entry with these attributes and reparse tag is to a walk. Only name surrogates
// (symbolic links, junctions, mount points) lead elsewhere; other reparse points (files compressed
// by the system, deduplicated files) are ordinary files. A cloud placeholder stands for a file
// kept online: removing it removes the file from the user's cloud storage too. A reparse point
// whose tag is unknown (0: the system did not say) counts as a link.
enum class EntryNature { Ordinary, Link, CloudPlaceholder };
EntryNature NatureOf(uint32_t attributes, uint32_t reparseTag);

// "S-1-<authority>-<sub>-<sub>...", the authority being the last byte of the six-byte authority.
std::string FormatSidText(uint8_t authorityLastByte, const std::vector<uint32_t>& subAuthorities);
