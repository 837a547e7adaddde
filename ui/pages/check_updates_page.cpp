#include "ui/pages/check_updates_page.h"

#include <richedit.h>

#include "app/messages.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"

namespace {
// How long a page that goes away during a check waits for its worker. The worker keeps the check
// alive by itself, so a worker stuck in a connect is left to end on its own.
constexpr DWORD kDestroyWaitMs = 2000;
// The worker posts its last message just before it closes its socket and ends.
constexpr DWORD kFinishedWaitMs = 5000;
} // namespace

CWindowHelpCheckUpdates::CWindowHelpCheckUpdates() : CPage(IDD_CHECK_UPDATES, 470, 420) {}

void CWindowHelpCheckUpdates::LoadControlClasses() {
    // The template's status control is a rich edit: its class must exist before the page does.
    static HMODULE richEdit = LoadLibraryA("riched20.dll");
    (void)richEdit;
}

CWindowHelpCheckUpdates::~CWindowHelpCheckUpdates() {
    if (check_) check_->RequestAbort();
    ReleaseWorker(kDestroyWaitMs);
}

void CWindowHelpCheckUpdates::SetEndpointForTests(const char* host, unsigned short port) {
    endpoint_.host = host;
    endpoint_.port = port;
}

BOOL CWindowHelpCheckUpdates::OnInitDialog() {
    SendItem(IDC_UPDATE_STATUS, EM_AUTOURLDETECT, TRUE);
    SendItem(IDC_UPDATE_STATUS, EM_SETEVENTMASK, 0, ENM_LINK);
    SendItem(IDC_UPDATE_STATUS, EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_BTNFACE));
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.crTextColor = RGB(0, 0, 0);
    SendItem(IDC_UPDATE_STATUS, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    SetItemText(IDC_UPDATE_STATUS, "Please click the 'Check for updates' button");
    EnableItem(IDC_UPDATE_CANCEL, false);
    return TRUE;
}

void CWindowHelpCheckUpdates::OnCommand(int id, int code) {
    if (id == IDC_UPDATE_CHECK) {
        StartCheck();
    } else if (id == IDC_UPDATE_CANCEL || id == IDCANCEL) {
        AskAbort();
    } else {
        CPage::OnCommand(id, code);
    }
}

LRESULT CWindowHelpCheckUpdates::OnNotify(NMHDR*) {
    return 0;
} // links in the status do nothing

LRESULT CWindowHelpCheckUpdates::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MsgUpdateStatus) {
        ShowStatus();
        if (wParam) {
            ReleaseWorker(kFinishedWaitMs);
            SetIdle();
        }
        return TRUE;
    }
    if (message == WM_DESTROY && check_) check_->RequestAbort(); // the page goes: so does its check
    return CPage::OnMessage(message, wParam, lParam);
}

void CWindowHelpCheckUpdates::StartCheck() {
    if (worker_) return; // one check at a time
    EnableItem(IDC_UPDATE_CHECK, false);
    EnableItem(IDC_UPDATE_CANCEL, true);
    check_ = std::make_shared<VersionCheck>(hwnd_, endpoint_);
    worker_ = StartVersionCheck(check_);
    if (!worker_) SetIdle();
}

void CWindowHelpCheckUpdates::AskAbort() {
    if (!worker_) return;
    if (!AskQuestion(hwnd_, "Warning", "", "Do you want to abort checking?", IDI_BOX_QUESTION)) return;
    // The check may have ended on its own while the question was open.
    if (!worker_) return;
    check_->RequestAbort();
    ReleaseWorker(INFINITE);
    // The worker has ended: its last messages are all queued. Taking them now shows its last word
    // here and leaves none to reset the buttons of a check started after this one.
    MSG pending;
    while (PeekMessageA(&pending, hwnd_, MsgUpdateStatus, MsgUpdateStatus, PM_REMOVE)) {
    }
    ShowStatus();
    SetIdle();
}

void CWindowHelpCheckUpdates::ShowStatus() {
    if (check_) SetItemText(IDC_UPDATE_STATUS, check_->Status().c_str());
}

void CWindowHelpCheckUpdates::SetIdle() {
    EnableItem(IDC_UPDATE_CANCEL, false);
    EnableItem(IDC_UPDATE_CHECK, true);
}

void CWindowHelpCheckUpdates::ReleaseWorker(DWORD waitMs) {
    if (!worker_) return;
    WaitForSingleObject(worker_, waitMs);
    CloseHandle(worker_);
    worker_ = nullptr;
}
