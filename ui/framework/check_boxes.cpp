#include "ui/framework/check_boxes.h"

void LoadCheckBoxes(CWnd& page, SettingBindings bindings, const ProgramSettings& s) {
    for (const SettingBinding& b : bindings) page.SetChecked(b.controlId, b.Read(s));
}

void ApplyCheckBoxes(const CWnd& page, SettingBindings bindings, ProgramSettings& s) {
    for (const SettingBinding& b : bindings) b.Write(s, page.IsChecked(b.controlId));
}

void SetCheckBoxes(CWnd& page, SettingBindings bindings, bool on) {
    for (const SettingBinding& b : bindings) page.SetChecked(b.controlId, on);
}

bool AnyCheckBoxSet(const CWnd& page, SettingBindings bindings) {
    for (const SettingBinding& b : bindings)
        if (page.IsChecked(b.controlId)) return true;
    return false;
}
