#include "ui/option_page.h"


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

void COptionPage::StoreBox(int id) {
    if (const SettingBinding* b = BindingFor(id)) b->Write(*settings_, IsChecked(id));
}

bool COptionPage::AnyBoxChecked() const {
    for (const SettingBinding& b : bindings_)
        if (IsChecked(b.controlId)) return true;
    return false;
}

void COptionPage::SetModified(bool on) {
    modified = on ? 1 : 0;
    EnableItem(buttons_.apply, on);
    EnableItem(buttons_.reset, on);
}

const SettingBinding* COptionPage::BindingFor(int controlId) const {
    for (const SettingBinding& b : bindings_)
        if (b.controlId == controlId) return &b;
    return nullptr;
}

void COptionPage::OnCommand(int id, int code) {
    if (id == buttons_.apply && code == BN_CLICKED) {
        Apply();
    } else if (id == buttons_.reset && code == BN_CLICKED) {
        Reset();
    } else if (BindingFor(id)) {
        if (code == BN_CLICKED) OnBoxClicked(id);
    } else {
        OnOwnCommand(id, code);
        CPage::OnCommand(id, code); // Enter and Escape do nothing
    }
}
