#include "ui/pages/what_to_clear_page.h"

#include "app/messages.h"
#include "engine/clearing_run.h"

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
}

bool CWindowSecurityHistory::SelectMostOptions() {
    SelectAll(); // the watch of the browsers' closing
    PostToMainWindow(CmdRearmBrowserWatch);
    return true;
}

void CWindowSecurityHistory::ClearSelectedBrowserItems() { ::ClearSelectedBrowserItems(*cleaner_, settings()); }
