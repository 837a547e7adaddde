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

namespace {

// Lower case (ASCII), "/" as "\\", no trailing separator.
std::string Normalised(std::string_view folder) {
    std::string out;
    for (char c : folder) out += c == '/' ? '\\' : (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    while (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

} // namespace

bool IsSystemFolder(std::string_view folder, const SystemFolders& system) {
    const std::string path = Normalised(folder);
    for (const std::string& exact : system.exact)
        if (!exact.empty() && path == Normalised(exact)) return true;
    if (system.users.empty()) return false;
    const std::string users = Normalised(system.users);
    if (path == users) return true;
    const size_t slash = path.rfind('\\');
    return slash != std::string::npos && path.compare(0, slash, users) == 0 && slash == users.size();
}
