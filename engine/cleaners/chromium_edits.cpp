#include "engine/cleaners/chromium_edits.h"

#include "engine/cleaners/json_text.h"

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

} // namespace

bool IsChromiumProfileFolder(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name == "System Profile" || name == "Guest Profile")
        return false;
    return name.find_first_of("\\/:") == std::string_view::npos && name.find("..") == std::string_view::npos;
}

std::vector<ChromiumProfileName> ProfilesFromLocalState(std::string_view localState) {
    std::vector<ChromiumProfileName> profiles;
    const std::optional<JsonDocument> document = JsonDocument::Parse(localState);
    if (!document) return profiles;
    for (const std::string& folder : document->Keys({"profile", "info_cache"})) {
        if (!IsChromiumProfileFolder(folder)) continue;
        bool known = false;
        for (const ChromiumProfileName& p : profiles) known = known || p.folder == folder;
        if (known) continue;
        profiles.push_back({folder, document->String({"profile", "info_cache", folder, "name"}).value_or("")});
    }
    return profiles;
}

bool IsWebOriginFolder(std::string_view name) {
    // The scheme, then the host: "https_" alone names no site.
    for (std::string_view scheme : {std::string_view("https_"), std::string_view("http_")})
        if (StartsWith(name, scheme) && name.size() > scheme.size()) return true;
    return false;
}

std::optional<std::string> PreferencesWithoutServerProperties(std::string_view preferences) {
    const std::optional<JsonDocument> document = JsonDocument::Parse(preferences);
    if (!document) return std::nullopt;
    return document->WithoutMember({"net", "http_server_properties"});
}

std::vector<std::string> ChromiumDownloadStatements() {
    return {"DELETE FROM downloads_url_chains", "DELETE FROM downloads_slices", "DELETE FROM downloads"};
}

std::vector<std::string> ChromiumFormDataStatements() { return {"DELETE FROM autofill"}; }

bool MayNameAnExtension(std::string_view bytes) {
    // Part of the word is enough: a compressed block may have cut it.
    return bytes.find("extension") != std::string_view::npos || bytes.find("chrome-") != std::string_view::npos;
}
