#include "app/options_ini.h"

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Well-formed UTF-8 without NUL: what a file the program wrote, or a person typed, holds.
bool IsUtf8Text(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0) return false;
        size_t more = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 4;
        if (more == 4 || (c >= 0x80 && c < 0xC2)) return false;
        if (i + more >= text.size() && more) return false;
        for (size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) return false;
        i += more + 1;
    }
    return true;
}

} // namespace

std::optional<OptionsIni> OptionsIni::Parse(std::string_view text) {
    // A byte-order mark that an editor may have put in front is no part of the first line; nor is a
    // second one that a careless conversion added (kept, it would be read as a key once and as a
    // mark the next time).
    while (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (!IsUtf8Text(text)) return std::nullopt;
    OptionsIni ini;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string_view content = Trimmed(line);
        if (content.empty() || content.front() == ';' || content.front() == '#') {
            ini.sections_.back().lines.push_back({std::string(line), {}, {}});
        } else if (content.front() == '[') {
            const std::string_view name = content.back() == ']' ? Trimmed(content.substr(1, content.size() - 2)) : "";
            if (name.empty()) return std::nullopt;
            ini.sections_.push_back({std::string(name), {}});
            ini.sections_.back().lines.push_back({std::string(line), {}, {}});
        } else {
            const size_t equals = content.find('=');
            if (equals == std::string_view::npos || equals == 0) return std::nullopt;
            const std::string_view key = Trimmed(content.substr(0, equals));
            if (key.empty()) return std::nullopt;
            ini.sections_.back().lines.push_back(
                {std::string(line), std::string(key), std::string(Trimmed(content.substr(equals + 1)))});
        }
    }
    return ini;
}

std::string OptionsIni::Serialize() const {
    std::string out;
    for (const Section& section : sections_)
        for (const Line& line : section.lines) out += line.text + "\r\n";
    return out;
}

const OptionsIni::Section* OptionsIni::Find(std::string_view name) const {
    for (size_t i = 1; i < sections_.size(); ++i)
        if (SameIgnoringCase(sections_[i].name, name)) return &sections_[i];
    return nullptr;
}

OptionsIni::Section* OptionsIni::Find(std::string_view name) {
    return const_cast<Section*>(static_cast<const OptionsIni*>(this)->Find(name));
}

OptionsIni::Section& OptionsIni::FindOrAdd(std::string_view name) {
    if (Section* found = Find(name)) return *found;
    // A blank line between sections, as a person would write them.
    Section& last = sections_.back();
    if (!last.lines.empty() && !Trimmed(last.lines.back().text).empty()) last.lines.push_back({"", {}, {}});
    sections_.push_back({std::string(name), {{"[" + std::string(name) + "]", {}, {}}}});
    return sections_.back();
}

std::optional<std::string> OptionsIni::Get(std::string_view section, std::string_view key) const {
    if (const Section* found = Find(section))
        for (const Line& line : found->lines)
            if (!line.key.empty() && SameIgnoringCase(line.key, key)) return line.value;
    return std::nullopt;
}

void OptionsIni::Set(std::string_view section, std::string_view key, std::string_view value) {
    Section& target = FindOrAdd(section);
    for (Line& line : target.lines)
        if (!line.key.empty() && SameIgnoringCase(line.key, key)) {
            line.value = value;
            line.text = line.key + "=" + line.value;
            return;
        }
    // After the section's last entry: blank lines and comments that close it stay after it.
    size_t at = target.lines.size();
    while (at > 1 && target.lines[at - 1].key.empty() && Trimmed(target.lines[at - 1].text).empty()) --at;
    target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(at),
                        {std::string(key) + "=" + std::string(value), std::string(key), std::string(value)});
}

bool OptionsIni::GetBool(std::string_view section, std::string_view key, bool fallback) const {
    const std::optional<std::string> value = Get(section, key);
    if (value == "1") return true;
    if (value == "0") return false;
    return fallback;
}

std::vector<std::string> OptionsIni::GetAll(std::string_view section, std::string_view key) const {
    std::vector<std::string> values;
    if (const Section* found = Find(section))
        for (const Line& line : found->lines)
            if (!line.key.empty() && SameIgnoringCase(line.key, key)) values.push_back(line.value);
    return values;
}

void OptionsIni::SetAll(std::string_view section, std::string_view key, const std::vector<std::string>& values) {
    Section& target = FindOrAdd(section);
    std::vector<Line> kept;
    for (Line& line : target.lines)
        if (line.key.empty() || !SameIgnoringCase(line.key, key)) kept.push_back(std::move(line));
    target.lines = std::move(kept);
    size_t at = target.lines.size();
    while (at > 1 && target.lines[at - 1].key.empty() && Trimmed(target.lines[at - 1].text).empty()) --at;
    std::vector<Line> added;
    for (const std::string& value : values) added.push_back({std::string(key) + "=" + value, std::string(key), value});
    target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
}
