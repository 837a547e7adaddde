#include "engine/cleaners/mozilla_edits.h"

namespace {

constexpr auto npos = std::string_view::npos;

std::string Without(std::string_view text, size_t from, size_t count) {
    std::string out;
    out.reserve(text.size() - count);
    out.append(text.substr(0, from));
    out.append(text.substr(from + count));
    return out;
}

// A value of 32 blanks in SQL: it overwrites a row's text in place before the row is deleted.
// Double-quoted, it is a string only while SQLite accepts double-quoted strings (SQLITE_DQS left
// at its default); otherwise the UPDATEs fail and only secure delete scrubs the rows.
constexpr char kBlankValue[] = "\"                                \"";
static_assert(sizeof(kBlankValue) == 32 + 2 + 1);

// Places that are neither bookmarked nor "place:" queries.
constexpr char kUnbookmarkedPlaces[] =
    " FROM moz_places LEFT JOIN moz_bookmarks ON moz_places.id=moz_bookmarks.fk"
    " WHERE moz_bookmarks.fk ISNULL AND moz_places.url NOT LIKE 'place:%')";

} // namespace

std::optional<std::string> PrefWithEmptyValue(std::string_view text, std::string_view name) {
    const size_t p = text.find(name);
    if (name.empty() || p == npos || p == 0) return std::nullopt;
    const size_t end = p + name.size();
    // Inside a longer name, or in a comment or another value, the quotes and `");` found below
    // would belong to other lines, and the cut would take whole preferences with it.
    if (text[p - 1] != '"' || end >= text.size() || text[end] != '"') return std::nullopt;
    const size_t q = text.find('"', end + 1);
    if (q == npos) return std::nullopt;
    const size_t r = text.find("\");", q + 1);
    if (r == npos || r <= q + 1) return std::nullopt;
    if (text.substr(p, r - p).find_first_of("\r\n") != npos) return std::nullopt;
    return Without(text, q + 1, r - (q + 1));
}

std::optional<std::string> PrefsWithoutDownloadDirs(std::string_view text) {
    std::optional<std::string> edited;
    for (std::string_view name : kPrefsDownloadDirNames) {
        if (auto next = PrefWithEmptyValue(edited ? std::string_view(*edited) : text, name))
            edited = std::move(next);
    }
    return edited;
}

std::optional<std::string> LocalstoreWithoutUrlbarHistory(std::string_view text) {
    constexpr std::string_view kName = "nc:urlbar-history";
    constexpr std::string_view kSeqOpen = "<RDF:Seq";
    const size_t p = text.find(kName);
    if (p == npos || p == 0) return std::nullopt;
    // The name must close the sequence's opening tag; anywhere else the cut would begin inside
    // other markup and end at some other sequence's end tag.
    if (text.substr(p + kName.size(), 2) != "\">") return std::nullopt;
    const size_t tag = text.rfind('<', p);
    if (tag == npos || text.substr(tag, kSeqOpen.size()) != kSeqOpen) return std::nullopt;
    const size_t afterSeq = tag + kSeqOpen.size();
    if (afterSeq >= p || std::string_view(" \t\r\n").find(text[afterSeq]) == npos) return std::nullopt;
    if (text.substr(tag, p - tag).find('>') != npos) return std::nullopt;
    const size_t start = p + kName.size() + 2;
    // The first end tag of the whole file, not the first one after the opening tag.
    const size_t e = text.find("</RDF:Seq>");
    if (e == npos || e <= start) return std::nullopt;
    return Without(text, start, e - start);
}

std::optional<std::string> PrefsDiskCacheFolder(std::string_view text) {
    constexpr std::string_view kPref = "user_pref(\"browser.cache.disk.parent_directory\", \"";
    static_assert(kPref.size() == 50);
    const size_t m = text.find(kPref);
    if (m == npos) return std::nullopt;
    const size_t from = m + kPref.size();
    const size_t q = text.find('"', from);
    if (q == npos) return std::nullopt;
    const std::string_view parent = text.substr(from, q - from);
    const bool drive = parent.size() >= 3 && parent[1] == ':' && (parent[2] == '\\' || parent[2] == '/') &&
                       ((parent[0] >= 'A' && parent[0] <= 'Z') || (parent[0] >= 'a' && parent[0] <= 'z'));
    const bool unc = parent.substr(0, 2) == "\\\\";
    if (!drive && !unc) return std::nullopt;
    return std::string(parent) + "\\Cache";
}

std::vector<std::string> FirefoxHistoryStatements() {
    const std::string blank = kBlankValue;
    return {
        "UPDATE moz_favicons SET url=" + blank + ",data=" + blank +
            " WHERE moz_favicons.id IN (SELECT moz_places.favicon_id" + kUnbookmarkedPlaces,
        std::string("DELETE FROM moz_favicons WHERE moz_favicons.id IN (SELECT moz_places.favicon_id") +
            kUnbookmarkedPlaces,
        "UPDATE moz_places SET url=" + blank + ",title=" + blank + ",rev_host=" + blank +
            " WHERE moz_places.id IN (SELECT moz_places.id" + kUnbookmarkedPlaces,
        std::string("DELETE FROM moz_places WHERE moz_places.id IN (SELECT moz_places.id") +
            kUnbookmarkedPlaces,
        "DELETE FROM moz_historyvisits WHERE 1=1",
    };
}

namespace {
// The places a profile keeps: bookmarked, or "place:" queries (as the history statements keep).
constexpr char kKeptPlaceUrls[] = "SELECT url FROM places.moz_places WHERE id IN (SELECT fk FROM places.moz_bookmarks "
                                  "WHERE fk NOT NULL) OR url LIKE 'place:%'";
constexpr char kDownloadAnnotations[] =
    "anno_attribute_id IN (SELECT id FROM moz_anno_attributes WHERE name LIKE 'downloads/%')";
} // namespace

std::vector<std::string> FirefoxCurrentHistoryStatements() {
    return {
        "DELETE FROM moz_inputhistory WHERE 1=1",
        "DELETE FROM moz_places_metadata WHERE 1=1",
        "DELETE FROM moz_places_metadata_search_queries WHERE 1=1",
        "DELETE FROM moz_historyvisits_extra WHERE 1=1",
        "DELETE FROM moz_places_extra WHERE place_id NOT IN (SELECT id FROM moz_places)",
        std::string("DELETE FROM moz_annos WHERE ") + kDownloadAnnotations,
        "DELETE FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places WHERE origin_id NOT NULL)",
        // The bookmarked pages stay, without the counts and dates of the visits that are gone.
        "UPDATE moz_places SET visit_count=0,last_visit_date=NULL,frecency=0",
        "UPDATE moz_origins SET frecency=0",
    };
}

std::vector<std::string> FirefoxDownloadStatements() {
    return {
        // The pages of downloads that nothing else keeps, their annotations, and the visits that
        // recorded the downloads (visit type 7).
        std::string("DELETE FROM moz_places WHERE id IN (SELECT place_id FROM moz_annos WHERE ") +
            kDownloadAnnotations + ") AND id NOT IN (SELECT fk FROM moz_bookmarks WHERE fk NOT NULL)"
            " AND id NOT IN (SELECT place_id FROM moz_historyvisits WHERE visit_type<>7)",
        std::string("DELETE FROM moz_annos WHERE ") + kDownloadAnnotations,
        "DELETE FROM moz_historyvisits WHERE visit_type=7",
    };
}

std::vector<std::string> FirefoxFaviconStatements() {
    // The host of an icon's address: what follows "://" up to the next "/".
    const std::string rest = "substr(icon_url,instr(icon_url,'://')+3)";
    const std::string host = "substr(" + rest + ",1,instr(" + rest + "||'/','/')-1)";
    return {
        std::string("DELETE FROM moz_pages_w_icons WHERE page_url NOT IN (") + kKeptPlaceUrls + ")",
        "DELETE FROM moz_icons_to_pages WHERE page_id NOT IN (SELECT id FROM moz_pages_w_icons)",
        "DELETE FROM moz_icons WHERE root=0 AND id NOT IN (SELECT icon_id FROM moz_icons_to_pages)",
        // A site's root icon serves every page of the site: it stays while a kept page is there.
        "DELETE FROM moz_icons WHERE root=1 AND NOT EXISTS (SELECT 1 FROM (" + std::string(kKeptPlaceUrls) +
            ") kept WHERE kept.url LIKE '%://' || " + host + " || '/%')",
    };
}
