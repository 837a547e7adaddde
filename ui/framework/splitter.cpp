#include "ui/framework/splitter.h"

namespace {

const char kSplitterClass[] = "ZephyrlanthorpeSplitter";

HCURSOR SizeCursor(SplitterOrientation orientation) {
    // Shared by every splitter, loaded once.
    static HCURSOR we = LoadCursorA(nullptr, IDC_SIZEWE);
    static HCURSOR ns = LoadCursorA(nullptr, IDC_SIZENS);
    return orientation == SplitterVertical ? we : ns;
}

} // namespace

bool CWindowSplitter::Create(DWORD style, const RECT& r, HWND parent, UINT id, UINT movedMessage) {
    if (!RegisterWindowClass(kSplitterClass, GetModuleHandleA(nullptr), nullptr)) return false;
    movedMessage_ = movedMessage;
    orientation = (r.right - r.left) < (r.bottom - r.top) ? SplitterVertical : SplitterHorizontal;
    if (!CreateEx({.className = kSplitterClass, .style = style | SS_NOTIFY, .rect = r, .parent = parent, .id = id}))
        return false;
    const int centre = orientation == SplitterVertical ? (r.left + r.right) / 2 : (r.top + r.bottom) / 2;
    SetRange(centre, centre);
    return true;
}

void CWindowSplitter::SetRange(int low, int high) {
    minPos = low;
    maxPos = high;
}

void CWindowSplitter::DrawTrackingLine() const {
    RECT bar;
    GetWindowRect(hwnd_, &bar);
    HDC dc = GetDC(nullptr);
    const int oldRop = SetROP2(dc, R2_NOTXORPEN);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(200, 200, 200));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    for (int offset : {-1, 1}) {
        if (orientation == SplitterVertical) {
            MoveToEx(dc, currentPos.x + offset, bar.top, nullptr);
            LineTo(dc, currentPos.x + offset, bar.bottom);
        } else {
            MoveToEx(dc, bar.left, currentPos.y + offset, nullptr);
            LineTo(dc, bar.right, currentPos.y + offset);
        }
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    SetROP2(dc, oldRop);
    ReleaseDC(nullptr, dc);
}

void CWindowSplitter::EndTracking(bool notify) {
    DrawTrackingLine(); // erases it
    tracking = 0;
    const int now = orientation == SplitterVertical ? currentPos.x : currentPos.y;
    if (notify) {
        HWND owner = GetWindow(hwnd_, GW_OWNER);
        if (!owner) owner = GetParent(hwnd_);
        if (owner) SendMessageA(owner, movedMessage_, 0, static_cast<LPARAM>(now - startPos));
        // Centre the bar on where the drag ended.
        RECT bar;
        GetWindowRect(hwnd_, &bar);
        HWND parent = GetParent(hwnd_);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bar), 2);
        POINT centre = currentPos;
        ScreenToClient(parent, &centre);
        const int w = bar.right - bar.left, h = bar.bottom - bar.top;
        if (orientation == SplitterVertical)
            SetWindowPos(hwnd_, nullptr, centre.x - w / 2, bar.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        else
            SetWindowPos(hwnd_, nullptr, bar.left, centre.y - h / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

LRESULT CWindowSplitter::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        RECT r;
        GetClientRect(hwnd_, &r);
        FillRect(dc, &r, GetSysColorBrush(COLOR_3DFACE));
        HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
        HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
        HGDIOBJ old = SelectObject(dc, shadow);
        MoveToEx(dc, r.left, r.bottom - 1, nullptr);
        LineTo(dc, r.left, r.top);
        LineTo(dc, r.right - 1, r.top);
        SelectObject(dc, light);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.left, r.bottom - 1);
        SelectObject(dc, old);
        DeleteObject(shadow);
        DeleteObject(light);
        EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(SizeCursor(orientation));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN: {
        tracking = 1;
        SetCapture(hwnd_);
        RECT bar;
        GetWindowRect(hwnd_, &bar);
        currentPos = {(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2};
        startPos = orientation == SplitterVertical ? currentPos.x : currentPos.y;
        DrawTrackingLine();
        return 0;
    }
    case WM_MOUSEMOVE:
        if (tracking) {
            DrawTrackingLine(); // erase at the old place
            POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            HWND parent = GetParent(hwnd_);
            MapWindowPoints(hwnd_, parent, &p, 1);
            // The range is along the bar's axis; the other coordinate is clamped with it, but the
            // line spans the bar whatever it is.
            if (p.x < minPos) p.x = minPos;
            if (p.x > maxPos) p.x = maxPos;
            if (p.y < minPos) p.y = minPos;
            if (p.y > maxPos) p.y = maxPos;
            ClientToScreen(parent, &p);
            currentPos = p;
            DrawTrackingLine();
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (tracking) EndTracking(true);
        ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        if (tracking && reinterpret_cast<HWND>(lParam) != hwnd_) EndTracking(false);
        return 0;
    }
    return Default(message, wParam, lParam);
}
