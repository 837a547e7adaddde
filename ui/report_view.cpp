#include "ui/report_view.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <iterator>

#include "resources/resource_ids.h"
#include "ui/message_box.h"
#include "ui/report_text.h"

namespace {

struct Column {
    const char* title;
    int width; // in dialog units, as the template's
};

const Column kItemColumns[] = {{"Item", 220}, {"Action", 56}, {"Size or rows", 56}, {"Reason", 110}};
const ItemColumn kItemCells[] = {ItemColumn::Item, ItemColumn::Action, ItemColumn::SizeOrRows, ItemColumn::Reason};
const Column kGroupColumns[] = {{"Browser or part", 90}, {"Profile", 70}, {"Kind", 90},
                                {"Removed", 44},         {"Left", 36},    {"Size or rows", 70}};
const GroupColumn kGroupCells[] = {GroupColumn::Group, GroupColumn::Profile, GroupColumn::Kind,
                                   GroupColumn::Removed, GroupColumn::Left, GroupColumn::SizeOrRows};

void AddColumns(HWND list, HWND dialog, const Column* columns, size_t count) {
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    for (size_t i = 0; i < count; ++i) {
        RECT width = {0, 0, columns[i].width, 0};
        MapDialogRect(dialog, &width);
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(columns[i].title);
        column.cx = width.right;
        column.iSubItem = static_cast<int>(i);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

} // namespace

CReportView::CReportView(std::shared_ptr<const RunRecord> record, std::string reportsFolder)
    : CDialog(IDD_REPORT_VIEW), record_(std::move(record)), reportsFolder_(std::move(reportsFolder)) {}

BOOL CReportView::OnInitDialog() {
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN),
                                                     IMAGE_ICON, 16, 16, LR_SHARED)));
    if (record_ && record_->preview) SetWindowTextA(hwnd_, "Clearing preview");
    SetItemText(IDC_REPORT_SUMMARY, ReportHeading(record_.get()).c_str());
    AddColumns(Item(IDC_REPORT_GROUPS), hwnd_, kGroupColumns, std::size(kGroupColumns));
    AddColumns(Item(IDC_REPORT_ITEMS), hwnd_, kItemColumns, std::size(kItemColumns));
    FillGroups();
    // The items are not copied into the list: it asks for each cell it shows.
    const size_t count = record_ ? record_->items.size() : 0;
    SendItem(IDC_REPORT_ITEMS, LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL);
    EnableItem(IDC_REPORT_OPEN_FOLDER, !reportsFolder_.empty());

    RECT window;
    GetWindowRect(hwnd_, &window);
    minimum_ = {window.right - window.left, window.bottom - window.top};
    CenterOver(GetParent(hwnd_));
    SetFocus(Item(IDCANCEL));
    return FALSE; // the focus is set
}

void CReportView::FillGroups() {
    if (!record_) return;
    HWND list = Item(IDC_REPORT_GROUPS);
    int row = 0;
    for (const GroupTotal& group : record_->Groups()) {
        for (size_t column = 0; column < std::size(kGroupCells); ++column) {
            const std::string text = GroupCell(group, kGroupCells[column]);
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = row;
            item.iSubItem = static_cast<int>(column);
            item.pszText = const_cast<char*>(text.c_str());
            SendMessageA(list, column == 0 ? LVM_INSERTITEMA : LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        ++row;
    }
}

LRESULT CReportView::OnNotify(NMHDR* header) {
    if (header->idFrom != IDC_REPORT_ITEMS || header->code != LVN_GETDISPINFOA || !record_) return 0;
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
    if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || static_cast<size_t>(item.iItem) >= record_->items.size() ||
        item.iSubItem < 0 || static_cast<size_t>(item.iSubItem) >= std::size(kItemCells))
        return 0;
    cell_ = ItemCell(record_->items[static_cast<size_t>(item.iItem)], kItemCells[item.iSubItem]);
    if (item.pszText && item.cchTextMax > 0)
        lstrcpynA(item.pszText, cell_.c_str(), item.cchTextMax);
    return 0;
}

void CReportView::OnCommand(int id, int code) {
    if (id == IDC_REPORT_OPEN_FOLDER && code == BN_CLICKED) OpenReportsFolder();
    CDialog::OnCommand(id, code);
}

void CReportView::OpenReportsFolder() {
    // A preview, or a first clearing that could not save, leaves no folder yet: one is made, so that
    // the user sees where the reports go.
    SHCreateDirectoryExA(nullptr, reportsFolder_.c_str(), nullptr);
    ShellExecuteA(hwnd_, "open", reportsFolder_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CReportView::Layout(int width, int height) {
    // Dialog units of the template: the lists take what the window gains, the buttons stay below.
    RECT margin = {7, 14, 60, 7};
    MapDialogRect(hwnd_, &margin);
    const int gap = margin.left, button = margin.top;
    auto place = [&](int id, int x, int y, int w, int h) { MoveWindow(Item(id), x, y, w, h, TRUE); };
    RECT summary;
    GetWindowRect(Item(IDC_REPORT_SUMMARY), &summary);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&summary), 2);
    RECT groups;
    GetWindowRect(Item(IDC_REPORT_GROUPS), &groups);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&groups), 2);
    const int inner = width - 2 * gap;
    place(IDC_REPORT_SUMMARY, gap, summary.top, inner, summary.bottom - summary.top);
    place(IDC_REPORT_GROUPS, gap, groups.top, inner, groups.bottom - groups.top);
    const int buttonsTop = height - gap - button;
    const int itemsTop = groups.bottom + gap / 2;
    place(IDC_REPORT_ITEMS, gap, itemsTop, inner, buttonsTop - gap - itemsTop);
    RECT openWidth = {0, 0, 90, 0};
    MapDialogRect(hwnd_, &openWidth);
    place(IDC_REPORT_OPEN_FOLDER, gap, buttonsTop, openWidth.right, button);
    place(IDCANCEL, width - gap - margin.right, buttonsTop, margin.right, button);
}

LRESULT CReportView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        // Sizes before the dialog is set up have no controls to place.
        if (minimum_.cx && wParam != SIZE_MINIMIZED) Layout(LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_GETMINMAXINFO:
        if (minimum_.cx) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = minimum_.cx;
            info->ptMinTrackSize.y = minimum_.cy;
        }
        return TRUE;
    }
    return CDialog::OnMessage(message, wParam, lParam);
}

void ShowReportView(HWND parent, std::shared_ptr<const RunRecord> record, const std::string& reportsFolder) {
    CReportView view(std::move(record), reportsFolder);
    view.Run(parent);
}

void ConfirmWithReport(HWND parent, const char* caption, const char* firstLine,
                       std::shared_ptr<const RunRecord> record, const std::string& reportsFolder) {
    if (!record) {
        ShowMessage(parent, caption, "", firstLine, IDI_BOX_MESSAGE);
        return;
    }
    const std::string text = ConfirmationText(firstLine, *record);
    if (AskQuestion(parent, caption, "", text.c_str(), IDI_BOX_QUESTION)) ShowReportView(parent, record, reportsFolder);
}
