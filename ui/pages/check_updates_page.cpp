#include "ui/pages/check_updates_page.h"

#include <richedit.h>

#include <cstring>

#include "app/main_app.h"
#include "app/messages.h"
#include "platform/system_library.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"
#include "update/version_list.h"

namespace {

struct TextSource {
    const std::string* text;
    size_t at;
};

DWORD CALLBACK ReadText(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* got) {
    auto* source = reinterpret_cast<TextSource*>(cookie);
    const size_t left = source->text->size() - source->at;
    const size_t n = left < static_cast<size_t>(size) ? left : static_cast<size_t>(size);
    memcpy(buffer, source->text->data() + source->at, n);
    source->at += n;
    *got = static_cast<LONG>(n);
    return 0;
}

// The text goes in as plain text. WM_SETTEXT (and EM_SETTEXTEX) read a text that begins with
// "{\rtf" as RTF: the server's title, which leads the status, could otherwise bring its own
// fonts, colours, pictures and objects.
void SetPlainText(HWND edit, const std::string& text) {
    TextSource source{&text, 0};
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&source), 0, ReadText};
    SendMessageA(edit, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
}

} // namespace

CWindowHelpCheckUpdates::CWindowHelpCheckUpdates() : CPage(IDD_CHECK_UPDATES, 470, 420) {}

void CWindowHelpCheckUpdates::LoadControlClasses() {
    // The template's status control is a rich edit: its class must exist before the page does.
    static HMODULE richEdit = LoadSystemLibrary("riched20.dll");
    (void)richEdit;
}

// A worker stuck in a name lookup or a connect is never waited for: it holds its own share of the
// check and ends by itself, and the page hears no more of it.
CWindowHelpCheckUpdates::~CWindowHelpCheckUpdates() { LetGoOfCheck(); }

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
            ReleaseWorker();
            SetIdle();
        }
        return TRUE;
    }
    if (message == WM_DESTROY) LetGoOfCheck(); // the page goes: so does its check
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
    VersionCheck::Detached last = LetGoOfCheck();
    // Whatever the check had said is all it says now; the messages it queued before it was let go
    // would only repeat it, or reset the buttons of a check started after this one.
    MSG pending;
    while (PeekMessageA(&pending, hwnd_, MsgUpdateStatus, MsgUpdateStatus, PM_REMOVE)) {
    }
    // What the worker itself ends with once it notices: nothing more read, so "Failed".
    if (!last.finished) ApplyVersionResponse(last.status, ResponseBuffer(), kDisplayName);
    SetPlainText(Item(IDC_UPDATE_STATUS), last.status);
    SetIdle();
}

VersionCheck::Detached CWindowHelpCheckUpdates::LetGoOfCheck() {
    if (!check_) return {true, {}};
    check_->RequestAbort();
    VersionCheck::Detached last = check_->Detach();
    ReleaseWorker();
    return last;
}

void CWindowHelpCheckUpdates::ShowStatus() {
    if (check_) SetPlainText(Item(IDC_UPDATE_STATUS), check_->Status());
}

void CWindowHelpCheckUpdates::SetIdle() {
    EnableItem(IDC_UPDATE_CANCEL, false);
    EnableItem(IDC_UPDATE_CHECK, true);
}

void CWindowHelpCheckUpdates::ReleaseWorker() {
    if (!worker_) return;
    CloseHandle(worker_);
    worker_ = nullptr;
}
