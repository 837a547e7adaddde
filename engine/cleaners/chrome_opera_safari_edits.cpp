#include "engine/cleaners/chrome_opera_safari_edits.h"

namespace {
constexpr auto npos = std::string_view::npos;

bool IsXmlBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
} // namespace

std::optional<std::string> OperaIniWithoutKeyLine(std::string_view text, std::string_view key) {
    if (key.empty()) return std::nullopt;
    bool inUserPrefs = false;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        end = end == npos ? text.size() : end + 1; // the line with its line feed, if it has one
        std::string_view line = text.substr(start, end - start);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
        if (!line.empty() && line.front() == '[') {
            inUserPrefs = line == "[User Prefs]";
        } else if (inUserPrefs && line.substr(0, key.size()) == key) {
            // The key itself, not a longer one that begins with it: its "=" follows (blanks allowed).
            size_t after = key.size();
            while (after < line.size() && line[after] == ' ') ++after;
            if (after < line.size() && line[after] == '=') {
                std::string out;
                out.reserve(text.size() - (end - start));
                out.append(text.substr(0, start));
                out.append(text.substr(end));
                return out;
            }
        }
        start = end;
    }
    return std::nullopt;
}

std::optional<std::string> OperaIniWithoutDirs(std::string_view text) {
    std::optional<std::string> edited;
    for (std::string_view key : kOperaIniDirKeys) {
        if (auto next = OperaIniWithoutKeyLine(edited ? std::string_view(*edited) : text, key))
            edited = std::move(next);
    }
    return edited;
}

std::optional<std::string> SafariPlistWithEmptyValue(std::string_view text, const SafariPlistPass& pass) {
    const size_t p = text.find(pass.key);
    if (pass.key.empty() || p == npos || p == 0) return std::nullopt;
    const size_t s = p + pass.key.size() + 1; // the line feed after the key stays
    const size_t a = text.find("<key>", s);
    if (a == npos || a < s + 2) return std::nullopt;
    const size_t cut = a - s - 1; // the next key's indent stays
    // The cut assumes the layout the plist writer uses: the key's line feed and the next key's
    // indent are blanks between elements, and the next key belongs to the same dictionary. Past an
    // "</dict>" the cut would take the end of a dictionary; without the blanks it would leave half a
    // tag on either side. Either way the file would no longer parse, so it is left alone.
    if (!IsXmlBlank(text[s - 1]) || !IsXmlBlank(text[a - 1])) return std::nullopt;
    if (text.substr(s, cut).find("</dict>") != npos) return std::nullopt;
    std::string out;
    out.reserve(text.size() - cut + pass.emptyValue.size());
    out.append(text.substr(0, s));
    out.append(pass.emptyValue);
    out.append(text.substr(s + cut));
    if (out == text) return std::nullopt;
    return out;
}
