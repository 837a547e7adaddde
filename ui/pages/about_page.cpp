#include "ui/pages/about_page.h"

#include <shellapi.h>

#include <cstdio>

#include "app/main_app.h"
#include "resources/resource_ids.h"
#include "update/program_version.h"
#include "update/vendor_site.h"

namespace {

CWindowHelpAbout::UrlOpener& Opener() {
    static CWindowHelpAbout::UrlOpener opener;
    return opener;
}

constexpr int kLogoX = 150, kLogoY = 150;
constexpr int kLogoWidth = 153, kLogoHeight = 165;
constexpr COLORREF kLogoTransparent = RGB(0, 0, 255);
constexpr COLORREF kLinkColour = RGB(0, 0, 255);

} // namespace

void CWindowHelpAbout::SetUrlOpenerForTests(UrlOpener opener) {
    Opener() = std::move(opener);
}

CWindowHelpAbout::CWindowHelpAbout() : CPage(IDD_ABOUT, 460, 420) {
    char version[32];
    std::snprintf(version, sizeof version, " %d.%d", kProgramVersionMajor, kProgramVersionMinor);
    nameText_ = std::string(kDisplayName) + version;
}

CWindowHelpAbout::~CWindowHelpAbout() {
    if (logo_) DeleteObject(logo_);
}

BOOL CWindowHelpAbout::OnInitDialog() {
    SetItemText(IDC_ABOUT_NAME, nameText_.c_str());
    // Flush with the notice line below it: an edit box indents its text by default.
    SendItem(IDC_ABOUT_NAME, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    SetItemText(IDC_ABOUT_LINK, kVendorSite);
    hand_ = LoadCursorA(nullptr, IDC_HAND);
    if (!logo_) logo_ = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_LOGO));
    return TRUE;
}

void CWindowHelpAbout::OnCommand(int id, int code) {
    if (id == IDC_ABOUT_LINK && code == STN_CLICKED)
        OpenSite();
    else
        CPage::OnCommand(id, code); // Enter and Escape do nothing; edits changing do nothing
}

void CWindowHelpAbout::OpenSite() {
    if (Opener()) {
        Opener()(kVendorSite);
        return;
    }
    ShellExecuteA(hwnd_, "open", kVendorSite, nullptr, nullptr, SW_SHOWNORMAL); // a failure is ignored
}

void CWindowHelpAbout::PaintLogo() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    if (logo_) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, logo_);
        BITMAP info = {};
        GetObjectA(logo_, sizeof info, &info);
        TransparentBlt(dc, kLogoX, kLogoY, kLogoWidth, kLogoHeight, memory, 0, 0, info.bmWidth, info.bmHeight,
                       kLogoTransparent);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    EndPaint(hwnd_, &paint);
}

LRESULT CWindowHelpAbout::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == Item(IDC_ABOUT_LINK)) {
            // The default colours and brush of a static control, with the text in link blue.
            const LRESULT brush = DefWindowProcA(hwnd_, message, wParam, lParam);
            SetTextColor(reinterpret_cast<HDC>(wParam), kLinkColour);
            return brush;
        }
        break;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == Item(IDC_ABOUT_LINK) && hand_) {
            SetCursor(hand_);
            SetNotifyResult(TRUE);
            return TRUE;
        }
        break;
    case WM_PAINT:
        PaintLogo();
        return TRUE;
    }
    return CPage::OnMessage(message, wParam, lParam);
}
