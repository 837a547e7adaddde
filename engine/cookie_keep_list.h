#pragma once
// The sites whose cookies and site data stay when cookies are cleared: what an entry may be, how a
// cookie's host or a site's origin is matched against the list, the SQL condition that picks the
// kept rows of a cookie database, and the import of a plain-text list. Portable: no Windows header.
//
// An entry is
//  - a domain: "example.com" keeps example.com and every host below it (".example.com",
//    "a.example.com"), never a lookalike ("notexample.com", "example.com.evil.test");
//  - an IPv4 address: "192.168.1.10" keeps that host only;
//  - either with a port: "192.168.1.10:8080". Cookies belong to a host whatever its port, so for
//    cookies the port changes nothing; a site's storage is kept for that port only.
// Entries are stored normalised: lower case, without a leading or trailing dot, without a scheme
// or a path. Only [a-z0-9._-] (and ":" before a port) can be in one, which is what makes the SQL
// condition safe to write out: no entry can close a string literal.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct KeepEntry {
    std::string host; // "example.com", "192.168.1.10"
    uint16_t port = 0; // 0: every port
    bool address = false; // an IPv4 address: no host below it

    // As stored and shown: "example.com", "192.168.1.10:8080".
    std::string Text() const;
    bool operator==(const KeepEntry&) const = default;
};

// An entry from what a person typed or a file holds: blanks around it, a leading dot, a scheme
// ("https://"), a path after the host and upper case are let go. Nothing for anything else (a
// wildcard, a space inside, an empty label, a label over 63 characters, a port out of range,
// characters a host name cannot have).
std::optional<KeepEntry> ParseKeepEntry(std::string_view text);

// The host of a cookie ("A.Example.COM", ".example.com") or a URL's host, in the form entries are
// matched against: lower case, without leading dots. Empty when nothing is left.
std::string CookieHostKey(std::string_view host);

class CookieKeepList {
public:
    CookieKeepList() = default;
    // The list as options.ini stores it, one entry per value. Nothing when any value is no entry:
    // a list that cannot be read whole keeps nothing safe, and the caller touches no cookie.
    static std::optional<CookieKeepList> FromStored(const std::vector<std::string>& values);
    // Each entry's Text(), in the list's order: what options.ini stores.
    std::vector<std::string> Stored() const;

    bool Empty() const { return entries_.empty(); }
    const std::vector<KeepEntry>& Entries() const { return entries_; }
    // False when the entry is on the list already.
    bool Add(const KeepEntry& entry);
    bool Remove(const KeepEntry& entry);

    // Whether the cookies of `host` stay.
    bool KeepsCookieHost(std::string_view host) const;
    // Whether the storage of a web origin stays: `port` 0 when the origin has its scheme's port.
    bool KeepsOrigin(std::string_view host, uint16_t port) const;

    // An SQL expression, true for the rows whose `column` is a host the list keeps: "(0)" for an
    // empty list. `column` is the program's own column name, never a user's text.
    std::string SqlKeptCondition(std::string_view column) const;

private:
    std::vector<KeepEntry> entries_;
};

// What an imported text file gave: its entries in file order without repeats, and how many lines
// were no entry (blank lines and comments, "#" or ";" first, do not count).
struct KeepImport {
    std::vector<KeepEntry> entries;
    size_t rejected = 0;
    size_t firstRejectedLine = 0; // 1-based; 0 when none was
};
KeepImport ParseKeepImport(std::string_view text);
