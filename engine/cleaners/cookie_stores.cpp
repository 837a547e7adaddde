#include "engine/cleaners/cookie_stores.h"

#include <algorithm>

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// True for the Databases rows of a web origin kept by `keep`. The origins are "https_<host>_<port>";
// GLOB has no wildcard among the characters an entry may hold, so the entries go in as they are.
std::string OriginKeptCondition(const CookieKeepList& keep) {
    if (keep.Empty()) return "(0)";
    std::string condition = "(";
    for (const KeepEntry& e : keep.Entries()) {
        const std::string port = e.port ? std::to_string(e.port) : "*";
        if (condition.size() > 1) condition += " OR ";
        condition += "origin GLOB 'http_" + e.host + "_" + port + "' OR origin GLOB 'https_" + e.host + "_" + port + "'";
        if (!e.address) condition += " OR origin GLOB 'http*." + e.host + "_" + port + "'";
    }
    return condition + ")";
}

} // namespace

std::vector<std::string> ChromiumCookieStatements(const CookieKeepList& keep) {
    return {"DELETE FROM cookies WHERE NOT " + keep.SqlKeptCondition("host_key")};
}

std::vector<std::string> FirefoxCookieStatements(const CookieKeepList& keep) {
    return {"DELETE FROM moz_cookies WHERE NOT " + keep.SqlKeptCondition("host")};
}

std::vector<std::string> ChromiumWebDatabaseIndexStatements(const CookieKeepList& keep) {
    std::string sql = "DELETE FROM Databases WHERE (origin LIKE 'http\\_%' ESCAPE '\\' OR origin LIKE 'https\\_%' ESCAPE '\\')";
    if (!keep.Empty()) sql += " AND NOT " + OriginKeptCondition(keep);
    return {sql};
}

std::optional<SiteOrigin> OriginOfChromiumSiteFolder(std::string_view name) {
    std::string_view rest;
    for (std::string_view scheme : {std::string_view("https_"), std::string_view("http_")})
        if (StartsWith(name, scheme)) {
            rest = name.substr(scheme.size());
            break;
        }
    if (rest.empty()) return std::nullopt;
    for (std::string_view suffix : {std::string_view(".indexeddb.leveldb"), std::string_view(".indexeddb.blob")})
        if (rest.size() > suffix.size() && rest.substr(rest.size() - suffix.size()) == suffix) {
            rest.remove_suffix(suffix.size());
            break;
        }
    // The port is the digits after the last "_".
    const size_t underscore = rest.rfind('_');
    if (underscore == std::string_view::npos || underscore == 0) return std::nullopt;
    const std::string_view port = rest.substr(underscore + 1);
    if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int number = std::stoi(std::string(port));
    if (number > 65535) return std::nullopt;
    return SiteOrigin{std::string(rest.substr(0, underscore)), static_cast<uint16_t>(number)};
}

bool IsRemovedLocalStorageKey(std::string_view key, const CookieKeepList& keep) {
    std::string_view origin;
    if (StartsWith(key, "META:")) {
        origin = key.substr(5);
    } else if (StartsWith(key, "METAACCESS:")) {
        origin = key.substr(11);
    } else if (StartsWith(key, "_")) {
        const size_t end = key.find('\0');
        if (end == std::string_view::npos) return false;
        origin = key.substr(1, end - 1);
    } else {
        return false;
    }
    if (StartsWith(origin, "https://")) {
        origin.remove_prefix(8);
    } else if (StartsWith(origin, "http://")) {
        origin.remove_prefix(7);
    } else {
        return false; // an extension's, or a scheme no web site has
    }
    // The storage key may go on with a path or, partitioned, with "^" and the top-level site: the
    // storage is the embedded site's.
    const std::string_view authority = origin.substr(0, origin.find_first_of("/^"));
    std::string_view host = authority;
    uint16_t port = 0; // the scheme's own, as the site-data folders write it
    if (const size_t colon = authority.rfind(':'); colon != std::string_view::npos && authority.find(']') == std::string_view::npos) {
        const std::string_view digits = authority.substr(colon + 1);
        if (digits.empty() || digits.size() > 5 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return false; // not a site's as far as can be told: it stays
        const int number = std::stoi(std::string(digits));
        if (number > 65535) return false;
        port = static_cast<uint16_t>(number);
        host = authority.substr(0, colon);
    }
    if (host.empty()) return false;
    return !keep.KeepsOrigin(host, port);
}

std::optional<std::string> HostOfWinInetCookie(std::string_view address) {
    constexpr std::string_view kPrefix = "cookie:";
    if (address.size() <= kPrefix.size() || !EqualsNoCase(address.substr(0, kPrefix.size()), kPrefix)) return std::nullopt;
    address.remove_prefix(kPrefix.size());
    const size_t at = address.find('@');
    if (at == std::string_view::npos) return std::nullopt;
    address.remove_prefix(at + 1);
    const std::string_view host = address.substr(0, address.find('/'));
    if (host.empty()) return std::nullopt;
    return std::string(host);
}

std::optional<std::vector<std::string>> HostsOfIECookieFile(std::string_view text) {
    std::vector<std::string> hosts;
    std::vector<std::string_view> record;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line != "*") {
            record.push_back(line);
            continue;
        }
        if (record.size() != 8) return std::nullopt;
        const std::string_view host = record[2].substr(0, record[2].find('/'));
        if (host.empty()) return std::nullopt;
        hosts.emplace_back(host);
        record.clear();
    }
    // A record cut short, or no record at all: not a cookie file as far as can be told.
    if (!record.empty() || hosts.empty()) return std::nullopt;
    return hosts;
}
