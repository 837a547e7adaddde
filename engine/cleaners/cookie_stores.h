#pragma once
// How each cookie store and each store of site data names its sites, and the statements that clean
// a cookie database around the sites to keep. Portable: no Windows header.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cookie_keep_list.h"

// Chromium's "Network\Cookies" (and the "Cookies" of older versions): every cookie whose host the
// list does not keep. Run through the database recipe, so secure delete and the journal apply.
std::vector<std::string> ChromiumCookieStatements(const CookieKeepList& keep);
// Firefox's "cookies.sqlite", the same way.
std::vector<std::string> FirefoxCookieStatements(const CookieKeepList& keep);
// "databases\Databases.db": the web sites' rows of the index of Web SQL databases, but for the
// sites kept.
std::vector<std::string> ChromiumWebDatabaseIndexStatements(const CookieKeepList& keep);

struct SiteOrigin {
    std::string host;
    uint16_t port = 0; // 0: the scheme's own port
};
// The site of a Chromium site-data folder: "https_www.example.com_0.indexeddb.leveldb",
// "http_192.168.1.10_8080", "https_site.example_0.indexeddb.blob". Nothing for an extension's
// folder or a name that is not one of a web site.
std::optional<SiteOrigin> OriginOfChromiumSiteFolder(std::string_view name);

// Whether a key of Chromium's "Local Storage\leveldb" goes: the keys of a web site's storage
// ("META:https://tracker.test", "METAACCESS:https://tracker.test", "_https://tracker.test" NUL
// key) unless `keep` keeps the site; never an extension's ("_chrome-extension://<id>" NUL key),
// the database's own ("VERSION") or a key of any other form.
bool IsRemovedLocalStorageKey(std::string_view key, const CookieKeepList& keep);

// The host of a WinINet cookie entry's address, "Cookie:user@www.example.com/path"; nothing when
// the address is of another form.
std::optional<std::string> HostOfWinInetCookie(std::string_view address);

// The hosts an Internet Explorer cookie file names: records of nine lines (name, value,
// host/path, flags, four times, "*"). Nothing when the text is not of that form.
std::optional<std::vector<std::string>> HostsOfIECookieFile(std::string_view text);
