#pragma once
// The words the report view, the confirmation after a clearing and the command line use for a
// clearing's record. Portable: no Windows header.
#include <string>

#include "engine/run_record.h"

enum class ItemColumn { Item, Action, SizeOrRows, Reason };
enum class GroupColumn { Group, Profile, Kind, Removed, Left, SizeOrRows };

// One cell of an item's line: "C:\...\places.sqlite (table moz_places)", "removed file",
// "12 rows, 1.2 MB", "held by firefox.exe (process 412)".
std::string ItemCell(const RecordItem& item, ItemColumn column);
// One cell of a line of totals: "Firefox", "default", "History", "12", "1", "3 rows, 4.0 KB".
std::string GroupCell(const GroupTotal& group, GroupColumn column);

// What the view says above its lists: when and how the clearing ran (or that a preview changed
// nothing), then its summary. Null: nothing was recorded yet.
std::string ReportHeading(const RunRecord* record);

// The question that follows the summary in the confirmation after a clearing.
extern const char kReportOffer[];
// `firstLine` ("All selected items have been deleted.", "Done"), the summary, and the offer.
std::string ConfirmationText(const std::string& firstLine, const RunRecord& record);
// Whether a box's text ends with the offer to see the report.
bool IsReportOffer(const std::string& text);
