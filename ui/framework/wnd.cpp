#include "ui/framework/wnd.h"

#include <commctrl.h>

#include <cstdlib>

namespace {
// The object pointer lives in a window property rather than GWLP_USERDATA, so that FromHandle never
// mistakes another program's (or a common control's) user data for one of our objects.
const char kObjectProperty[] = "ZltWindowObject";
} // namespace

CWnd::~CWnd() {
    if (hwnd_) {
        // The object dies before its window: cut the link so that late messages find nothing.
        HWND window = hwnd_;
        Detach();
        ::DestroyWindow(window);
    }
}

void CWnd::Attach(HWND window) {
    hwnd_ = window;
    SetPropA(window, kObjectProperty, this);
}

void CWnd::Detach() {
    if (hwnd_) RemovePropA(hwnd_, kObjectProperty);
    hwnd_ = nullptr;
}

CWnd* CWnd::FromHandle(HWND window) {
    return window ? static_cast<CWnd*>(GetPropA(window, kObjectProperty)) : nullptr;
}

bool CWnd::RegisterWindowClass(const char* name, HINSTANCE instance, HICON icon, int windowExtra, HBRUSH background,
                               UINT style) {
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = WindowProc;
    wc.cbWndExtra = windowExtra;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    WNDCLASSA existing;
    if (GetClassInfoA(instance, name, &existing)) return true;
    return RegisterClassA(&wc) != 0;
}

bool CWnd::CreateEx(const CreateArgs& args) {
    const HINSTANCE instance = args.instance ? args.instance : GetModuleHandleA(nullptr);
    const RECT& r = args.rect;
    HWND window = CreateWindowExA(args.exStyle, args.className, args.title, args.style, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, args.parent,
                                  reinterpret_cast<HMENU>(args.id), instance, this);
    return window != nullptr && hwnd_ == window;
}

void CWnd::DestroyWindow() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

LRESULT CWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(defaultProc_, hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandle(window);
    if (!self && message == WM_NCCREATE) {
        self = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self) self->Attach(window);
    }
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->OnMessage(message, wParam, lParam);
    } catch (...) {
        result = CallWindowProcA(self->defaultProc_, window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        self->Detach();
        self->OnFinalDestroy();
    }
    return result;
}

std::string CWnd::ItemText(int id) const {
    HWND item = Item(id);
    int length = GetWindowTextLengthA(item);
    std::string text(length + 1, '\0');
    length = GetWindowTextA(item, text.data(), length + 1);
    text.resize(length > 0 ? length : 0);
    return text;
}

int CWnd::ItemInt(int id) const {
    BOOL ok = FALSE;
    int value = static_cast<int>(GetDlgItemInt(hwnd_, id, &ok, TRUE));
    return ok ? value : 0;
}

void CWnd::SetUpDown(int id, int low, int high, int pos) {
    SendItem(id, UDM_SETRANGE32, low, high);
    SendItem(id, UDM_SETPOS32, 0, pos);
}

void CWnd::CenterOver(HWND over) {
    RECT area, self;
    GetWindowRect(hwnd_, &self);
    if (over && IsWindowVisible(over) && !IsIconic(over))
        GetWindowRect(over, &area);
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const int w = self.right - self.left, h = self.bottom - self.top;
    const int x = area.left + ((area.right - area.left) - w) / 2;
    const int y = area.top + ((area.bottom - area.top) - h) / 2;
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
