#include "ui/pages/cookies_to_keep_page.h"

#include <commdlg.h>

#include "app/option_keys.h"
#include "engine/history_cleaner.h"
#include "platform/handles.h"
#include "platform/system_library.h"
#include "ui/message_box.h"

namespace {

// Far above any list a person keeps.
constexpr DWORD kLargestImport = 1 << 20;

std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) continue;
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        items.push_back(std::move(text));
    }
    return items;
}

// The sites of a list's selected rows, as entries of the keep list.
std::vector<KeepEntry> SelectedEntries(HWND list) {
    const LRESULT count = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return {};
    std::vector<int> rows(static_cast<size_t>(count));
    SendMessageA(list, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(rows.data()));
    const std::vector<std::string> shown = ListItems(list);
    std::vector<KeepEntry> entries;
    for (int row : rows)
        if (row >= 0 && static_cast<size_t>(row) < shown.size())
            if (std::optional<KeepEntry> entry = ParseKeepEntry(shown[static_cast<size_t>(row)]))
                entries.push_back(std::move(*entry));
    return entries;
}

// The open-file dialog, from comdlg32.dll loaded only for it.
std::string AskForImportFile(HWND owner) {
    using GetOpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEA);
    static HMODULE dialogs = LoadSystemLibrary("comdlg32.dll");
    auto open = dialogs ? reinterpret_cast<GetOpenFileNameFn>(reinterpret_cast<void*>(GetProcAddress(dialogs, "GetOpenFileNameA")))
                        : nullptr;
    if (!open) return {};
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = "Import sites to keep";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    return open(&ofn) ? std::string(file) : std::string();
}

bool ReadImportFile(const std::string& path, std::string& text) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    const DWORD size = GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > kLargestImport) return false;
    text.resize(size);
    DWORD got = 0;
    return size == 0 || (ReadFile(file.get(), text.data(), size, &got, nullptr) && got == size);
}

} // namespace

CWindowCookiesToKeep::CWindowCookiesToKeep(ProgramSettings* settings, HistoryCleaner* cleaner)
    : COptionPage(IDD_COOKIES_TO_KEEP, 480, 330, settings, {}), chooseImportFile(AskForImportFile), cleaner_(cleaner) {}

std::vector<std::string> CWindowCookiesToKeep::FoundSites() const { return ListItems(Item(IDC_KEEP_FOUND)); }
std::vector<std::string> CWindowCookiesToKeep::KeptSites() const { return ListItems(Item(IDC_KEEP_LIST)); }

void CWindowCookiesToKeep::LoadOwn() {
    const OptionsIni& options = settings().options;
    keep_ = CookieKeepList{};
    damaged_ = settings().keepOptionsFile ||
                   options.Get(OptionKeys::kCookiesToKeepPage, OptionKeys::kKeepListDamaged).has_value();
    // What can still be read of a damaged list is shown, for the user to check and apply.
    for (const std::string& value : options.GetAll(OptionKeys::kCookiesToKeepPage, OptionKeys::kKeepSite)) {
        if (const std::optional<KeepEntry> entry = ParseKeepEntry(value))
            keep_.Add(*entry);
        else
            damaged_ = true;
    }
    SetItemText(IDC_KEEP_STATUS, damaged_ ? "The list could not be read whole: no cookies are removed until it is "
                                           "applied again."
                                         : "");
    found_ = cleaner_ ? cleaner_->SitesWithCookies() : std::vector<std::string>{};
    Refill();
}

BOOL CWindowCookiesToKeep::OnInitDialog() {
    COptionPage::OnInitDialog();
    if (damaged_) MarkModified();
    return TRUE;
}

void CWindowCookiesToKeep::Reset() {
    COptionPage::Reset();
    if (damaged_) MarkModified();
}

void CWindowCookiesToKeep::Refill() {
    SendItem(IDC_KEEP_FOUND, LB_RESETCONTENT);
    for (const std::string& site : found_)
        if (!keep_.KeepsCookieHost(site)) SendItem(IDC_KEEP_FOUND, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(site.c_str()));
    SendItem(IDC_KEEP_LIST, LB_RESETCONTENT);
    for (const std::string& site : keep_.Stored()) SendItem(IDC_KEEP_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(site.c_str()));
}

void CWindowCookiesToKeep::ApplyOwn() {
    ProgramSettings& s = settings();
    s.options.SetAll(OptionKeys::kCookiesToKeepPage, OptionKeys::kKeepSite, keep_.Stored());
    s.options.SetAll(OptionKeys::kCookiesToKeepPage, OptionKeys::kKeepListDamaged, {});
    damaged_ = false;
    SetItemText(IDC_KEEP_STATUS, "");
    // On disk at once: the next clearing, a watch's or another start's, must see this list.
    if (!s.SaveOptions())
        ShowMessage(hwnd_, "Error", "", "options.ini could not be written: the list of cookies to keep was not saved.",
                    IDI_BOX_MESSAGE);
}

bool CWindowCookiesToKeep::AddTyped(const std::string& text) {
    const std::optional<KeepEntry> entry = ParseKeepEntry(text);
    if (!entry) {
        const std::string message = "\"" + text + "\" is no site. Enter a domain (example.com), an IP address or "
                                    "host:port (192.168.1.10:8080).";
        ShowMessage(hwnd_, "Error", "", message.c_str(), IDI_BOX_MESSAGE);
        return false;
    }
    if (keep_.Add(*entry)) MarkModified();
    Refill();
    return true;
}

void CWindowCookiesToKeep::MoveFoundAcross() {
    bool added = false;
    for (const KeepEntry& entry : SelectedEntries(Item(IDC_KEEP_FOUND))) added = keep_.Add(entry) || added;
    if (added) MarkModified();
    Refill();
}

void CWindowCookiesToKeep::RemoveKept() {
    bool removed = false;
    for (const KeepEntry& entry : SelectedEntries(Item(IDC_KEEP_LIST))) removed = keep_.Remove(entry) || removed;
    if (removed) MarkModified();
    Refill();
}

void CWindowCookiesToKeep::Import() {
    const std::string path = chooseImportFile ? chooseImportFile(GetAncestor(hwnd_, GA_ROOT)) : std::string();
    if (path.empty()) return;
    std::string text;
    if (!ReadImportFile(path, text)) {
        const std::string message = "\"" + path + "\" could not be read.";
        ShowMessage(hwnd_, "Error", "", message.c_str(), IDI_BOX_MESSAGE);
        return;
    }
    const KeepImport import = ParseKeepImport(text);
    size_t added = 0;
    for (const KeepEntry& entry : import.entries) added += keep_.Add(entry) ? 1 : 0;
    if (added) MarkModified();
    Refill();
    if (import.rejected) {
        const std::string where = import.rejected == 1
                                      ? " line was no site and was skipped (line "
                                      : " lines were no site and were skipped (the first: line ";
        const std::string message = std::to_string(added) + (added == 1 ? " site was" : " sites were") + " added. " +
                                    std::to_string(import.rejected) + where +
                                    std::to_string(import.firstRejectedLine) + ").";
        ShowMessage(hwnd_, "Warning", "", message.c_str(), IDI_BOX_MESSAGE);
    }
}

void CWindowCookiesToKeep::OnOwnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case IDC_KEEP_MOVE_IN: MoveFoundAcross(); break;
    case IDC_KEEP_REMOVE: RemoveKept(); break;
    case IDC_KEEP_IMPORT: Import(); break;
    case IDC_KEEP_ADD:
        if (AddTyped(ItemText(IDC_KEEP_EDIT))) SetItemText(IDC_KEEP_EDIT, "");
        break;
    default: break;
    }
}
