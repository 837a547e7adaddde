#include "ui/pages/shredder_page.h"

#include "ui/message_box.h"

namespace {

constexpr SettingBinding kBindings[] = {
    BindFlag(IDC_SHRED_FILES, &ProgramSettings::shredFiles),
    BindFlag(IDC_SHRED_PROGRESS, &ProgramSettings::showShredProgress),
};

const char kProgressOffQuestion[] =
    "Files shredding takes some time, depending on shredding files number and size.\n"
    "If you turn 'Show files shredding progress' off, you won't be able to stop shredding if necessary.\n"
    "Are you sure you want to turn 'Show files shredding progress' off?";

} // namespace

CWindowShredder::CWindowShredder(ProgramSettings* settings)
    : COptionPage(IDD_SHREDDER, 480, 300, settings, kBindings, {IDC_SHRED_APPLY, IDC_SHRED_RESET}) {}

void CWindowShredder::LoadOwn() { EnableItem(IDC_SHRED_PROGRESS, IsChecked(IDC_SHRED_FILES)); }

void CWindowShredder::OnBoxClicked(int id) {
    if (id == IDC_SHRED_FILES) {
        // Shredding brings its progress display along, on or off.
        const bool on = IsChecked(IDC_SHRED_FILES);
        SetChecked(IDC_SHRED_PROGRESS, on);
        EnableItem(IDC_SHRED_PROGRESS, on);
    } else if (id == IDC_SHRED_PROGRESS && !IsChecked(IDC_SHRED_PROGRESS)) {
        if (!AskQuestion(hwnd_, "Warning", "", kProgressOffQuestion, IDI_BOX_QUESTION)) {
            Reset(); // the whole page, the shredding box included
            return;
        }
    }
    MarkModified();
}

void CWindowShredder::ApplyOwn() {
    // On disk at once: a crash later must not bring shredding back on or off unasked.
    settings().SaveSettings();
}
