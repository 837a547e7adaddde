#include "engine/cleaners/browser_folders.h"

#include <vector>

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The path's components after its root, empty ones (doubled or trailing separators) left out.
std::vector<std::string_view> Components(std::string_view rest) {
    std::vector<std::string_view> parts;
    size_t from = 0;
    while (from <= rest.size()) {
        size_t to = from;
        while (to < rest.size() && !IsSeparator(rest[to])) ++to;
        if (to > from) parts.push_back(rest.substr(from, to - from));
        from = to + 1;
    }
    return parts;
}

} // namespace

bool IsWalkableRegistryFolder(std::string_view folder) {
    size_t folderDepthNeeded = 0;
    std::string_view rest;
    const bool letter = !folder.empty() && ((folder[0] >= 'A' && folder[0] <= 'Z') || (folder[0] >= 'a' && folder[0] <= 'z'));
    if (folder.size() >= 3 && letter && folder[1] == ':' && IsSeparator(folder[2])) {
        rest = folder.substr(3);
        folderDepthNeeded = 1; // C:\Folder
    } else if (folder.size() >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1])) {
        rest = folder.substr(2);
        folderDepthNeeded = 3; // \\server\share\Folder
    } else {
        return false;
    }
    const std::vector<std::string_view> parts = Components(rest);
    size_t depth = 0;
    for (std::string_view part : parts) {
        if (part == "..") return false;
        if (part == "." ) continue;
        // "?" and "." device prefixes (\\?\C:\, \\.\) lead anywhere.
        if (part == "?" && folderDepthNeeded == 3 && depth == 0) return false;
        ++depth;
    }
    return depth >= folderDepthNeeded;
}
