#include "engine/cleaners/firefox_profiles.h"

#include <map>

namespace {

struct IniSection {
    std::string name;
    std::map<std::string, std::string> values; // keys in lower case
};

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

// The sections of an ini file in order; lines that are neither a header nor "key=value" are passed
// over, as Firefox's own reader does.
std::vector<IniSection> Sections(std::string_view text) {
    std::vector<IniSection> sections;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            sections.push_back({std::string(line.substr(1, line.size() - 2)), {}});
        } else if (const size_t equals = line.find('='); equals != std::string_view::npos && !sections.empty()) {
            sections.back().values.emplace(Lower(Trim(line.substr(0, equals))), std::string(Trim(line.substr(equals + 1))));
        }
    }
    return sections;
}

bool LooksAbsolute(std::string_view path) {
    return (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) ||
           (path.size() >= 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/'));
}

std::string Key(const ProfileReference& profile) {
    std::string key = Lower(profile.path);
    for (char& c : key)
        if (c == '/') c = '\\';
    while (!key.empty() && key.back() == '\\') key.pop_back();
    return (profile.relative ? "r:" : "a:") + key;
}

} // namespace

std::vector<ProfileReference> ProfilesFromIni(std::string_view profilesIni, std::string_view installsIni) {
    std::vector<ProfileReference> profiles;
    std::vector<std::string> seen;
    auto add = [&](ProfileReference profile) {
        if (profile.path.empty()) return;
        const std::string key = Key(profile);
        for (const std::string& known : seen)
            if (known == key) return;
        seen.push_back(key);
        profiles.push_back(std::move(profile));
    };
    for (const IniSection& section : Sections(profilesIni)) {
        if (Lower(section.name).rfind("profile", 0) != 0) continue;
        const auto path = section.values.find("path");
        const auto relative = section.values.find("isrelative");
        if (path == section.values.end() || relative == section.values.end()) continue;
        add({path->second, relative->second == "1"});
    }
    // An installation's default profile is written as profiles.ini writes its Path.
    for (const IniSection& section : Sections(installsIni)) {
        const auto path = section.values.find("default");
        if (path != section.values.end()) add({path->second, !LooksAbsolute(path->second)});
    }
    return profiles;
}

std::string ProfileFolder(const std::string& root, const ProfileReference& profile) {
    std::string path = profile.path;
    for (char& c : path)
        if (c == '/') c = '\\';
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    if (!profile.relative) return path;
    // A relative path that climbs out of the root ("..") would reach folders no profile owns.
    if (path.find("..") != std::string::npos || LooksAbsolute(path) || path.empty()) return {};
    return root + "\\" + path;
}
