#pragma once
// Asks for the program's password before a hidden main window is shown.
#include <string>

#include "app/settings.h"
#include "ui/framework/dialog.h"

// Set while a password dialog is open anywhere in the process; a second one is refused.
extern bool passwordDialogOpen;

class CCheckPassword : public CDialog {
public:
    explicit CCheckPassword(ProgramSettings* settings);
    // IDOK only for the right password; IDCANCEL for the close box, Escape, or when another password
    // dialog is already open. A dialog ended any other way (a WM_QUIT in the thread's queue ends a
    // modal loop with IDOK) never counts as the right password.
    INT_PTR Ask(HWND parent) {
        confirmed_ = false;
        return DoModal(parent) == IDOK && confirmed_ ? IDOK : IDCANCEL;
    }
    const std::string& enteredText() const { return text_; }

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    ProgramSettings* settings_;
    std::string text_;
    bool ownsFlag_ = false;
    bool confirmed_ = false;
};
