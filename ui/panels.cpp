#include "ui/panels.h"

#include "app/messages.h"
#include "resources/resource_ids.h"

namespace {
const char kPanelClass[] = "ZephyrlanthorpePanel";

bool RegisterPanelClass(const char* name) {
    return CWnd::RegisterWindowClass(name, GetModuleHandleA(nullptr), nullptr);
}

} // namespace

// ---------------------------------------------------------------- navigation panel

bool CWindowLeftPanel::CreatePanel(HWND parent, const RECT& r) {
    if (!RegisterPanelClass(kPanelClass)) return false;
    return CreateEx({.className = kPanelClass, .style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, .rect = r,
                     .parent = parent});
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

void CWindowLeftPanel::Rebuild(TreeMode newMode) {
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
    return CreateEx({.className = kPanelClass,
                     .style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                     .exStyle = WS_EX_CONTROLPARENT,
                     .rect = r,
                     .parent = parent});
}

void CWindowRightPanel::FitPage(HWND page, int height) {
    if (page != page_) scrolled_ = 0;
    page_ = page;
    pageHeight_ = height;
    RECT r;
    GetClientRect(hwnd_, &r);
    // The bar takes width from the client area: measured again once it is shown or hidden.
    const bool scrolls = height > r.bottom;
    ShowScrollBar(hwnd_, SB_VERT, scrolls);
    GetClientRect(hwnd_, &r);
    if (!scrolls) {
        scrolled_ = 0;
        if (page_) MoveWindow(page_, 0, 0, r.right, r.bottom, TRUE);
        return;
    }
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMax = height - 1;
    info.nPage = static_cast<UINT>(r.bottom);
    SetScrollInfo(hwnd_, SB_VERT, &info, FALSE);
    ScrollTo(scrolled_);
}

void CWindowRightPanel::ScrollTo(int position) {
    RECT r;
    GetClientRect(hwnd_, &r);
    const int most = pageHeight_ > r.bottom ? pageHeight_ - r.bottom : 0;
    scrolled_ = position < 0 ? 0 : position > most ? most : position;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = scrolled_;
    SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
    if (page_) MoveWindow(page_, 0, -scrolled_, r.right, most > 0 ? pageHeight_ : r.bottom, TRUE);
}

void CWindowRightPanel::ScrollIntoView(HWND control) {
    if (!page_ || !control || !IsChild(page_, control)) return;
    RECT panel, box;
    GetClientRect(hwnd_, &panel);
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&box), 2);
    const int margin = 6;
    if (box.top < 0)
        ScrollTo(scrolled_ + box.top - margin);
    else if (box.bottom > panel.bottom)
        ScrollTo(scrolled_ + box.bottom - panel.bottom + margin);
}

LRESULT CWindowRightPanel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 0;
    case WM_VSCROLL: {
        RECT r;
        GetClientRect(hwnd_, &r);
        const int line = 20;
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(hwnd_, SB_VERT, &info);
        switch (LOWORD(wParam)) {
        case SB_LINEUP: ScrollTo(scrolled_ - line); break;
        case SB_LINEDOWN: ScrollTo(scrolled_ + line); break;
        case SB_PAGEUP: ScrollTo(scrolled_ - r.bottom); break;
        case SB_PAGEDOWN: ScrollTo(scrolled_ + r.bottom); break;
        case SB_TOP: ScrollTo(0); break;
        case SB_BOTTOM: ScrollTo(pageHeight_); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: ScrollTo(info.nTrackPos); break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL: {
        // The page and its boxes pass the wheel up to here.
        UINT lines = 3;
        SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        wheelRest_ += GET_WHEEL_DELTA_WPARAM(wParam);
        const int notches = wheelRest_ / WHEEL_DELTA;
        wheelRest_ %= WHEEL_DELTA;
        RECT r;
        GetClientRect(hwnd_, &r);
        const int step = lines == WHEEL_PAGESCROLL ? r.bottom : static_cast<int>(lines) * 20;
        if (notches != 0) ScrollTo(scrolled_ - notches * step);
        return 0;
    }
    }
    return Default(message, wParam, lParam);
}

// ---------------------------------------------------------------- splitter
