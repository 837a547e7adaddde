#pragma once
// The pure steps of the Chromium family's cleaners: which profiles "Local State" names and what it
// calls them, which folder names are profiles, which site-data folders belong to web sites rather
// than to extensions, the edit of "Preferences" and the statements run on its databases.
// Portable: no Windows header.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ChromiumProfileName {
    std::string folder; // "Default", "Profile 3"
    std::string name;   // as the browser shows it ("Work"); empty when Local State gives none
};

// The profiles of "Local State"'s profile.info_cache, in file order, with their names; none that
// is not a profile of the user's own (see IsChromiumProfileFolder). Nothing for a text that is not
// JSON.
std::vector<ChromiumProfileName> ProfilesFromLocalState(std::string_view localState);

// A folder name the browser may keep a user's profile under: not the sign-in screen's
// "System Profile" nor the throw-away "Guest Profile", and nothing that leaves the folder it is in.
bool IsChromiumProfileFolder(std::string_view name);

// A folder of site data that belongs to a web site: "https_www.example.com_0.indexeddb.leveldb",
// "http_localhost_8080"; never an extension's ("chrome-extension_<id>_0...") or any other scheme.
bool IsWebOriginFolder(std::string_view name);

// "Preferences" without the servers the browser remembers talking to (net.http_server_properties,
// every host it reached lately); every other byte stays. Nothing when there is no such member.
std::optional<std::string> PreferencesWithoutServerProperties(std::string_view preferences);

// "History": the download list and what belongs to each download, every other table kept.
std::vector<std::string> ChromiumDownloadStatements();
// "Web Data": what was typed into forms; search engines, addresses and cards stay.
std::vector<std::string> ChromiumFormDataStatements();

// Whether the bytes of a File System origin database may name an extension: emptying "File
// System" is then not the web sites' alone to do.
bool MayNameAnExtension(std::string_view bytes);
