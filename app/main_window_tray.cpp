// The main window's tray icon, and showing the window from it.
#include "app/main_window.h"

#include <shellapi.h>

#include <cstddef>
#include <cstdio>

#include "app/messages.h"
#include "platform/windows_version.h"
#include "ui/password_dialog.h"

namespace {

// The structure size of shell 5.0 (488 bytes for the 32-bit program): tips of up to 128 characters,
// accepted by every shell from Windows 2000 on.
constexpr DWORD kNotifyIconDataSize = offsetof(NOTIFYICONDATAA, guidItem);

} // namespace

void CWindowMain::AddTrayIcon() {
    NOTIFYICONDATAA nid = {};
    nid.cbSize = kNotifyIconDataSize;
    nid.hWnd = hwnd_;
    nid.uID = kTrayIconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON;
    nid.uCallbackMessage = MsgTrayCallback;
    nid.hIcon = windowIcon_;
    trayIconAdded_ = Shell_NotifyIconA(NIM_ADD, &nid) != FALSE;
    nid.uFlags = NIF_ICON | NIF_TIP;
    std::snprintf(nid.szTip, sizeof nid.szTip, "%s \n", kDisplayName);
    Shell_NotifyIconA(NIM_MODIFY, &nid);
}

void CWindowMain::RemoveTrayIcon() {
    NOTIFYICONDATAA nid = {};
    nid.cbSize = kNotifyIconDataSize;
    nid.hWnd = hwnd_;
    nid.uID = kTrayIconId;
    Shell_NotifyIconA(NIM_DELETE, &nid);
    trayIconAdded_ = false;
}

// With a password, what the window shows is for whoever knows it: a window that is hidden or
// minimised is shown again only after the password, whichever way the user asks (the tray, its
// menu's pages, a hot key, restoring it from the task bar, a second start).
bool CWindowMain::Locked() const {
    return settings_->PasswordProtected() && (!IsWindowVisible(hwnd_) || IsIconic(hwnd_));
}

bool CWindowMain::AskPassword() {
    CCheckPassword dialog(settings_);
    return dialog.Ask(hwnd_) == IDOK;
}

bool CWindowMain::ShowMainWindow() {
    ProgramSettings& s = *settings_;
    ++showCount_;
    const bool visible = IsWindowVisible(hwnd_) != FALSE;
    if (Locked()) {
        if (!AskPassword()) {
            if (!visible) s.windowShowCmd = 0;
            return false;
        }
        if (s.windowShowCmd == 0) s.windowShowCmd = 1;
    }
    if (IsIconic(hwnd_) && s.PasswordProtected()) {
        ShowWindow(hwnd_, SW_RESTORE);
    } else {
        const bool normalShow = showCount_ == 1 || (visible && !IsIconic(hwnd_)) || s.PasswordProtected();
        ShowWindow(hwnd_, normalShow ? s.windowShowCmd : SW_SHOWNORMAL);
    }
    SetForegroundWindow(hwnd_);
    return true;
}

void CWindowMain::OnTrayCallback(WPARAM id, LPARAM mouseMessage) {
    if (id != kTrayIconId) return;
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        SetForegroundWindow(hwnd_);
        ShowMainWindow();
    } else if (mouseMessage == WM_RBUTTONDOWN) {
        OSVERSIONINFOEXA version;
        GetWindowsVersion(version);
        const UINT flags = version.dwMajorVersion == 4 ? (TPM_BOTTOMALIGN | TPM_RIGHTALIGN)
                                                                 : (TPM_BOTTOMALIGN | TPM_VERNEGANIMATION | TPM_HORNEGANIMATION);
        trayMenu_.Track(hwnd_, flags);
    }
}

