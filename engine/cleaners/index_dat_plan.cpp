#include "engine/cleaners/index_dat_plan.h"

uint64_t IndexDatPlan::ClearEnd(uint64_t length) const {
    uint64_t blocks = 1; // the block at 32 is cleared even when the limit lies before it
    if (limit > kKeptHeader) blocks = (limit - kKeptHeader + kBlock - 1) / kBlock;
    const uint64_t end = kKeptHeader + blocks * kBlock;
    if (length <= kKeptHeader) return kKeptHeader;
    return length < end ? length : end;
}

std::string DomStoreFolder(const std::string& roamingAppData) {
    const std::string roaming = "Roaming";
    if (roamingAppData.find(roaming) == std::string::npos) return {};
    std::string out;
    size_t from = 0;
    for (size_t at; (at = roamingAppData.find(roaming, from)) != std::string::npos; from = at + roaming.size()) {
        out.append(roamingAppData, from, at - from);
        out.append("LocalLow\\Microsoft\\Internet Explorer\\DOMStore");
    }
    out.append(roamingAppData, from, std::string::npos);
    return out;
}

std::string IndexBatPath(const std::string& folder) {
    if (folder.empty()) return {};
    return folder + (folder.back() == '\\' ? "" : "\\") + "index.bat";
}

std::string StartupCommand(const std::string& batch) { return "\"" + batch + "\""; }

bool NamesFile(std::string_view value, std::string_view file) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '"')) value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '"')) value.remove_suffix(1);
    if (file.empty() || value.size() != file.size()) return false;
    for (size_t i = 0; i < value.size(); ++i) {
        auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
        if (fold(value[i]) != fold(file[i])) return false;
    }
    return true;
}

namespace {

// cmd expands %NAME% in a batch file even inside quotes, and drops a lone '%', so a folder whose
// name holds a percent sign would send "cd/d" elsewhere. Doubled, it stands for itself.
std::string BatchLiteral(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (c == '%') out += '%';
        out += c;
    }
    return out;
}

} // namespace

std::string IndexBatText(const IndexBatFolders& folders) {
    std::string text = "@echo off\r\n";
    for (const std::string* folder : {&folders.history, &folders.cache, &folders.cookies}) {
        if (folder->empty()) continue;
        // With the delete on a line of its own, a failed "cd/d" would leave "del /S" running in
        // whatever folder is current at logon.
        text += "cd/d \"";
        text += BatchLiteral(*folder);
        text += "\" && del /F /Q /S /A -RSH index.dat > NUL\r\n";
    }
    return text;
}
