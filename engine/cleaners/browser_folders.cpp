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

std::string NormalisedFolder(std::string_view folder) {
    // A share keeps its leading pair of separators; after it, doubled separators and "." parts are
    // the same folder as without them.
    const bool share = folder.size() >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1]);
    std::string out = share ? "\\\\" : "";
    for (std::string_view part : Components(share ? folder.substr(2) : folder)) {
        if (part == ".") continue;
        if (!out.empty() && out != "\\\\") out += '\\';
        for (char c : part) out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

bool IsSystemFolder(std::string_view folder, const SystemFolders& system) {
    const std::string path = NormalisedFolder(folder);
    for (const std::string& exact : system.exact)
        if (!exact.empty() && path == NormalisedFolder(exact)) return true;
    if (system.users.empty()) return false;
    const std::string users = NormalisedFolder(system.users);
    if (path == users) return true;
    const size_t slash = path.rfind('\\');
    return slash != std::string::npos && path.compare(0, slash, users) == 0 && slash == users.size();
}

namespace {
// `outer` (normalised) is `inner` (normalised) or a folder above it.
bool IsOrHolds(const std::string& outer, const std::string& inner) {
    return inner.compare(0, outer.size(), outer) == 0 && (inner.size() == outer.size() || inner[outer.size()] == '\\');
}
} // namespace

bool MayEmptyTempFolder(std::string_view temp, const SystemFolders& system,
                        const std::vector<std::string>& userFolders) {
    if (!IsWalkableRegistryFolder(temp) || IsSystemFolder(temp, system)) return false;
    const std::string folder = NormalisedFolder(temp);
    for (const auto& folders : {userFolders, system.exact})
        for (const std::string& kept : folders)
            if (!kept.empty() && IsOrHolds(folder, NormalisedFolder(kept))) return false;
    return true;
}
