#include "engine/walk_rules.h"

bool MatchesSuffix(const std::string& name, const std::string& suffix) {
    const std::string tail = name.size() < 4 ? name : name.substr(name.size() - 4);
    return tail == suffix;
}

bool MatchesPrefix(const std::string& name, const std::string& prefix) {
    return name.compare(0, prefix.size(), prefix) == 0;
}

bool IsDigitNamedSFile(const std::string& name) {
    if (name.size() < 2 || name.compare(name.size() - 2, 2, ".s") != 0) return false;
    for (size_t i = 0; i + 2 < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return true;
}

namespace {
bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < b.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}
} // namespace

bool IsEntryOfFolder(const std::string& entryFinal, const std::string& folderFinal, const std::string& name) {
    if (folderFinal.empty() || name.empty()) return false;
    const std::string expected =
        folderFinal.back() == '\\' ? folderFinal + name : folderFinal + "\\" + name;
    return SameIgnoringCase(entryFinal, expected);
}

std::string RegistryChildPrefix(const std::string& key) {
    return !key.empty() && key.back() == '\\' ? key : key + "\\";
}

std::string TempBesideHistory(const std::string& historyFolder) {
    const size_t i = historyFolder.rfind('\\');
    if (i == std::string::npos || i == 0) return {};
    if (historyFolder.compare(i, std::string::npos, "\\History") != 0) return {};
    return historyFolder.substr(0, i) + "\\Temp";
}

bool LocalAppDataHasTemp(const std::string& localAppData) {
    const size_t i = localAppData.rfind('\\');
    if (i == std::string::npos) return false;
    const std::string tail = localAppData.substr(i);
    return tail == "\\Local" || tail == "\\Application Data";
}

std::string FormatSidText(uint8_t authorityLastByte, const std::vector<uint32_t>& subAuthorities) {
    // Appended piece by piece: "literal" + std::to_string(...) draws a false -Wrestrict from
    // GCC 12 at -O2.
    std::string text = "S-1-";
    text += std::to_string(authorityLastByte);
    for (uint32_t sub : subAuthorities) {
        text += '-';
        text += std::to_string(sub);
    }
    return text;
}

EntryNature NatureOf(uint32_t attributes, uint32_t reparseTag) {
    constexpr uint32_t kReparsePoint = 0x400, kOffline = 0x1000, kRecallOnOpen = 0x40000,
                       kRecallOnDataAccess = 0x400000;
    constexpr uint32_t kNameSurrogate = 0x20000000;
    // IO_REPARSE_TAG_CLOUD and its sixteen variants, which differ in bits 12 to 15.
    constexpr uint32_t kCloudMask = 0xFFFF0FFF, kCloud = 0x9000001A;
    if (attributes & kReparsePoint) {
        if (reparseTag == 0 || (reparseTag & kNameSurrogate)) return EntryNature::Link;
        if ((reparseTag & kCloudMask) == kCloud) return EntryNature::CloudPlaceholder;
    }
    // Placeholders of other providers say so by their attributes alone.
    if (attributes & (kOffline | kRecallOnOpen | kRecallOnDataAccess)) return EntryNature::CloudPlaceholder;
    return EntryNature::Ordinary;
}
