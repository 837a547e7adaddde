#include "ui/pages/what_to_clear_page.h"

#include "app/messages.h"
#include "engine/clearing_run.h"
#include "engine/history_cleaner.h"
#include "ui/pages/clear_now.h"
#include "ui/report_view.h"

namespace {

constexpr SettingBinding kBindings[] = {
    BindDwordFlag(IDC_WHAT_ASK_CLOSE_BROWSERS, &ProgramSettings::askCloseBrowsers, false),
    BindDwordFlag(IDC_WHAT_CONFIRM, &ProgramSettings::confirmAfterClear, false),
    BindDwordFlag(IDC_WHAT_ON_BROWSER_CLOSE, &ProgramSettings::clearOnBrowserClose),
};

} // namespace

CWindowSecurityHistory::CWindowSecurityHistory(ProgramSettings* settings, HistoryCleaner* cleaner)
    : COptionPage(IDD_WHAT_TO_CLEAR, 480, 300, settings, kBindings), cleaner_(cleaner) {}

void CWindowSecurityHistory::PostToMainWindow(UINT command) const {
    PostMessageA(GetAncestor(hwnd_, GA_ROOT), WM_COMMAND, command, 0);
}

void CWindowSecurityHistory::OnBoxClicked(int id) {
    // No Apply on this page: the choice holds from the click on, and leaving asks nothing.
    StoreBox(id);
    if (id == IDC_WHAT_ON_BROWSER_CLOSE) PostToMainWindow(CmdRearmBrowserWatch);
}

void CWindowSecurityHistory::OnOwnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    if (id == IDC_WHAT_QUICK_SELECT) PostToMainWindow(CmdSelectMostOptions);
    if (id == IDC_WHAT_CLEAR_ALL) PostToMainWindow(CmdClearHistory);
    if (id == IDC_WHAT_PREVIEW) Preview();
    if (id == IDC_WHAT_LAST_REPORT) ShowLastReport();
}

bool CWindowSecurityHistory::SelectMostOptions() {
    SelectAll(); // the watch of the browsers' closing
    PostToMainWindow(CmdRearmBrowserWatch);
    return true;
}

void CWindowSecurityHistory::ClearSelectedBrowserItems() { ::ClearSelectedBrowserItems(*cleaner_, settings()); }

void CWindowSecurityHistory::Preview() {
    // What "Clear all selected items" would do on this thread, without its questions: a preview
    // asks about no running program and changes nothing, and a file held open shows as held.
    ProgramSettings& s = settings();
    auto record = RunClearing(hwnd_, *cleaner_, s, "clear-all", true, [&] {
        ::ClearSelectedBrowserItems(*cleaner_, s);
        ClearSelectedWindowsHistory(*cleaner_, s, hwnd_);
        ClearSelectedApplicationHistory(*cleaner_, s);
    });
    if (record) ShowReportView(GetAncestor(hwnd_, GA_ROOT), record, s.ReportsFolder());
}

void CWindowSecurityHistory::ShowLastReport() {
    ShowReportView(GetAncestor(hwnd_, GA_ROOT), cleaner_->LastRecord(), settings().ReportsFolder());
}
