#include "tests/wine/ui_support.h"

#include "resources/resource_ids.h"

namespace {
struct Search {
    const char* caption;
    const char* className;
    bool anyProcess;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    if (!IsWindowVisible(window)) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (!s->anyProcess && pid != GetCurrentProcessId()) return TRUE;
    char text[256] = {}, cls[256] = {};
    GetWindowTextA(window, text, sizeof text);
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(text) != s->caption) return TRUE;
    if (s->className && std::string(cls) != s->className) return TRUE;
    s->found = window;
    return FALSE;
}
} // namespace

HWND WaitForWindow(const char* caption, const char* className, DWORD timeoutMs, bool anyProcess) {
    const DWORD start = GetTickCount();
    do {
        Search s{caption, className, anyProcess, nullptr};
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
        if (s.found) return s.found;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs, DWORD pollMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(pollMs);
    }
    return true;
}

void PumpMessages(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::string WindowText(HWND window) {
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

RECT WindowRect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

RECT ClientRect(HWND window) {
    RECT r = {};
    GetClientRect(window, &r);
    return r;
}

namespace {
// This process's visible password dialog. The caption is read without a message to the window's
// thread, which may be waiting for the helper that looks.
BOOL CALLBACK VisitPasswordDialog(HWND window, LPARAM found) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t caption[32] = {};
    if (pid != GetCurrentProcessId() || !IsWindowVisible(window) ||
        !InternalGetWindowText(window, caption, 32) || std::wstring(caption) != L"Enter password")
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}
} // namespace

PasswordAnswer::PasswordAnswer(std::string text, DWORD waitMs)
    : helper_([this, text, waitMs] {
          HWND dialog = nullptr;
          for (DWORD start = GetTickCount(); !dialog && !stop_ && GetTickCount() - start < waitMs; Sleep(20))
              EnumWindows(VisitPasswordDialog, reinterpret_cast<LPARAM>(&dialog));
          if (!dialog) return;
          asked_ = true;
          SendMessageA(GetDlgItem(dialog, IDC_PASSWORD_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
          PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
          Sleep(300);
          if (IsWindow(dialog)) PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      }) {}
