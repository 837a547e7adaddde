#include "ui/option_page.h"

#include "resources/resource_ids.h"

BOOL COptionPage::OnInitDialog() {
    Load();
    return TRUE;
}

void COptionPage::Reset() { Load(); }

void COptionPage::Load() {
    for (const SettingBinding& b : bindings_) SetChecked(b.controlId, b.Read(*settings_));
    LoadOwn();
    SetModified(false);
}

void COptionPage::Apply() {
    for (const SettingBinding& b : bindings_) b.Write(*settings_, IsChecked(b.controlId));
    ApplyOwn();
    SetModified(false);
}

void COptionPage::SelectAll() {
    for (const SettingBinding& b : bindings_)
        if (b.quickSelect) SetChecked(b.controlId, true);
    Apply();
}

void COptionPage::MarkModified() { SetModified(true); }

bool COptionPage::AnyBoxChecked() const {
    for (const SettingBinding& b : bindings_)
        if (IsChecked(b.controlId)) return true;
    return false;
}

void COptionPage::SetModified(bool on) {
    modified = on ? 1 : 0;
    EnableItem(IDC_APPLY, on);
    EnableItem(IDC_RESET, on);
}

const SettingBinding* COptionPage::BindingFor(int controlId) const {
    for (const SettingBinding& b : bindings_)
        if (b.controlId == controlId) return &b;
    return nullptr;
}

void COptionPage::OnCommand(int id, int code) {
    if (id == IDC_APPLY && code == BN_CLICKED) {
        Apply();
    } else if (id == IDC_RESET && code == BN_CLICKED) {
        Reset();
    } else if (BindingFor(id)) {
        if (code != BN_CLICKED) return;
        MarkModified();
        OnBoxClicked(id);
    } else {
        OnOwnCommand(id, code);
        CPage::OnCommand(id, code); // Enter and Escape do nothing
    }
}
