#include "ui/pages/browser_page.h"

#include "app/main_app.h"
#include "control/running_programs.h"
#include "engine/clearing_lease.h"
#include "engine/clearing_run.h"
#include "engine/history_cleaner.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"
#include "ui/pages/clear_now.h"

namespace {

// "Found: Google Chrome (Person 1, Work); Chromium (Default)".
std::string FoundText(const std::vector<HistoryCleaner::ChromiumProfileFolders>& profiles, const char* absent) {
    if (profiles.empty()) return absent;
    std::string text = "Found: ";
    for (size_t i = 0; i < profiles.size(); ++i) {
        const bool first = i == 0 || profiles[i - 1].browser != profiles[i].browser;
        const bool last = i + 1 == profiles.size() || profiles[i + 1].browser != profiles[i].browser;
        if (first) text += (i ? "; " : "") + profiles[i].browser + " (";
        text += profiles[i].name + (last ? ")" : ", ");
    }
    return text;
}

} // namespace

void CWindowBrowserPage::ShowFoundProfiles() {
    for (const FoundProfilesText& found : info_.found)
        SetDlgItemTextA(hwnd_, found.controlId, FoundText(cleaner().FindChromiumProfiles(found.browsers), found.absent).c_str());
}

LRESULT CWindowBrowserPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A browser installed or a profile added since the page was last shown is seen at once.
    if (message == WM_SHOWWINDOW && wParam) ShowFoundProfiles();
    return COptionPage::OnMessage(message, wParam, lParam);
}

void CWindowBrowserPage::ApplyOwn() {
    // The start-up deletion of index.dat files always follows the last applied choice.
    const ProgramSettings& s = settings();
    cleaner().ScheduleIndexDatDeletion((s.historyMask & IEIndexDatAtStartup) != 0,
                                       (s.cacheMask & IEIndexDatAtStartup) != 0,
                                       (s.cookiesMask & IEIndexDatAtStartup) != 0);
}

void CWindowBrowserPage::OnOwnCommand(int id, int code) {
    if (id == IDC_CLEAR_NOW && code == BN_CLICKED) ClearNow();
}

// The main window owns the prompt, as it owns every prompt about running programs.
void CWindowBrowserPage::AskToClose(const BrowserProgram& program) {
    PromptCloseBrowser(GetAncestor(hwnd_, GA_ROOT), settings(), program.name, program.executable);
}

void CWindowBrowserPage::ClearNow() {
    if (info_.asksAboutUnapplied && modified) {
        if (!AskQuestion(hwnd_, "Warning", "", "You didn't apply any changes. Do you want to reset them?",
                         IDI_BOX_QUESTION))
            return;
        Reset();
    }
    if (!AskToClear(hwnd_)) return;
    for (const BrowserProgram& program : info_.programs) AskToClose(program);
    const auto record = RunClearing(hwnd_, cleaner(), settings(), [&] {
        ClearBrowserSteps(cleaner(), settings(), info_.browsers);
        ClearExtras();
    });
    if (record) SayDone(hwnd_, settings(), record);
}
