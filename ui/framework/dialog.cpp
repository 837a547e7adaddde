#include "ui/framework/dialog.h"

INT_PTR CDialog::DoModal(HWND parent) {
    modal_ = true;
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return result;
}

bool CDialog::Create(HWND parent) {
    modal_ = false;
    HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return window != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    if (modal_)
        ::EndDialog(hwnd_, result);
    else
        DestroyWindow();
}

void CDialog::OnCommand(int id, int) {
    if (modal_ && (id == IDOK || id == IDCANCEL)) EndDialog(id);
}

LRESULT CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        SetNotifyResult(OnNotify(reinterpret_cast<NMHDR*>(lParam)));
        return TRUE;
    }
    return Default(message, wParam, lParam);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* self = CWnd::FromHandle(window);
    if (!self && message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        if (self) self->Attach(window);
    }
    if (!self) return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->OnMessage(message, wParam, lParam);
    } catch (...) {
        result = FALSE;
    }
    if (message == WM_NCDESTROY) {
        self->Detach();
        self->OnFinalDestroy();
    }
    return result;
}
