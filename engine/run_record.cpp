#include "engine/run_record.h"

#include <cstdio>
#include <map>
#include <tuple>

namespace {

void Add(RunTotals& totals, const RecordItem& item) {
    ++totals.items;
    if (item.action == ItemAction::Left)
        ++totals.left;
    else
        ++totals.removed;
    totals.bytes += item.bytes;
    totals.rows += item.rows;
}

// JSON string contents: quotes, backslashes and control characters escaped; the UTF-8 bytes as
// they are.
void AppendJsonString(std::string& out, const std::string& text) {
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

class JsonObject {
public:
    explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
    ~JsonObject() { out_ += '}'; }
    JsonObject& Field(const char* name, const std::string& value) {
        Key(name);
        AppendJsonString(out_, value);
        return *this;
    }
    JsonObject& Field(const char* name, const char* value) { return Field(name, std::string(value)); }
    JsonObject& Number(const char* name, long long value) {
        Key(name);
        out_ += std::to_string(value);
        return *this;
    }
    JsonObject& Unsigned(const char* name, unsigned long long value) {
        Key(name);
        out_ += std::to_string(value);
        return *this;
    }
    JsonObject& Bool(const char* name, bool value) {
        Key(name);
        out_ += value ? "true" : "false";
        return *this;
    }
    // The caller writes the value right after.
    void Key(const char* name) {
        if (!first_) out_ += ',';
        first_ = false;
        AppendJsonString(out_, name);
        out_ += ':';
    }

private:
    std::string& out_;
    bool first_ = true;
};

void TotalsFields(JsonObject& object, const RunTotals& totals) {
    object.Unsigned("items", totals.items)
        .Unsigned("removed", totals.removed)
        .Unsigned("left", totals.left)
        .Unsigned("bytes", totals.bytes)
        .Number("rows", totals.rows);
}

const char* OverwriteName(Overwrite overwrite) {
    switch (overwrite) {
    case Overwrite::None: return "none";
    case Overwrite::Guaranteed: return "guaranteed";
    case Overwrite::NotGuaranteed: return "not guaranteed";
    }
    return "none";
}

std::string Pad(const std::string& text, size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

// What an item's line says beside its path: its size or rows, and the reason it was left.
std::string ItemNote(const RecordItem& item) {
    std::string note;
    if (item.rows) note = std::to_string(item.rows) + (item.rows == 1 ? " row" : " rows");
    if (item.bytes) note += (note.empty() ? "" : ", ") + HumanSize(item.bytes);
    if (item.reason != LeftReason::None) {
        note += note.empty() ? "" : "; ";
        note += ReasonName(item.reason);
        if (!item.holder.empty()) {
            note += " by " + item.holder;
            if (item.holderPid) note += " (process " + std::to_string(item.holderPid) + ")";
        }
    }
    if (item.overwrite == Overwrite::Guaranteed) note += note.empty() ? "shredded" : "; shredded";
    if (item.overwrite == Overwrite::NotGuaranteed)
        note += (note.empty() ? "" : "; ") + std::string("deleted; overwrite not guaranteed") +
                (item.overwriteNote.empty() ? "" : " (" + item.overwriteNote + ")");
    return note;
}

std::string Plural(uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

RunTotals RunRecord::Totals() const {
    RunTotals totals;
    for (const RecordItem& item : items) Add(totals, item);
    return totals;
}

std::vector<GroupTotal> RunRecord::Groups() const {
    std::vector<GroupTotal> groups;
    std::map<std::tuple<std::string, std::string, std::string>, size_t> index;
    for (const RecordItem& item : items) {
        const auto key = std::make_tuple(item.group, item.profile, item.category);
        auto found = index.find(key);
        if (found == index.end()) {
            found = index.emplace(key, groups.size()).first;
            groups.push_back({item.group, item.profile, item.category, {}});
        }
        Add(groups[found->second].totals, item);
    }
    return groups;
}

const char* ActionName(ItemAction action) {
    switch (action) {
    case ItemAction::Removed: return "removed";
    case ItemAction::Emptied: return "emptied";
    case ItemAction::Edited: return "edited";
    case ItemAction::Left: return "left";
    }
    return "removed";
}

const char* KindName(ItemKind kind) {
    switch (kind) {
    case ItemKind::File: return "file";
    case ItemKind::Folder: return "folder";
    case ItemKind::DatabaseTable: return "table";
    case ItemKind::RegistryKey: return "registry key";
    case ItemKind::RegistryValue: return "registry value";
    case ItemKind::TextFile: return "text file";
    case ItemKind::CacheEntry: return "cache entry";
    case ItemKind::Clipboard: return "clipboard";
    case ItemKind::RecycleBin: return "recycle bin";
    case ItemKind::Program: return "program";
    }
    return "file";
}

const char* ReasonName(LeftReason reason) {
    switch (reason) {
    case LeftReason::None: return "";
    case LeftReason::Held: return "held";
    case LeftReason::AccessDenied: return "access denied";
    case LeftReason::Link: return "a link";
    case LeftReason::SecondName: return "a second name";
    case LeftReason::CloudPlaceholder: return "a cloud placeholder";
    case LeftReason::NotFound: return "not found";
    case LeftReason::KeptRunning: return "kept running";
    case LeftReason::Cancelled: return "cancelled";
    case LeftReason::NotCleaned: return "not cleaned";
    case LeftReason::Failed: return "failed";
    case LeftReason::KeepListUnreadable: return "the list of cookies to keep cannot be read";
    case LeftReason::KeptSites: return "sites to keep";
    }
    return "";
}

std::string HumanSize(uint64_t bytes) {
    if (bytes < 1024) return Plural(bytes, "byte", "bytes");
    static const char* const units[] = {"KB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes) / 1024;
    int unit = 0;
    while (value >= 1024 && unit < 3) value /= 1024, ++unit;
    char text[32];
    std::snprintf(text, sizeof text, value < 10 ? "%.2f %s" : value < 100 ? "%.1f %s" : "%.0f %s", value,
                  units[unit]);
    return text;
}

std::string RunSummary(const RunRecord& record) {
    uint64_t files = 0, bytes = 0, entries = 0;
    int64_t rows = 0;
    for (const RecordItem& item : record.items) {
        if (item.action == ItemAction::Left) continue;
        bytes += item.bytes;
        rows += item.rows;
        if (item.kind == ItemKind::File || item.kind == ItemKind::CacheEntry) ++files;
        if (item.kind == ItemKind::RegistryKey || item.kind == ItemKind::RegistryValue) ++entries;
    }
    const RunTotals totals = record.Totals();
    const char* verb = record.preview ? "To be removed" : "Removed";
    std::string text = std::string(verb) + ": " + Plural(files, "file", "files") + " (" + HumanSize(bytes) + "), " +
                       Plural(static_cast<uint64_t>(rows), "database row", "database rows") + ", " +
                       Plural(entries, "registry entry", "registry entries") + ".";
    if (totals.left)
        text += "\n" + Plural(totals.left, "item was", "items were") + (record.preview ? " going to be" : "") +
                " left (held by another program, denied, or not the profile's own).";
    return text;
}

std::string ReportJson(const RunRecord& record) {
    std::string out;
    {
        JsonObject root(out);
        root.Field("schema", "zephyrlanthorpe-report/1")
            .Field("mode", record.preview ? "preview" : "clean")
            .Field("trigger", record.trigger)
            .Field("started", record.started)
            .Field("finished", record.finished);
        root.Key("totals");
        {
            JsonObject totals(out);
            TotalsFields(totals, record.Totals());
        }
        root.Key("groups");
        out += '[';
        bool first = true;
        for (const GroupTotal& group : record.Groups()) {
            if (!first) out += ',';
            first = false;
            JsonObject object(out);
            object.Field("group", group.group).Field("profile", group.profile).Field("category", group.category);
            TotalsFields(object, group.totals);
        }
        out += ']';
        root.Key("items");
        out += "[\n";
        first = true;
        for (const RecordItem& item : record.items) {
            if (!first) out += ",\n";
            first = false;
            JsonObject object(out);
            object.Field("action", ActionName(item.action))
                .Field("kind", KindName(item.kind))
                .Field("path", item.path)
                .Field("detail", item.detail)
                .Unsigned("bytes", item.bytes)
                .Number("rows", item.rows)
                .Field("overwrite", OverwriteName(item.overwrite))
                .Field("overwriteNote", item.overwriteNote)
                .Field("reason", ReasonName(item.reason))
                .Field("holder", item.holder)
                .Unsigned("holderPid", item.holderPid)
                .Field("group", item.group)
                .Field("profile", item.profile)
                .Field("category", item.category);
        }
        out += "\n]";
    }
    out += '\n';
    return out;
}

std::string ReportText(const RunRecord& record) {
    std::string out = std::string(record.preview ? "Preview" : "Clearing") + " (" + record.trigger + "), " +
                      record.started + " to " + record.finished + "\n" + RunSummary(record) + "\n\n";
    out += "Totals\n";
    for (const GroupTotal& group : record.Groups()) {
        std::string name = group.group.empty() ? "(other)" : group.group;
        if (!group.profile.empty()) name += " / " + group.profile;
        if (!group.category.empty()) name += " / " + group.category;
        out += "  " + Pad(name, 48) + " " + Plural(group.totals.removed, "item", "items") + ", " +
               HumanSize(group.totals.bytes);
        if (group.totals.rows) out += ", " + Plural(static_cast<uint64_t>(group.totals.rows), "row", "rows");
        if (group.totals.left) out += ", " + std::to_string(group.totals.left) + " left";
        out += "\n";
    }
    out += "\nItems\n";
    for (const RecordItem& item : record.items) {
        std::string what = item.path;
        if (!item.detail.empty()) what += " [" + item.detail + "]";
        out += "  " + Pad(ActionName(item.action), 8) + " " + Pad(KindName(item.kind), 15) + " " + what;
        const std::string note = ItemNote(item);
        if (!note.empty()) out += "  (" + note + ")";
        out += "\n";
    }
    return out;
}
