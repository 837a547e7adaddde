#include "ui/password_dialog.h"

#include "resources/resource_ids.h"
#include "ui/message_box.h"

bool passwordDialogOpen = false;

CCheckPassword::CCheckPassword(ProgramSettings* settings) : CDialog(IDD_CHECK_PASSWORD), settings_(settings) {}

BOOL CCheckPassword::OnInitDialog() {
    if (passwordDialogOpen) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    passwordDialogOpen = true;
    ownsFlag_ = true;
    text_.clear();
    SetItemText(IDC_PASSWORD_EDIT, "");
    return TRUE;
}

void CCheckPassword::OnCommand(int id, int) {
    if (id == IDOK) {
        text_ = ItemText(IDC_PASSWORD_EDIT);
        if (text_.empty()) {
            ShowMessage(hwnd_, "Error", "", "Please enter password.", IDI_BOX_MESSAGE);
            return;
        }
        if (!settings_->CheckPassword(text_)) {
            ShowMessage(hwnd_, "Error", "", "Wrong password.", IDI_BOX_MESSAGE);
            return;
        }
        confirmed_ = true;
        EndDialog(IDOK);
    } else if (id == IDCANCEL) {
        EndDialog(IDCANCEL);
    }
}

LRESULT CCheckPassword::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && ownsFlag_) {
        // Ending the dialog either way clears the flag.
        passwordDialogOpen = false;
        ownsFlag_ = false;
    }
    return CDialog::OnMessage(message, wParam, lParam);
}
