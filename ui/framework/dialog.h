#pragma once
// Dialogs from templates, modal (DoModal) or modeless (Create). OnMessage returns the dialog
// procedure's result: FALSE for "not handled"; a result that Windows reads from DWLP_MSGRESULT
// (notifications) is set with SetNotifyResult.
#include "ui/framework/wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(int templateId) : templateId_(templateId) {}

    INT_PTR DoModal(HWND parent);
    bool Create(HWND parent);
    void EndDialog(INT_PTR result);
    int templateId() const { return templateId_; }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT Default(UINT, WPARAM, LPARAM) override { return FALSE; }
    // TRUE lets Windows give the focus to the first control.
    virtual BOOL OnInitDialog() { return TRUE; }
    // IDOK and IDCANCEL end a modal dialog; modeless dialogs ignore them unless they override this.
    virtual void OnCommand(int id, int code);
    virtual LRESULT OnNotify(NMHDR*) { return 0; }
    void SetNotifyResult(LRESULT result) { SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result); }
    bool modal_ = false;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    int templateId_;
};
