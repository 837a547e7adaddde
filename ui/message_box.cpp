#include "ui/message_box.h"

#include <richedit.h>

#include <utility>

#include "platform/system_library.h"
#include "resources/resource_ids.h"
#include "ui/box_layout.h"

namespace {
BoxHook& Hook() {
    static BoxHook hook;
    return hook;
}

void Place(HWND control, const BoxRect& r) { MoveWindow(control, r.x, r.y, r.width, r.height, TRUE); }
} // namespace

void SetBoxHookForTests(BoxHook hook) { Hook() = std::move(hook); }

void RouteBoxes(BoxHook route) { Hook() = std::move(route); }

void ShowMessage(HWND parent, const char* caption, const char* groupTitle, const char* text, int icon) {
    if (Hook()) {
        Hook()({false, parent, caption, text, icon});
        return;
    }
    CMessageBox box(parent, caption, groupTitle, text, icon);
    box.Run();
}

bool AskQuestion(HWND parent, const char* caption, const char* groupTitle, const char* text, int icon) {
    if (Hook()) return Hook()({true, parent, caption, text, icon});
    CAnswerBox box(parent, caption, groupTitle, text, icon);
    return box.Run() == IDOK;
}

CMessageBox::CMessageBox(HWND parent, const char* caption, const char* groupTitle, const char* text, int icon)
    : CMessageBox(IDD_MESSAGE_BOX, parent, caption, groupTitle, text, icon) {}

CMessageBox::CMessageBox(int templateId, HWND parent, const char* caption, const char* groupTitle,
                         const char* text, int icon)
    : CDialog(templateId), parent_(parent), caption_(caption ? caption : ""),
      groupTitle_(groupTitle ? groupTitle : ""), text_(text ? text : ""), iconId_(icon) {}

CMessageBox::~CMessageBox() {
    if (font_) DeleteObject(font_);
    if (icon_) DestroyIcon(icon_);
}

HWND CMessageBox::CreateTextControl(int width, int height, bool centred) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_DISABLED | ES_MULTILINE | (centred ? ES_CENTER : 0);
    HWND edit = CreateWindowExA(0, RICHEDIT_CLASSA, "", style, 15, 20, width, height, hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_BOX_TEXT)),
                                GetModuleHandleA(nullptr), nullptr);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.dwEffects = 0;
    format.crTextColor = RGB(0, 0, 0);
    SendMessageA(edit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageA(edit, EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_3DFACE)); // the text sits on the box itself
    SetWindowTextA(edit, text_.c_str());
    return edit;
}

BOOL CMessageBox::OnInitDialog() {
    // Boxes can come before the program has loaded its libraries ("... is not installed.").
    static HMODULE richEdit = LoadSystemLibrary("riched20.dll");
    (void)richEdit;
    icon_ = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId_), IMAGE_ICON, 16, 16, 0));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    SetWindowTextA(hwnd_, caption_.c_str());
    font_ = CreateFontA(11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");

    richEdit_ = CreateTextControl(kBoxTextCountWidth, 80, false);
    const int lines = static_cast<int>(SendMessageA(richEdit_, EM_GETLINECOUNT, 0, 0));
    TEXTMETRICA metrics = {};
    HDC dc = GetDC(richEdit_);
    HGDIOBJ old = SelectObject(dc, font_);
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(richEdit_, dc);
    const BoxLayout layout = LayOutBox(lines, metrics.tmHeight + metrics.tmExternalLeading);
    Place(richEdit_, layout.text);

    // A single line is shown centred: the control is made again with ES_CENTER.
    if (SendMessageA(richEdit_, EM_GETLINECOUNT, 0, 0) == 1) {
        ::DestroyWindow(richEdit_);
        richEdit_ = CreateTextControl(layout.text.width, layout.text.height, true);
    }

    groupBox_ = CreateWindowExA(0, "BUTTON", groupTitle_.c_str(), WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                                layout.group.x, layout.group.y, layout.group.width, layout.group.height, hwnd_,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(groupBox_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    PlaceButtons(layout);

    RECT window, client;
    GetWindowRect(hwnd_, &window);
    GetClientRect(hwnd_, &client);
    const int nonClient = (window.bottom - window.top) - (client.bottom - client.top);
    SetWindowPos(hwnd_, nullptr, 0, 0, layout.windowWidth, layout.clientHeight + nonClient,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterOver(parent_);
    SetFocus(Item(IDOK));
    return FALSE; // the focus is set
}

void CMessageBox::PlaceButtons(const BoxLayout& layout) {
    okButton_ = CreateWindowExA(0, "BUTTON", "Ok", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                layout.ok.x, layout.ok.y, layout.ok.width, layout.ok.height, hwnd_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), GetModuleHandleA(nullptr),
                                nullptr);
    SendMessageA(okButton_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

CAnswerBox::CAnswerBox(HWND parent, const char* caption, const char* groupTitle, const char* text, int icon)
    : CMessageBox(IDD_ANSWER_BOX, parent, caption, groupTitle, text, icon) {}

void CAnswerBox::PlaceButtons(const BoxLayout& layout) {
    Place(Item(IDOK), layout.yes);
    Place(Item(IDCANCEL), layout.no);
    SendItem(IDOK, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendItem(IDCANCEL, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}
