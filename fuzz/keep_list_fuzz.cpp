// Any imported list: every entry it gives is stable (stored and read back, it is itself), holds
// only the characters a host can have, and its SQL condition has exactly the quotes the program
// writes around each entry, so no text can end a string literal early. Whatever the text matches as
// a cookie host, it matches in upper case too. No local-storage key of an extension ever goes,
// whatever follows its scheme.
#include <cstddef>
#include <cstdint>

#include "engine/cleaners/cookie_stores.h"
#include "engine/cookie_keep_list.h"
#include "fuzz/edit_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string in = CopyOf(data, size);
    const KeepImport import = ParseKeepImport(in);
    CookieKeepList list;
    size_t quotes = 0;
    for (const KeepEntry& entry : import.entries) {
        const std::optional<KeepEntry> again = ParseKeepEntry(entry.Text());
        Require(again && *again == entry);
        for (char c : entry.host)
            Require((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_');
        Require(list.Add(entry));
        quotes += entry.address ? 2 : 4;
    }
    const std::optional<CookieKeepList> stored = CookieKeepList::FromStored(list.Stored());
    Require(stored && stored->Stored() == list.Stored());
    std::string sql = list.SqlKeptCondition("host");
    // The program's own quotes around the dot it trims from the column.
    for (size_t at; (at = sql.find("ltrim(host,'.')")) != std::string::npos;) sql.erase(at, 15);
    size_t found = 0;
    for (char c : sql) found += c == '\'' ? 1 : 0;
    Require(found == quotes);
    std::string upper = in;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    Require(list.KeepsCookieHost(in) == list.KeepsCookieHost(upper));
    for (const char* prefix : {"_chrome-extension://", "META:chrome-extension://", "METAACCESS:chrome-extension://"})
        Require(!IsRemovedLocalStorageKey(prefix + in, list));
    IsRemovedLocalStorageKey(in, list);
    return 0;
}
