#include "engine/recording.h"

#include <shlobj.h>

#include <algorithm>
#include <ctime>
#include <vector>

#include "engine/holders.h"
#include "platform/handles.h"

namespace {

struct Label {
    CleanerOperation operation;
    const char* group;
    const char* category;
};

using H = HistoryCleaner;
const Label kLabels[] = {
    {&H::ClearIEHistory, "Internet Explorer", "History"},
    {&H::ClearIECache, "Internet Explorer", "Cache"},
    {&H::ClearIECookies, "Internet Explorer", "Cookies"},
    {&H::ClearIEPasswords, "Internet Explorer", "Passwords"},
    {&H::ClearIEDownloads, "Internet Explorer", "Downloads"},
    {&H::ClearIEMostPopularSites, "Internet Explorer", "Most Popular Sites"},
    {&H::ClearIELastSession, "Internet Explorer", "Last Session"},
    {&H::ClearHistoryIndexDat, "Internet Explorer", "History index.dat"},
    {&H::ClearCacheIndexDat, "Internet Explorer", "Cache index.dat"},
    {&H::ClearCookiesIndexDat, "Internet Explorer", "Cookies index.dat"},
    {&H::DeleteIEIndexDatFiles, "Internet Explorer", "index.dat files"},
    {&H::ClearFirefoxHistory, "Firefox", "History"},
    {&H::ClearFirefoxCache, "Firefox", "Cache"},
    {&H::ClearFirefoxCookies, "Firefox", "Cookies"},
    {&H::ClearFirefoxPasswords, "Firefox", "Passwords"},
    {&H::ClearFirefoxDownloads, "Firefox", "Downloads"},
    {&H::PurgeFirefoxHistoryDatabase, "Firefox", "History database purge"},
    {&H::ClearFirefoxSessions, "Firefox", "Sessions"},
    {&H::ClearFirefoxFormData, "Firefox", "Form Data"},
    {&H::ClearMozillaHistory, "Mozilla", "History"},
    {&H::ClearMozillaCache, "Mozilla", "Cache"},
    {&H::ClearMozillaCookies, "Mozilla", "Cookies"},
    {&H::ClearMozillaPasswords, "Mozilla", "Passwords"},
    {&H::ClearMozillaDownloads, "Mozilla", "Downloads"},
    {&H::ClearNetscapeHistory, "Netscape", "History"},
    {&H::ClearNetscapeCache, "Netscape", "Cache"},
    {&H::ClearNetscapeCookies, "Netscape", "Cookies"},
    {&H::ClearNetscapePasswords, "Netscape", "Passwords"},
    {&H::ClearNetscapeDownloads, "Netscape", "Downloads"},
    {&H::ClearSafariHistory, "Safari", "History"},
    {&H::ClearSafariCache, "Safari", "Cache"},
    {&H::ClearSafariCookies, "Safari", "Cookies"},
    {&H::ClearSafariPasswords, "Safari", "Passwords"},
    {&H::ClearSafariDownloads, "Safari", "Downloads"},
    {&H::ClearOperaHistory, "Opera", "History"},
    {&H::ClearOperaCache, "Opera", "Cache"},
    {&H::ClearOperaCookies, "Opera", "Cookies"},
    {&H::ClearOperaPasswords, "Opera", "Passwords"},
    {&H::ClearOperaDownloads, "Opera", "Downloads"},
    {&H::ClearOperaSpeedDial, "Opera", "Speed Dial"},
    {&H::ClearChromeHistory, "Google Chrome", "History"},
    {&H::ClearChromeCache, "Google Chrome", "Cache"},
    {&H::ClearChromeCookies, "Google Chrome", "Cookies"},
    {&H::ClearChromePasswords, "Google Chrome", "Passwords"},
    {&H::ClearChromeDownloads, "Google Chrome", "Downloads"},
    {&H::ClearChromeSessions, "Google Chrome", "Sessions"},
    {&H::ClearChromeFormData, "Google Chrome", "Form Data"},
    {&H::ClearEdgeHistory, "Microsoft Edge", "History"},
    {&H::ClearEdgeCache, "Microsoft Edge", "Cache"},
    {&H::ClearEdgeCookies, "Microsoft Edge", "Cookies and Site Data"},
    {&H::ClearEdgePasswords, "Microsoft Edge", "Passwords"},
    {&H::ClearEdgeDownloads, "Microsoft Edge", "Downloads"},
    {&H::ClearEdgeSessions, "Microsoft Edge", "Sessions"},
    {&H::ClearEdgeFormData, "Microsoft Edge", "Form Data"},
    {&H::ClearBraveHistory, "Brave", "History"},
    {&H::ClearBraveCache, "Brave", "Cache"},
    {&H::ClearBraveCookies, "Brave", "Cookies and Site Data"},
    {&H::ClearBravePasswords, "Brave", "Passwords"},
    {&H::ClearBraveDownloads, "Brave", "Downloads"},
    {&H::ClearBraveSessions, "Brave", "Sessions"},
    {&H::ClearBraveFormData, "Brave", "Form Data"},
    {&H::ClearVivaldiHistory, "Vivaldi", "History"},
    {&H::ClearVivaldiCache, "Vivaldi", "Cache"},
    {&H::ClearVivaldiCookies, "Vivaldi", "Cookies and Site Data"},
    {&H::ClearVivaldiPasswords, "Vivaldi", "Passwords"},
    {&H::ClearVivaldiDownloads, "Vivaldi", "Downloads"},
    {&H::ClearVivaldiSessions, "Vivaldi", "Sessions"},
    {&H::ClearVivaldiFormData, "Vivaldi", "Form Data"},
    {&H::ClearOperaTodayHistory, "Opera", "History"},
    {&H::ClearOperaTodayCache, "Opera", "Cache"},
    {&H::ClearOperaTodayCookies, "Opera", "Cookies and Site Data"},
    {&H::ClearOperaTodayPasswords, "Opera", "Passwords"},
    {&H::ClearOperaTodayDownloads, "Opera", "Downloads"},
    {&H::ClearOperaTodaySessions, "Opera", "Sessions"},
    {&H::ClearOperaTodayFormData, "Opera", "Form Data"},
    {&H::EmptyRecycleBin, "Windows", "Recycle Bin"},
    {&H::ClearRecentDocuments, "Windows", "Recent Documents"},
    {&H::EmptyRecentItems, "Windows", "Recent Items"},
    {&H::EmptyTempFolders, "Windows", "Temporary Folders"},
    {&H::ClearRunHistory, "Windows", "Run History"},
    {&H::ClearSearchFilesHistory, "Windows", "Search History"},
    {&H::ClearSearchComputersHistory, "Windows", "Search History"},
    {&H::ClearUserAssist, "Windows", "UserAssist"},
    {&H::ClearStreams, "Windows", "Folder Views"},
    {&H::ClearOpenSaveHistory, "Windows", "Open/Save History"},
    {&H::ClearExplorerLists, "Windows", "Explorer Lists"},
    {&H::ClearThumbnailCaches, "Windows", "Thumbnail Caches"},
    {&H::ClearErrorReports, "Windows", "Error Reports"},
    {&H::ClearPowerShellHistory, "Windows", "PowerShell History"},
    {&H::ClearClipboardHistory, "Windows", "Clipboard History"},
    {&H::ClearTimeline, "Windows", "Timeline"},
    {&H::ResetJumpLists, "Windows", "Jump Lists and Quick Access"},
    {&H::ClearShellBags, "Windows", "ShellBags"},
    {&H::ClearToolbarHistory, "Toolbars", "Search History"},
    {&H::ClearOfficeHistory, "Microsoft Office", "Recent Files"},
    {&H::ClearMediaPlayerHistory, "Windows Media Player", "History"},
    {&H::ClearGoogleDesktopHistory, "Google Desktop", "History"},
    {&H::ClearSkypeCalls, "Skype", "Calls"},
    {&H::ClearSkypeChats, "Skype", "Chats"},
    {&H::PurgeSkypeDatabase, "Skype", "Database purge"},
    {&H::ClearAcrobatReaderRecentFiles, "Adobe Reader", "Recent Files"},
    {&H::ClearAdobeAcrobatRecentFiles, "Adobe Acrobat", "Recent Files"},
    {&H::ClearAcrobatDataFolder, "Adobe Acrobat", "History and Collections"},
    {&H::ClearAcrobatOrganizerHistory, "Adobe Acrobat", "History"},
    {&H::ClearAcrobatCollections, "Adobe Acrobat", "Collections"},
};

LeftReason ReasonOf(DWORD error) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return LeftReason::Held;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return LeftReason::AccessDenied;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return LeftReason::NotFound;
    default: return LeftReason::Failed;
    }
}

} // namespace

HistoryCleaner::Context LabelOf(CleanerOperation operation) {
    for (const Label& label : kLabels)
        if (label.operation == operation) return {label.group, "", label.category};
    return {};
}

void CallCleaner(HistoryCleaner& cleaner, CleanerOperation operation) {
    const RecordingContext context(cleaner, LabelOf(operation));
    (cleaner.*operation)();
}

std::string UtcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_s(&utc, &now);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

RecordingScope::RecordingScope(HistoryCleaner& cleaner, RunRecord& record, bool preview, std::string trigger)
    : cleaner_(cleaner), record_(record), previousRecord_(cleaner.record), previousDryRun_(cleaner.dryRun),
      previousContext_(cleaner.context) {
    record.preview = preview;
    record.trigger = std::move(trigger);
    record.started = UtcNow();
    cleaner.record = &record;
    cleaner.dryRun = preview;
}

RecordingScope::~RecordingScope() {
    record_.finished = UtcNow();
    cleaner_.record = previousRecord_;
    cleaner_.dryRun = previousDryRun_;
    cleaner_.context = previousContext_;
}

RecordingContext::RecordingContext(HistoryCleaner& cleaner, HistoryCleaner::Context context)
    : cleaner_(cleaner), previous_(cleaner.context) {
    // A profile set by an enclosing part stays unless this one names its own.
    if (context.profile.empty()) context.profile = previous_.profile;
    cleaner.context = std::move(context);
}

void HistoryCleaner::Record(RecordItem item) {
    item.group = context.group;
    item.profile = context.profile;
    item.category = context.category;
    if (item.action == ItemAction::Left) ++itemsLeft_;
    Report().Recorded(item);
    if (record) record->items.push_back(std::move(item));
}

void HistoryCleaner::RecordLeft(ItemKind kind, const std::string& path, LeftReason reason, const std::string& detail) {
    RecordItem item;
    item.action = ItemAction::Left;
    item.kind = kind;
    item.path = path;
    item.detail = detail;
    item.reason = reason;
    Record(std::move(item));
}

void HistoryCleaner::RecordLeft(ItemKind kind, const std::string& path, DWORD error, const std::string& detail) {
    RecordItem item;
    item.action = ItemAction::Left;
    item.kind = kind;
    item.path = path;
    item.detail = detail;
    item.reason = ReasonOf(error);
    if (item.reason == LeftReason::Failed && item.detail.empty()) item.detail = "error " + std::to_string(error);
    if (item.reason == LeftReason::Held && (kind == ItemKind::File || kind == ItemKind::DatabaseTable)) {
        const FileHolder holder = FindFileHolder(path);
        item.holder = holder.program;
        item.holderPid = holder.pid;
    }
    Record(std::move(item));
}

bool HistoryCleaner::PromptCloseSkype() {
    if (dryRun) return true;
    if (Report().PromptClose(RunningProgram::Skype)) return true;
    RecordLeft(ItemKind::Program, "Skype", LeftReason::KeptRunning);
    return false;
}

bool HistoryCleaner::PromptCloseGoogleDesktop() {
    if (dryRun) return true;
    if (Report().PromptClose(RunningProgram::GoogleDesktop)) return true;
    RecordLeft(ItemKind::Program, "Google Desktop", LeftReason::KeptRunning);
    return false;
}

void HistoryCleaner::KeepLastRecord(std::shared_ptr<const RunRecord> last) {
    const std::lock_guard<std::mutex> lock(lastRecordGuard_);
    lastRecord_ = std::move(last);
}

std::shared_ptr<const RunRecord> HistoryCleaner::LastRecord() const {
    const std::lock_guard<std::mutex> lock(lastRecordGuard_);
    return lastRecord_;
}

namespace {

bool RecordingSwitchedOff() {
    static const bool off = GetEnvironmentVariableA("ZLT_BENCH_NO_RECORD", nullptr, 0) > 0;
    return off;
}

} // namespace

std::shared_ptr<const RunRecord> RecordedClearing(HistoryCleaner& cleaner, const std::string& trigger, bool preview,
                                                  const std::string& reportsFolder,
                                                  const std::function<void()>& clear) {
    auto record = std::make_shared<RunRecord>();
    if (!preview && RecordingSwitchedOff()) {
        record->trigger = trigger;
        clear();
        return record;
    }
    {
        const RecordingScope scope(cleaner, *record, preview, trigger);
        clear();
    }
    if (!preview && !reportsFolder.empty()) SaveRunReport(*record, reportsFolder);
    cleaner.KeepLastRecord(record);
    return record;
}

namespace {

std::string Utf8(const std::string& ansi) {
    if (ansi.empty()) return ansi;
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (wideLength <= 0) return ansi;
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

bool WriteNewFile(const std::string& path, const std::string& bytes) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.valid() && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

RunRecord InUtf8(const RunRecord& record) {
    RunRecord utf8 = record;
    for (RecordItem& item : utf8.items) {
        item.path = Utf8(item.path);
        item.detail = Utf8(item.detail);
        item.holder = Utf8(item.holder);
        item.profile = Utf8(item.profile);
    }
    return utf8;
}

} // namespace

bool WriteReportJson(const RunRecord& record, const std::string& path) {
    const std::string json = ReportJson(InUtf8(record));
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file.valid() && WriteFile(file.get(), json.data(), static_cast<DWORD>(json.size()), &written, nullptr) &&
           written == json.size();
}

bool SaveRunReport(const RunRecord& record, const std::string& folder, size_t keep) {
    // The folder and what is written there are the user's own (below the local application data).
    SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    const RunRecord utf8 = InUtf8(record);
    // "2026-12-08T17:01:41Z" names the file "20261208-170141-clear-all"; a second report within the
    // same second gets a number.
    std::string stem;
    for (char c : record.finished)
        if (c >= '0' && c <= '9') stem += c;
    if (stem.size() == 14) stem.insert(8, "-");
    stem = folder + "\\" + stem + "-" + record.trigger;
    std::string base = stem;
    for (int n = 2; GetFileAttributesA((base + ".json").c_str()) != INVALID_FILE_ATTRIBUTES; ++n)
        base = stem + "-" + std::to_string(n);
    const bool saved = WriteNewFile(base + ".json", ReportJson(utf8)) && WriteNewFile(base + ".txt", ReportText(utf8));

    // The newest `keep` reports stay: names sort by their time.
    std::vector<std::string> reports;
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA((folder + "\\*.json").c_str(), &found));
    if (search.valid()) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) reports.emplace_back(found.cFileName);
        } while (FindNextFileA(search.get(), &found));
    }
    std::sort(reports.begin(), reports.end());
    for (size_t i = 0; i + keep < reports.size(); ++i) {
        const std::string name = folder + "\\" + reports[i];
        DeleteFileA(name.c_str());
        DeleteFileA((name.substr(0, name.size() - 5) + ".txt").c_str());
    }
    return saved;
}
