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

LRESULT CWindowRightPanel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 0;
    return Default(message, wParam, lParam);
}

// ---------------------------------------------------------------- splitter
