#include "ui/page.h"

bool CPage::CreatePage(HWND parent) {
    LoadControlClasses();
    if (!Create(parent)) return false;
    RECT r;
    GetWindowRect(hwnd_, &r);
    naturalHeight = r.bottom - r.top;
    ShowWindow(hwnd_, SW_HIDE);
    return true;
}

void CPage::OnCommand(int id, int code) {
    if (id == IDOK || id == IDCANCEL) return;
    CDialog::OnCommand(id, code);
}
