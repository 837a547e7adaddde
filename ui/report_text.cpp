#include "ui/report_text.h"

const char kReportOffer[] = "Do you want to see the report?";

namespace {

std::string SizeOrRows(uint64_t bytes, int64_t rows) {
    std::string text;
    if (rows) text = std::to_string(rows) + (rows == 1 ? " row" : " rows");
    if (bytes) text += (text.empty() ? "" : ", ") + HumanSize(bytes);
    return text;
}

std::string ItemName(const RecordItem& item) {
    if (item.detail.empty()) return item.path;
    switch (item.kind) {
    case ItemKind::DatabaseTable: return item.path + " (table " + item.detail + ")";
    case ItemKind::RegistryValue: return item.path + " (value " + item.detail + ")";
    default: return item.path;
    }
}

std::string Reason(const RecordItem& item) {
    std::string text = ReasonName(item.reason);
    if (!item.holder.empty()) {
        text += " by " + item.holder;
        if (item.holderPid) text += " (process " + std::to_string(item.holderPid) + ")";
    }
    // What the item's name does not already say.
    if (!item.detail.empty() && item.kind != ItemKind::DatabaseTable && item.kind != ItemKind::RegistryValue)
        text += (text.empty() ? "" : ": ") + item.detail;
    if (item.overwrite == Overwrite::Guaranteed) text += text.empty() ? "shredded" : "; shredded";
    if (item.overwrite == Overwrite::NotGuaranteed) {
        text += text.empty() ? "" : "; ";
        text += "overwrite not guaranteed";
        if (!item.overwriteNote.empty()) text += " (" + item.overwriteNote + ")";
    }
    return text;
}

// "2026-12-08T17:01:41Z" as "2026-12-08 17:01:41 UTC"; anything else as it is.
std::string ReadableTime(const std::string& utc) {
    if (utc.size() != 20 || utc[10] != 'T' || utc[19] != 'Z') return utc;
    return utc.substr(0, 10) + " " + utc.substr(11, 8) + " UTC";
}

const char* TriggerWords(const std::string& trigger) {
    static const struct {
        const char* trigger;
        const char* words;
    } kTriggers[] = {
        {"clear-all", "Clear All"},
        {"page", "a page's CLEAR"},
        {"watch", "a browser or Skype closing"},
        {"scheduler", "the scheduler"},
        {"hot-key", "the hot key"},
        {"start", "the clearing on start"},
        {"exit", "the clearing on exit"},
        {"command-line", "the command line"},
    };
    for (const auto& known : kTriggers)
        if (trigger == known.trigger) return known.words;
    return nullptr;
}

} // namespace

std::string ItemCell(const RecordItem& item, ItemColumn column) {
    switch (column) {
    case ItemColumn::Item: return ItemName(item);
    case ItemColumn::Action: return std::string(ActionName(item.action)) + " " + KindName(item.kind);
    case ItemColumn::SizeOrRows: return SizeOrRows(item.bytes, item.rows);
    case ItemColumn::Reason: return Reason(item);
    }
    return {};
}

std::string GroupCell(const GroupTotal& group, GroupColumn column) {
    switch (column) {
    case GroupColumn::Group: return group.group.empty() ? "Other" : group.group;
    case GroupColumn::Profile: return group.profile;
    case GroupColumn::Kind: return group.category;
    case GroupColumn::Removed: return std::to_string(group.totals.removed);
    case GroupColumn::Left: return std::to_string(group.totals.left);
    case GroupColumn::SizeOrRows: return SizeOrRows(group.totals.bytes, group.totals.rows);
    }
    return {};
}

std::string ReportHeading(const RunRecord* record) {
    if (!record) return "No clearing has been recorded yet.";
    std::string text;
    if (record->preview) {
        text = "Preview of " + ReadableTime(record->started) +
               ": nothing has been changed. This is what clearing the selected items would do.";
    } else {
        text = "Cleared on " + ReadableTime(record->started);
        if (const char* words = TriggerWords(record->trigger)) text += std::string(" by ") + words;
        text += ".";
    }
    return text + "\n" + RunSummary(*record);
}

std::string ConfirmationText(const std::string& firstLine, const RunRecord& record) {
    return firstLine + "\n" + RunSummary(record) + "\n" + kReportOffer;
}

bool IsReportOffer(const std::string& text) {
    const std::string offer = kReportOffer;
    return text.size() >= offer.size() && text.compare(text.size() - offer.size(), offer.size(), offer) == 0;
}
