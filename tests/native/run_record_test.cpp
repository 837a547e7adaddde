// The record of a clearing and its reports: the JSON parses, its totals are the sums of its items,
// and the text names every item with its reason.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "engine/run_record.h"
#include "tests/native/record_items.h"

namespace {

RunRecord Sample() {
    RunRecord record;
    record.trigger = "clear-all";
    record.started = "2026-12-08T17:01:41Z";
    record.finished = "2026-12-08T17:01:43Z";
    record.items = {
        Item(ItemAction::Removed, ItemKind::File, "C:\\p\\Cache\\f_000001", 4096, 0, "Google Chrome", "Cache", "Default"),
        Item(ItemAction::Removed, ItemKind::File, "C:\\p\\Cache\\f_000002", 1000, 0, "Google Chrome", "Cache", "Default"),
        Item(ItemAction::Removed, ItemKind::DatabaseTable, "C:\\p\\History", 0, 655, "Google Chrome", "History", "Work"),
        Item(ItemAction::Removed, ItemKind::RegistryValue, "HKEY_CURRENT_USER\\Software\\x", 0, 0, "Windows", "Run History"),
        Item(ItemAction::Left, ItemKind::File, "C:\\p\\Cookies", 0, 0, "Google Chrome", "Cookies", "Default"),
    };
    record.items[4].reason = LeftReason::Held;
    record.items[4].holder = "chrome.exe";
    record.items[4].holderPid = 4242;
    record.items[1].overwrite = Overwrite::NotGuaranteed;
    record.items[1].overwriteNote = "on a solid-state drive";
    return record;
}

} // namespace

TEST(RunRecord, TotalsAndGroupsAddUpTheItems) {
    const RunRecord record = Sample();
    const RunTotals totals = record.Totals();
    EXPECT_EQ(totals.items, 5u);
    EXPECT_EQ(totals.removed, 4u);
    EXPECT_EQ(totals.left, 1u);
    EXPECT_EQ(totals.bytes, 5096u);
    EXPECT_EQ(totals.rows, 655);
    const std::vector<GroupTotal> groups = record.Groups();
    ASSERT_EQ(groups.size(), 4u); // Chrome Default Cache, Chrome Work History, Windows, Chrome Default Cookies
    EXPECT_EQ(groups[0].group, "Google Chrome");
    EXPECT_EQ(groups[0].profile, "Default");
    EXPECT_EQ(groups[0].totals.removed, 2u);
    EXPECT_EQ(groups[0].totals.bytes, 5096u);
    EXPECT_EQ(groups[1].totals.rows, 655);
    EXPECT_EQ(groups[3].totals.left, 1u);
}

TEST(RunRecord, JsonParsesAndItsTotalsAreTheSumsOfItsItems) {
    RunRecord record = Sample();
    // Names a report must carry whole: quotes, backslashes, control characters, UTF-8.
    record.items[0].path = "C:\\Users\\J\xC3\xBCrgen\\\"odd\"\tname\x01";
    const nlohmann::json json = nlohmann::json::parse(ReportJson(record));
    EXPECT_EQ(json["schema"], "zephyrlanthorpe-report/1");
    EXPECT_EQ(json["mode"], "clean");
    EXPECT_EQ(json["trigger"], "clear-all");
    EXPECT_EQ(json["items"][0]["path"], record.items[0].path);
    uint64_t bytes = 0;
    int64_t rows = 0;
    for (const auto& item : json["items"]) {
        bytes += item["bytes"].get<uint64_t>();
        rows += item["rows"].get<int64_t>();
    }
    EXPECT_EQ(json["totals"]["bytes"].get<uint64_t>(), bytes);
    EXPECT_EQ(json["totals"]["rows"].get<int64_t>(), rows);
    EXPECT_EQ(json["totals"]["left"], 1);
    const auto& held = json["items"][4];
    EXPECT_EQ(held["action"], "left");
    EXPECT_EQ(held["reason"], "held");
    EXPECT_EQ(held["holder"], "chrome.exe");
    EXPECT_EQ(held["holderPid"], 4242);
    EXPECT_EQ(json["items"][1]["overwrite"], "not guaranteed");
    EXPECT_EQ(json["groups"].size(), 4u);
}

TEST(RunRecord, TextNamesEveryItemAndWhyItWasLeft) {
    const std::string text = ReportText(Sample());
    for (const RecordItem& item : Sample().items) EXPECT_NE(text.find(item.path), std::string::npos) << item.path;
    EXPECT_NE(text.find("held by chrome.exe (process 4242)"), std::string::npos);
    EXPECT_NE(text.find("overwrite not guaranteed (on a solid-state drive)"), std::string::npos);
    EXPECT_NE(text.find("655 rows"), std::string::npos);
}

TEST(RunRecord, SummarySaysWhatWentAndWhatWasLeft) {
    RunRecord record = Sample();
    EXPECT_EQ(RunSummary(record), "Removed: 2 files (4.98 KB), 655 database rows, 1 registry entry.\n"
                                  "1 item was left (held by another program, denied, or not the profile's own).");
    record.preview = true;
    record.items.pop_back();
    EXPECT_EQ(RunSummary(record), "To be removed: 2 files (4.98 KB), 655 database rows, 1 registry entry.");
}

TEST(RunRecord, HumanSizes) {
    EXPECT_EQ(HumanSize(0), "0 bytes");
    EXPECT_EQ(HumanSize(1), "1 byte");
    EXPECT_EQ(HumanSize(1023), "1023 bytes");
    EXPECT_EQ(HumanSize(1024), "1.00 KB");
    EXPECT_EQ(HumanSize(59400000), "56.6 MB");
    EXPECT_EQ(HumanSize(3ull << 30), "3.00 GB");
}
