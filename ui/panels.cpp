#include "ui/panels.h"

#include "app/messages.h"
#include "resources/resource_ids.h"

namespace {
const char kPanelClass[] = "ZephyrlanthorpePanel";
const char kSplitterClass[] = "ZephyrlanthorpeSplitter";

bool RegisterPanelClass(const char* name) {
    return CWnd::RegisterWindowClass(name, GetModuleHandleA(nullptr), nullptr);
}

HCURSOR SizeCursor(int orientation) {
    // Shared by every splitter, loaded once.
    static HCURSOR we = LoadCursorA(nullptr, IDC_SIZEWE);
    static HCURSOR ns = LoadCursorA(nullptr, IDC_SIZENS);
    return orientation == 1 ? we : ns;
}
} // namespace

// ---------------------------------------------------------------- navigation panel

bool CWindowLeftPanel::CreatePanel(HWND parent, const RECT& r) {
    if (!RegisterPanelClass(kPanelClass)) return false;
    return CreateEx(0, kPanelClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r.left, r.top, r.right - r.left,
                    r.bottom - r.top, parent, 0);
}

void CWindowLeftPanel::Initialise(ProgramSettings* settings, CWindowMain* mainWindow) {
    settings_ = settings;
    mainWindow_ = mainWindow;
    RECT client;
    GetClientRect(hwnd_, &client);
    tree_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                TVS_SHOWSELALWAYS,
                            0, 0, client.right, client.bottom, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_NAV_TREE)), GetModuleHandleA(nullptr),
                            nullptr);
    Rebuild(TreeOptions);
}

HTREEITEM CWindowLeftPanel::ItemFor(uint32_t key) const {
    auto it = itemMap_.find(key);
    return it == itemMap_.end() ? nullptr : it->second;
}

void CWindowLeftPanel::Rebuild(int newMode) {
    SaveExpansionState();
    TreeView_DeleteAllItems(tree_);
    itemMap_.clear();
    whatToClear_ = settingsItem_ = nullptr;

    const auto entries = TreeEntries(newMode == TreeHelp ? TreeHelp : TreeOptions);
    std::vector<HTREEITEM> handles;
    for (const TreeEntry& e : entries) {
        TVINSERTSTRUCTA insert = {};
        insert.hParent = e.parent < 0 ? TVI_ROOT : handles[e.parent];
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<char*>(e.text);
        insert.item.lParam = static_cast<LPARAM>(e.itemData);
        HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        handles.push_back(item);
        itemMap_[e.key] = item;
    }
    if (!handles.empty()) TreeView_SelectItem(tree_, handles[0]);
    if (newMode == TreeOptions) {
        whatToClear_ = handles[kWhatToClearEntry];
        settingsItem_ = handles[kSettingsEntry];
        TreeView_Expand(tree_, handles[kWhatToClearEntry], TVE_EXPAND);
        TreeView_Expand(tree_, handles[kBrowserHistoryEntry], TVE_EXPAND);
        if (settings_ && (settings_->navigationTreeState & TreeStateSettingsExpanded))
            TreeView_Expand(tree_, settingsItem_, TVE_EXPAND);
    }
    mode_ = newMode;
}

void CWindowLeftPanel::SelectPage(uint32_t key) {
    HTREEITEM item = ItemFor(key);
    if (!item) return;
    TreeView_EnsureVisible(tree_, item);
    TreeView_SelectItem(tree_, item);
}

void CWindowLeftPanel::SaveExpansionState() {
    if (mode_ != TreeOptions || !settings_ || !whatToClear_) return;
    int32_t state = 0;
    if (TreeView_GetItemState(tree_, whatToClear_, TVIS_EXPANDED) & TVIS_EXPANDED)
        state |= TreeStateWhatToClearExpanded;
    if (TreeView_GetItemState(tree_, settingsItem_, TVIS_EXPANDED) & TVIS_EXPANDED)
        state |= TreeStateSettingsExpanded;
    settings_->navigationTreeState = state;
}

LRESULT CWindowLeftPanel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (tree_) MoveWindow(tree_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_ERASEBKGND:
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->hwndFrom == tree_ && (header->code == TVN_SELCHANGINGA || header->code == TVN_SELCHANGINGW)) {
            // Both forms carry itemNew.lParam at the same place.
            const auto* change = reinterpret_cast<NMTREEVIEWA*>(lParam);
            const uint32_t page = static_cast<uint32_t>(change->itemNew.lParam);
            HWND main = GetParent(hwnd_);
            return SendMessageA(main, MsgSelectPage, page, 0);
        }
        break;
    }
    }
    return Default(message, wParam, lParam);
}

// ---------------------------------------------------------------- right panel

bool CWindowRightPanel::CreatePanel(HWND parent, const RECT& r) {
    if (!RegisterPanelClass(kPanelClass)) return false;
    return CreateEx(WS_EX_CONTROLPARENT, kPanelClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r.left, r.top,
                    r.right - r.left, r.bottom - r.top, parent, 0);
}

LRESULT CWindowRightPanel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 0;
    return Default(message, wParam, lParam);
}

// ---------------------------------------------------------------- splitter

bool CWindowSplitter::Create(DWORD style, const RECT& r, HWND parent, UINT id) {
    if (!RegisterPanelClass(kSplitterClass)) return false;
    orientation = (r.right - r.left) < (r.bottom - r.top) ? 1 : 2;
    if (!CreateEx(0, kSplitterClass, "", style | SS_NOTIFY, r.left, r.top, r.right - r.left, r.bottom - r.top,
                  parent, id))
        return false;
    const int centre = orientation == 1 ? (r.left + r.right) / 2 : (r.top + r.bottom) / 2;
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
        if (orientation == 1) {
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
    const int now = orientation == 1 ? currentPos.x : currentPos.y;
    if (notify) {
        HWND owner = GetWindow(hwnd_, GW_OWNER);
        if (!owner) owner = GetParent(hwnd_);
        if (owner) SendMessageA(owner, MsgSplitterMoved, 0, static_cast<LPARAM>(now - startPos));
        // Centre the bar on where the drag ended.
        RECT bar;
        GetWindowRect(hwnd_, &bar);
        HWND parent = GetParent(hwnd_);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bar), 2);
        POINT centre = currentPos;
        ScreenToClient(parent, &centre);
        const int w = bar.right - bar.left, h = bar.bottom - bar.top;
        if (orientation == 1)
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
        startPos = orientation == 1 ? currentPos.x : currentPos.y;
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
