#include "engine/cleaners/app_ids.h"

#include <algorithm>

#include "engine/cleaners/browser_folders.h"

std::string ImplicitAppId(std::string_view executable, const std::vector<KnownFolder>& knownFolders) {
    auto separator = [](char c) { return c == '\\' || c == '/'; };
    for (const auto& [folder, id] : knownFolders) {
        const std::string known = NormalisedFolder(folder);
        if (known.empty()) continue;
        // The first separator before which the path names the known folder; the rest is its own.
        for (size_t at = 0; at < executable.size(); ++at) {
            if (!separator(executable[at]) || NormalisedFolder(executable.substr(0, at)) != known) continue;
            while (at < executable.size() && separator(executable[at])) ++at;
            if (at == executable.size()) break;
            std::string rest(executable.substr(at));
            for (char& c : rest)
                if (c == '/') c = '\\';
            return id + "\\" + rest;
        }
    }
    return std::string(executable);
}

std::vector<std::string> DistinctAppIds(const std::vector<std::string>& ids) {
    std::vector<std::string> distinct, seen;
    for (const std::string& id : ids) {
        if (id.empty() || id.size() > 128) continue;
        std::string folded = id;
        for (char& c : folded)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (std::find(seen.begin(), seen.end(), folded) != seen.end()) continue;
        seen.push_back(folded);
        distinct.push_back(id);
    }
    return distinct;
}
