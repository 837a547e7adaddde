// The words of the report view, the confirmation and the command line for a clearing's record.
#include <gtest/gtest.h>

#include "tests/native/record_items.h"
#include "ui/report_text.h"

TEST(ReportText, ItemCellsSayWhatWentWhereAndWhyTheRestStayed) {
    RecordItem table = Item(ItemAction::Removed, ItemKind::DatabaseTable, "C:\\p\\places.sqlite", 2048, 12);
    table.detail = "moz_places";
    EXPECT_EQ(ItemCell(table, ItemColumn::Item), "C:\\p\\places.sqlite (table moz_places)");
    EXPECT_EQ(ItemCell(table, ItemColumn::Action), "removed table");
    EXPECT_EQ(ItemCell(table, ItemColumn::SizeOrRows), "12 rows, 2.00 KB");
    EXPECT_EQ(ItemCell(table, ItemColumn::Reason), "");

    RecordItem value = Item(ItemAction::Removed, ItemKind::RegistryValue, "HKEY_CURRENT_USER\\Software\\x");
    value.detail = "url1";
    EXPECT_EQ(ItemCell(value, ItemColumn::Item), "HKEY_CURRENT_USER\\Software\\x (value url1)");
    EXPECT_EQ(ItemCell(value, ItemColumn::SizeOrRows), "");

    RecordItem held = Item(ItemAction::Left, ItemKind::File, "C:\\p\\cookies.sqlite");
    held.reason = LeftReason::Held;
    held.holder = "firefox.exe";
    held.holderPid = 412;
    EXPECT_EQ(ItemCell(held, ItemColumn::Item), "C:\\p\\cookies.sqlite");
    EXPECT_EQ(ItemCell(held, ItemColumn::Action), "left file");
    EXPECT_EQ(ItemCell(held, ItemColumn::Reason), "held by firefox.exe (process 412)");
    held.holderPid = 0;
    EXPECT_EQ(ItemCell(held, ItemColumn::Reason), "held by firefox.exe");

    RecordItem failed = Item(ItemAction::Left, ItemKind::Folder, "C:\\t");
    failed.reason = LeftReason::Failed;
    failed.detail = "error 1117";
    EXPECT_EQ(ItemCell(failed, ItemColumn::Item), "C:\\t");
    EXPECT_EQ(ItemCell(failed, ItemColumn::Reason), "failed: error 1117");

    RecordItem shredded = Item(ItemAction::Removed, ItemKind::File, "C:\\c\\f", 1);
    shredded.overwrite = Overwrite::Guaranteed;
    EXPECT_EQ(ItemCell(shredded, ItemColumn::SizeOrRows), "1 byte");
    EXPECT_EQ(ItemCell(shredded, ItemColumn::Reason), "shredded");
    shredded.overwrite = Overwrite::NotGuaranteed;
    shredded.overwriteNote = "on a solid-state drive";
    shredded.reason = LeftReason::SecondName;
    EXPECT_EQ(ItemCell(shredded, ItemColumn::Reason),
              "a second name; overwrite not guaranteed (on a solid-state drive)");
}

TEST(ReportText, GroupCellsCarryTheGroupsTotals) {
    GroupTotal group{"Firefox", "default", "History", {5, 4, 1, 3000, 7}};
    EXPECT_EQ(GroupCell(group, GroupColumn::Group), "Firefox");
    EXPECT_EQ(GroupCell(group, GroupColumn::Profile), "default");
    EXPECT_EQ(GroupCell(group, GroupColumn::Kind), "History");
    EXPECT_EQ(GroupCell(group, GroupColumn::Removed), "4");
    EXPECT_EQ(GroupCell(group, GroupColumn::Left), "1");
    EXPECT_EQ(GroupCell(group, GroupColumn::SizeOrRows), "7 rows, 2.93 KB");
    group.group.clear();
    EXPECT_EQ(GroupCell(group, GroupColumn::Group), "Other");
}

TEST(ReportText, TheHeadingSaysWhenWhatStartedItAndWhetherItChangedAnything) {
    EXPECT_EQ(ReportHeading(nullptr), "No clearing has been recorded yet.");
    RunRecord record;
    record.started = "2026-12-08T17:01:41Z";
    record.trigger = "hot-key";
    record.items = {Item(ItemAction::Removed, ItemKind::File, "C:\\a", 100)};
    EXPECT_EQ(ReportHeading(&record), "Cleared on 2026-12-08 17:01:41 UTC by the hot key.\n" + RunSummary(record));
    record.trigger = "something new";
    EXPECT_EQ(ReportHeading(&record).rfind("Cleared on 2026-12-08 17:01:41 UTC.\n", 0), 0u);
    record.preview = true;
    EXPECT_EQ(ReportHeading(&record).rfind("Preview of 2026-12-08 17:01:41 UTC: nothing has been changed.", 0), 0u);
    EXPECT_NE(ReportHeading(&record).find("\nTo be removed: 1 file (100 bytes)"), std::string::npos);
}

TEST(ReportText, TheConfirmationKeepsItsFirstLineAndEndsWithTheOffer) {
    RunRecord record;
    record.items = {Item(ItemAction::Removed, ItemKind::File, "C:\\a", 100),
                    Item(ItemAction::Left, ItemKind::File, "C:\\b")};
    const std::string text = ConfirmationText("Done", record);
    EXPECT_EQ(text, "Done\n" + RunSummary(record) + "\n" + kReportOffer);
    EXPECT_TRUE(IsReportOffer(text));
    EXPECT_FALSE(IsReportOffer("Done"));
    EXPECT_FALSE(IsReportOffer(std::string(kReportOffer) + " "));
}
