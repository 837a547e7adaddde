// Shows one of the program's windows by itself, for screenshots (scripts/screenshots.sh):
//   zlt_gallery.exe message|question|password|progress|report|preview|confirmation
// The window stays until it is closed.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "app/main_app.h"
#include "app/messages.h"
#include "app/settings.h"
#include "resources/resource_ids.h"
#include "tests/native/record_items.h"
#include "ui/message_box.h"
#include "ui/password_dialog.h"
#include "ui/progress_window.h"
#include "ui/report_view.h"

namespace {

// What a Clear All on a machine with two browsers leaves as its record: some of each action and
// reason, so that the pictures show every column in use.
std::shared_ptr<RunRecord> SampleRecord(bool preview) {
    auto record = std::make_shared<RunRecord>();
    record->preview = preview;
    record->trigger = preview ? "preview" : "clear-all";
    record->started = "2026-12-08T17:01:41Z";
    record->finished = "2026-12-08T17:01:44Z";
    const std::string chrome = "C:\\Users\\Someone\\AppData\\Local\\Google\\Chrome\\User Data\\";
    const std::string firefox = "C:\\Users\\Someone\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\k2p9.default-release\\";
    auto add = [&](ItemAction action, ItemKind kind, std::string path, uint64_t bytes, int64_t rows, const char* group,
                   const char* profile, const char* category) -> RecordItem& {
        record->items.push_back(Item(action, kind, std::move(path), bytes, rows, group, category, profile));
        return record->items.back();
    };
    add(ItemAction::Removed, ItemKind::File, chrome + "Default\\History", 9437184, 0, "Chrome", "Person 1", "history");
    add(ItemAction::Removed, ItemKind::File, chrome + "Default\\Top Sites", 20480, 0, "Chrome", "Person 1", "history");
    add(ItemAction::Removed, ItemKind::Folder, chrome + "Default\\Cache\\Cache_Data", 48234496, 0, "Chrome", "Person 1",
        "cache");
    add(ItemAction::Removed, ItemKind::DatabaseTable, chrome + "Profile 3\\Network\\Cookies", 0, 412, "Chrome", "Work",
        "cookies")
        .detail = "cookies";
    RecordItem& held = add(ItemAction::Left, ItemKind::File, chrome + "Profile 3\\History", 3145728, 0, "Chrome", "Work",
                           "history");
    held.reason = LeftReason::Held;
    held.holder = "chrome.exe";
    held.holderPid = 4312;
    add(ItemAction::Removed, ItemKind::DatabaseTable, firefox + "places.sqlite", 0, 18342, "Firefox", "default-release",
        "history")
        .detail = "moz_historyvisits";
    add(ItemAction::Removed, ItemKind::Folder, "C:\\Users\\Someone\\AppData\\Local\\Mozilla\\Firefox\\Profiles\\"
                                               "k2p9.default-release\\cache2",
        31457280, 0, "Firefox", "default-release", "cache");
    add(ItemAction::Removed, ItemKind::RegistryValue,
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU", 0, 0, "Windows", "",
        "run history")
        .detail = "a";
    add(ItemAction::Emptied, ItemKind::RecycleBin, "Recycle Bin", 7340032, 0, "Windows", "", "recycle bin");
    return record;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    InitialiseLibraries();
    const std::string what = commandLine;
    ProgramSettings& s = Settings();
    s.ApplyDefaults();
    if (what == "message") {
        ShowMessage(nullptr, "Zephyrlanthorpe", "", "All selected items have been deleted.", IDI_BOX_MESSAGE);
    } else if (what == "question") {
        AskQuestion(nullptr, "Warning", "", "You didn't apply any changes. Do you want to reset them?",
                    IDI_BOX_QUESTION);
    } else if (what == "password") {
        s.SetPassword("x");
        CCheckPassword(&s).Ask(nullptr);
    } else if (what == "progress") {
        s.showShredProgress = 1;
        s.SetCurrentFileText("C:\\Users\\Someone\\AppData\\Local\\Temp\\report-draft.tmp");
        CWindowProgressDelete window(&s, nullptr);
        window.Start(nullptr, [](CDeleteThread& t) {
            // Apart, so that the window's 50 ms batching lets each one through.
            t.observer->FileStarted();
            Sleep(60);
            t.observer->PassStarted(100);
            Sleep(60);
            t.observer->PassMoved(62);
            while (!t.settings->stopRequested) Sleep(50);
            t.observer->RunFinished(false);
        });
        MSG msg;
        while (window.running() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (!IsDialogMessageA(window.hwnd(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    } else if (what == "report" || what == "preview") {
        ShowReportView(nullptr, SampleRecord(what == "preview"), "");
    } else if (what == "confirmation") {
        ConfirmWithReport(nullptr, "Zephyrlanthorpe", "All selected items have been deleted.", SampleRecord(false), "");
    }
    return 0;
}
