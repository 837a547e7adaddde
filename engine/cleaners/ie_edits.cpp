#include "engine/cleaners/ie_edits.h"

namespace {
constexpr auto npos = std::string_view::npos;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}
} // namespace

std::optional<std::string> MaxthonConfigWithoutTypedUrls(std::string_view text) {
    constexpr std::string_view kSection = "[typedurls]";
    const size_t p = text.find(kSection);
    if (p == npos || p == 0) return std::nullopt;
    // Past the name and the carriage return; the line feed after it is the first character cut.
    const size_t s = p + kSection.size() + 1;
    // The next section. A "[" inside a line (a typed address may hold one) is no section: cutting
    // up to it would join the header line to the rest of an address.
    size_t e = text.find('[', s);
    while (e != npos && text[e - 1] != '\n' && text[e - 1] != '\r') e = text.find('[', e + 1);
    if (text.find("url", s) == npos) return std::nullopt;
    if (e == npos) {
        // The section is the file's last: everything after its header line goes, whether or not
        // the last address ends in a line break (keeping the file's last byte would keep a piece
        // of that address and leave the header's carriage return bare).
        const size_t keep = s < text.size() && text[s] == '\n' ? s + 1 : s;
        if (keep >= text.size()) return std::nullopt;
        return std::string(text.substr(0, keep));
    }
    // The character just before the next section (its line feed) stays.
    if (e < s + 2) return std::nullopt;
    const size_t cut = e - s - 1;
    std::string out;
    out.reserve(text.size() - cut);
    out.append(text.substr(0, s));
    out.append(text.substr(s + cut));
    return out;
}

std::string MaxthonVirtualStoreFolder(std::string_view roamingAppData) {
    constexpr std::string_view kRoaming = "Roaming";
    std::string out;
    size_t from = 0;
    for (size_t at; (at = roamingAppData.find(kRoaming, from)) != npos; from = at + kRoaming.size()) {
        out.append(roamingAppData.substr(from, at - from));
        out.append("Local\\VirtualStore\\Program Files\\Maxthon2");
    }
    out.append(roamingAppData.substr(from));
    return out;
}

std::string ProtectedStorageKey(std::string_view user) {
    std::string key(kProtectedStorageRoot);
    key.append(user);
    return key;
}

bool IsMsnDisplayString(std::string_view data) {
    return data.substr(0, data.find('\0')) == "MSN";
}

bool IsMsnItemToDelete(std::string_view itemName, bool clearPasswords, bool clearHistory) {
    if (itemName == "MARSUSERPROTECTEDINFO") return false;
    const bool siteLogin =
        StartsWith(itemName, "http://") || StartsWith(itemName, "https://") || StartsWith(itemName, "ftp://");
    return siteLogin ? clearPasswords : clearHistory;
}
