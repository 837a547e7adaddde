#pragma once
// How a clearing keeps its record: the scope that makes the cleaner record (and, for a preview,
// change nothing), the labels that say which browser or part of Windows and which kind of trace
// each cleaner's items belong to, and the call that puts a cleaner's label in place.
#include <functional>
#include <memory>
#include <string>

#include "engine/history_cleaner.h"

using CleanerOperation = void (HistoryCleaner::*)();

// For its life the cleaner records into `record`; a preview sets dryRun. The record's times are
// stamped at both ends; the cleaner's earlier record, mode and context come back at the end.
class RecordingScope {
public:
    RecordingScope(HistoryCleaner& cleaner, RunRecord& record, bool preview, std::string trigger);
    ~RecordingScope();
    RecordingScope(const RecordingScope&) = delete;
    RecordingScope& operator=(const RecordingScope&) = delete;

private:
    HistoryCleaner& cleaner_;
    RunRecord& record_;
    RunRecord* previousRecord_;
    bool previousDryRun_;
    HistoryCleaner::Context previousContext_;
};

// Sets the context for one part of a cleaner's work, and puts the earlier one back at the end.
class RecordingContext {
public:
    RecordingContext(HistoryCleaner& cleaner, HistoryCleaner::Context context);
    ~RecordingContext() { cleaner_.context = previous_; }
    RecordingContext(const RecordingContext&) = delete;
    RecordingContext& operator=(const RecordingContext&) = delete;

private:
    HistoryCleaner& cleaner_;
    HistoryCleaner::Context previous_;
};

// While it lives (and `pause` is set) nothing is recorded: for the journal a database cleaning
// makes and removes itself.
class RecordingPause {
public:
    RecordingPause(HistoryCleaner& cleaner, bool pause) : cleaner_(cleaner), record_(cleaner.record) {
        if (pause) cleaner.record = nullptr;
    }
    ~RecordingPause() { cleaner_.record = record_; }
    RecordingPause(const RecordingPause&) = delete;
    RecordingPause& operator=(const RecordingPause&) = delete;

private:
    HistoryCleaner& cleaner_;
    RunRecord* record_;
};

// Which browser or part of the system a cleaner cleans, and which kind of trace: "Firefox" and
// "History", "Windows" and "Recycle Bin". Unknown operations have empty labels.
HistoryCleaner::Context LabelOf(CleanerOperation operation);

// Calls the cleaner with its label as the context of whatever it records.
void CallCleaner(HistoryCleaner& cleaner, CleanerOperation operation);

// "2026-12-08T17:01:41Z": the time now, in UTC.
std::string UtcNow();

// Runs `clear` as one recorded clearing (or, with `preview`, a preview that changes nothing):
// the record is kept as the cleaner's last one and, unless it is a preview or `reportsFolder` is
// empty, saved there as a report. The record is given back.
// For the benchmark only: with ZLT_BENCH_NO_RECORD set in the environment, a clearing keeps no
// record (an empty one is given back) and saves nothing, so that the cost of recording can be told.
std::shared_ptr<const RunRecord> RecordedClearing(HistoryCleaner& cleaner, const std::string& trigger, bool preview,
                                                  const std::string& reportsFolder,
                                                  const std::function<void()>& clear);

// Writes the JSON report of `record` to `path` (replaced when it exists), in UTF-8. False when it
// could not be written.
bool WriteReportJson(const RunRecord& record, const std::string& path);

// Writes `record` into `folder` (made when missing) as "<time>-<trigger>.json" and ".txt", in
// UTF-8, and keeps only the newest `keep` reports there. False when it could not be written.
bool SaveRunReport(const RunRecord& record, const std::string& folder, size_t keep = 20);
