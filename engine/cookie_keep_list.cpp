#include "engine/cookie_keep_list.h"

#include <algorithm>

namespace {

constexpr size_t kLongestHost = 253, kLongestLabel = 63;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::vector<std::string_view> Labels(std::string_view host) {
    std::vector<std::string_view> labels;
    size_t start = 0;
    for (;;) {
        const size_t dot = host.find('.', start);
        labels.push_back(host.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
        if (dot == std::string_view::npos) return labels;
        start = dot + 1;
    }
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// Four decimal numbers up to 255, without leading zeros (which some resolvers read as octal).
bool IsIPv4(const std::vector<std::string_view>& labels) {
    if (labels.size() != 4) return false;
    for (std::string_view label : labels) {
        if (!AllDigits(label) || label.size() > 3 || (label.size() > 1 && label[0] == '0')) return false;
        if (std::stoi(std::string(label)) > 255) return false;
    }
    return true;
}

bool IsHostLabel(std::string_view label) {
    return !label.empty() && label.size() <= kLongestLabel &&
           std::all_of(label.begin(), label.end(), [](char c) { return IsLower(c) || IsDigit(c) || c == '-' || c == '_'; });
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// `host` is `kept` or a host below it.
bool IsAtOrBelow(std::string_view host, const KeepEntry& kept) {
    if (host == kept.host) return true;
    return !kept.address && host.size() > kept.host.size() && EndsWith(host, kept.host) &&
           host[host.size() - kept.host.size() - 1] == '.';
}

} // namespace

std::string KeepEntry::Text() const { return port ? host + ":" + std::to_string(port) : host; }

std::optional<KeepEntry> ParseKeepEntry(std::string_view text) {
    std::string entry = Lower(Trim(text));
    std::string_view rest = entry;
    // "https://example.com/path": the scheme and what follows the host are let go.
    if (const size_t scheme = rest.find("://"); scheme != std::string_view::npos) {
        const std::string_view name = rest.substr(0, scheme);
        if (name.empty() || !std::all_of(name.begin(), name.end(), IsLower)) return std::nullopt;
        rest.remove_prefix(scheme + 3);
        rest = rest.substr(0, rest.find_first_of("/?#"));
    } else if (const size_t slash = rest.find('/'); slash != std::string_view::npos) {
        // Only a bare trailing slash: "example.com/" is a host, "example.com/x" a path.
        if (slash + 1 != rest.size()) return std::nullopt;
        rest.remove_suffix(1);
    }
    KeepEntry kept;
    if (const size_t colon = rest.find(':'); colon != std::string_view::npos) {
        const std::string_view port = rest.substr(colon + 1);
        if (!AllDigits(port) || port.size() > 5) return std::nullopt;
        const int number = std::stoi(std::string(port));
        if (number < 1 || number > 65535) return std::nullopt;
        kept.port = static_cast<uint16_t>(number);
        rest = rest.substr(0, colon);
    }
    if (!rest.empty() && rest.front() == '.') rest.remove_prefix(1);
    if (!rest.empty() && rest.back() == '.') rest.remove_suffix(1);
    if (rest.empty() || rest.size() > kLongestHost) return std::nullopt;
    const std::vector<std::string_view> labels = Labels(rest);
    if (!std::all_of(labels.begin(), labels.end(), IsHostLabel)) return std::nullopt;
    // A name whose last label is a number is an address or nothing: "1.2.3" and "300.1.1.1" are no host.
    if (AllDigits(labels.back())) {
        if (!IsIPv4(labels)) return std::nullopt;
        kept.address = true;
    }
    kept.host = std::string(rest);
    return kept;
}

std::string CookieHostKey(std::string_view host) {
    std::string key = Lower(Trim(host));
    const size_t first = key.find_first_not_of('.');
    if (first == std::string::npos) return {};
    key.erase(0, first);
    while (!key.empty() && key.back() == '.') key.pop_back();
    return key;
}

std::optional<CookieKeepList> CookieKeepList::FromStored(const std::vector<std::string>& values) {
    CookieKeepList list;
    for (const std::string& value : values) {
        const std::optional<KeepEntry> entry = ParseKeepEntry(value);
        if (!entry) return std::nullopt;
        list.Add(*entry);
    }
    return list;
}

std::vector<std::string> CookieKeepList::Stored() const {
    std::vector<std::string> values;
    for (const KeepEntry& entry : entries_) values.push_back(entry.Text());
    return values;
}

bool CookieKeepList::Add(const KeepEntry& entry) {
    // Only what parses goes in, exactly as it parses: the SQL condition relies on it.
    const std::optional<KeepEntry> checked = ParseKeepEntry(entry.Text());
    if (!checked || !(*checked == entry)) return false;
    if (std::find(entries_.begin(), entries_.end(), entry) != entries_.end()) return false;
    entries_.push_back(entry);
    return true;
}

bool CookieKeepList::Remove(const KeepEntry& entry) {
    const auto found = std::find(entries_.begin(), entries_.end(), entry);
    if (found == entries_.end()) return false;
    entries_.erase(found);
    return true;
}

bool CookieKeepList::KeepsCookieHost(std::string_view host) const {
    const std::string key = CookieHostKey(host);
    if (key.empty()) return false;
    return std::any_of(entries_.begin(), entries_.end(), [&](const KeepEntry& e) { return IsAtOrBelow(key, e); });
}

bool CookieKeepList::KeepsOrigin(std::string_view host, uint16_t port) const {
    const std::string key = CookieHostKey(host);
    if (key.empty()) return false;
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const KeepEntry& e) { return (e.port == 0 || e.port == port) && IsAtOrBelow(key, e); });
}

std::string CookieKeepList::SqlKeptCondition(std::string_view column) const {
    if (entries_.empty()) return "(0)";
    // The host as the browsers store it: lower case already, a leading dot for a domain cookie.
    const std::string host = "lower(ltrim(" + std::string(column) + ",'.'))";
    std::string condition = "(";
    for (size_t i = 0; i < entries_.size(); ++i) {
        const KeepEntry& e = entries_[i];
        if (i) condition += " OR ";
        condition += host + "='" + e.host + "'";
        // substr(x,-n): the last n characters; the dot in front is what keeps lookalikes out.
        if (!e.address)
            condition += " OR substr(" + host + ",-" + std::to_string(e.host.size() + 1) + ")='." + e.host + "'";
    }
    return condition + ")";
}

KeepImport ParseKeepImport(std::string_view text) {
    KeepImport result;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    size_t number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        const std::optional<KeepEntry> entry = ParseKeepEntry(line);
        if (!entry) {
            if (!result.rejected++) result.firstRejectedLine = number;
            continue;
        }
        if (std::find(result.entries.begin(), result.entries.end(), *entry) == result.entries.end())
            result.entries.push_back(*entry);
    }
    return result;
}
