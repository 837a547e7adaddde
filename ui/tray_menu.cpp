#include "ui/tray_menu.h"

#include "app/messages.h"
#include "resources/resource_ids.h"

namespace {

constexpr COLORREF kBandDark = RGB(0x1E, 0x1E, 0x88);
constexpr COLORREF kBandLight = RGB(0x81, 0x81, 0xFF);
constexpr int kBandWidth = 25, kImageColumn = 20;
constexpr COLORREF kImageMask = RGB(0, 0, 255);

void Gradient(HDC dc, const RECT& r, COLORREF from, COLORREF to, bool vertical) {
    TRIVERTEX v[2] = {};
    v[0] = {r.left, r.top, static_cast<COLOR16>(GetRValue(from) << 8), static_cast<COLOR16>(GetGValue(from) << 8),
            static_cast<COLOR16>(GetBValue(from) << 8), 0};
    v[1] = {r.right, r.bottom, static_cast<COLOR16>(GetRValue(to) << 8), static_cast<COLOR16>(GetGValue(to) << 8),
            static_cast<COLOR16>(GetBValue(to) << 8), 0};
    GRADIENT_RECT g = {0, 1};
    GradientFill(dc, v, 2, &g, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

// The system's menu font; the caller deletes it.
HFONT MenuFont(bool bold) {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&metrics.lfMenuFont);
}

int ImageFor(UINT command) {
    switch (command) {
    case CmdOpenMainWindow: return IDB_TRAY_OPEN;
    case CmdClearHistory: return IDB_TRAY_CLEAR;
    case CmdAbout: return IDB_TRAY_ABOUT;
    case CmdHelp: return IDB_TRAY_HELP;
    case CmdCheckLatestVersion: return IDB_TRAY_UPDATE;
    case CmdTrayExit: return IDB_TRAY_EXIT;
    default: return 0;
    }
}

} // namespace

CTrayMenu::~CTrayMenu() { Destroy(); }

bool CTrayMenu::Build(HINSTANCE instance, const char* displayName) {
    Destroy();
    instance_ = instance;
    displayName_ = displayName;
    menu_ = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_TRAY_MENU));
    popup_ = menu_ ? GetSubMenu(menu_, 0) : nullptr;
    if (!popup_) return false;

    // The header: disabled, at the top.
    InsertMenuA(popup_, 0, MF_BYPOSITION | MF_STRING | MF_DISABLED, 0, displayName);
    const int count = GetMenuItemCount(popup_);
    for (int i = 0; i < count; ++i) {
        auto item = std::make_unique<Item>();
        char text[128] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(popup_, i, TRUE, &info);
        item->separator = (info.fType & MFT_SEPARATOR) != 0;
        item->header = i == 0;
        item->text = item->separator ? "" : text;
        item->id = info.wID;
        item->imageId = item->header ? 0 : ImageFor(info.wID);
        item->hasImage = item->imageId != 0;

        MENUITEMINFOA owner = {};
        owner.cbSize = sizeof owner;
        owner.fMask = MIIM_FTYPE | MIIM_DATA;
        owner.fType = (info.fType & MFT_SEPARATOR) | MFT_OWNERDRAW;
        owner.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
        SetMenuItemInfoA(popup_, i, TRUE, &owner);
        items_.push_back(std::move(item));
    }
    return true;
}

void CTrayMenu::Destroy() {
    if (menu_) DestroyMenu(menu_);
    menu_ = popup_ = nullptr;
    items_.clear();
}

void CTrayMenu::Track(HWND owner, UINT flags) {
    if (!popup_) return;
    POINT p;
    GetCursorPos(&p);
    SetForegroundWindow(owner);
    TrackPopupMenuEx(popup_, flags, p.x, p.y, owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);
}

int CTrayMenu::ItemHeight(const Item& item) const {
    if (item.separator) return 6;
    return item.header ? 25 : 20;
}

int CTrayMenu::TopOf(const Item& item) const {
    int top = 0;
    for (const auto& i : items_) {
        if (i.get() == &item) break;
        top += ItemHeight(*i);
    }
    return top;
}

bool CTrayMenu::OnMeasureItem(MEASUREITEMSTRUCT* m) {
    if (m->CtlType != ODT_MENU) return false;
    const auto* item = reinterpret_cast<const Item*>(m->itemData);
    if (!item) return false;
    int textWidth = 0;
    if (!item->text.empty()) {
        HDC dc = GetDC(nullptr);
        HFONT font = MenuFont(item->header);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size;
        GetTextExtentPoint32A(dc, item->text.c_str(), static_cast<int>(item->text.size()), &size);
        textWidth = size.cx;
        SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(nullptr, dc);
    }
    m->itemHeight = ItemHeight(*item);
    m->itemWidth = kImageColumn + kBandWidth + (textWidth > 100 ? textWidth : 100);
    return true;
}

// Each item draws its own slice of one band that runs down the whole menu: a vertical gradient with
// the maker's name written upwards, aligned to the band's bottom.
void CTrayMenu::DrawBand(HDC dc, const RECT& itemRect, int itemTop) const {
    RECT band = {itemRect.left, itemRect.top, itemRect.left + kBandWidth, itemRect.bottom};
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, band.left, band.top, band.right, band.bottom);
    // The band is as tall as the menu's items together, so the name ends at the menu's bottom.
    int height = 0;
    for (const auto& i : items_) height += ItemHeight(*i);
    RECT whole = {band.left, itemRect.top - itemTop, band.right, itemRect.top - itemTop + height};
    Gradient(dc, whole, kBandDark, kBandLight, true);
    HFONT font = CreateFontA(18, 0, 900, 900, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, "Tahoma");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, whole.left + 3, whole.bottom - 2, " Quorvex", 8);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    RestoreDC(dc, saved);
}

bool CTrayMenu::OnDrawItem(const DRAWITEMSTRUCT* d) {
    if (d->CtlType != ODT_MENU) return false;
    const auto* item = reinterpret_cast<const Item*>(d->itemData);
    if (!item) return false;
    HDC dc = d->hDC;
    const RECT& r = d->rcItem;
    DrawBand(dc, r, TopOf(*item));
    RECT rest = {r.left + kBandWidth, r.top, r.right, r.bottom};

    if (item->header) {
        Gradient(dc, rest, kBandDark, kBandLight, false);
        HBRUSH frame = CreateSolidBrush(kBandDark);
        FrameRect(dc, &rest, frame);
        DeleteObject(frame);
        HFONT font = MenuFont(true);
        HGDIOBJ old = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextA(dc, item->text.c_str(), -1, &rest, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, old);
        DeleteObject(font);
        return true;
    }

    const bool selected = (d->itemState & ODS_SELECTED) != 0;
    const bool disabled = (d->itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    FillRect(dc, &rest, GetSysColorBrush(selected && !item->separator ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (item->separator) {
        RECT line = {rest.left + 2, rest.top + 2, rest.right - 2, rest.top + 4};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return true;
    }
    if (item->hasImage) {
        HBITMAP image = static_cast<HBITMAP>(
            LoadImageA(instance_, MAKEINTRESOURCEA(item->imageId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (image) {
            BITMAP info;
            GetObjectA(image, sizeof info, &info);
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, image);
            const int x = rest.left + (kImageColumn - info.bmWidth) / 2 + 2;
            const int y = rest.top + ((rest.bottom - rest.top) - info.bmHeight) / 2;
            TransparentBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, info.bmWidth, info.bmHeight,
                           kImageMask);
            SelectObject(memory, old);
            DeleteDC(memory);
            DeleteObject(image);
        }
    }
    HFONT font = MenuFont(false);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    RECT text = {rest.left + kImageColumn + 6, rest.top, rest.right, rest.bottom};
    DrawTextA(dc, item->text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(font);
    return true;
}
