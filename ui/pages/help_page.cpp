#include "ui/pages/help_page.h"

#include <htmlhelp.h>

#include <cstring>

#include "resources/resource_ids.h"
#include "ui/html_help.h"

namespace {

const char kHelpFileName[] = "zlt.chm";
const char kHelpWindowType[] = "Zephyrlanthorpe Help";
const char kHelpToc[] = "zlt.chm::/Table of Contents.hhc";
const char kHelpHome[] = "zlt.chm::/Introduction/introduction.html";

// The structure HTML Help knows in 32-bit programs.
static_assert(sizeof(void*) != 4 || sizeof(HH_WINTYPE) == 196);

// The folder of the running program, with its last backslash.
std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n < MAX_PATH ? n : 0);
    const size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

bool Readable(const void* address, size_t size) {
    MEMORY_BASIC_INFORMATION info;
    if (!address || VirtualQuery(address, &info, sizeof info) != sizeof info) return false;
    const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                           PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    if (info.State != MEM_COMMIT || !(info.Protect & readable) ||
        (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)))
        return false;
    const auto start = reinterpret_cast<uintptr_t>(address);
    return start + size <= reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
}

} // namespace

CWindowHelp::CWindowHelp() : CPage(IDD_HELP, 460, 420) {
    // The help file lies beside the program. Named by its full path, HTML Help finds it whatever the
    // current folder has become since the start.
    helpFile_ = ProgramFolder() + kHelpFileName;
    helpWindowName_ = helpFile_ + ">" + kHelpWindowType;
}

HWND CWindowHelp::helpWindow() const {
    HelpWindows windows;
    return QueryHelpWindows(windows) ? windows.help : nullptr;
}

// HTML Help brings the browser engine's libraries into the process; they come with the first
// showing of the page, not with the start of the program.
void CWindowHelp::OpenHelpWindow() {
    helpOpened_ = true;
    HH_WINTYPE type = {};
    type.cbStruct = sizeof type;
    type.fsValidMembers = HHWIN_PARAM_PROPERTIES | HHWIN_PARAM_STYLES | HHWIN_PARAM_EXSTYLES |
                          HHWIN_PARAM_RECT | HHWIN_PARAM_SHOWSTATE | HHWIN_PARAM_TB_FLAGS |
                          HHWIN_PARAM_EXPANSION | HHWIN_PARAM_TABPOS;
    type.pszType = kHelpWindowType;
    type.fsWinProperties = HHWIN_PROP_NOTITLEBAR | HHWIN_PROP_NODEF_STYLES | HHWIN_PROP_TRI_PANE;
    type.dwStyles = WS_CHILD;
    type.dwExStyles = 0;
    type.rcWindowPos = {0, 0, 400, 400};
    type.nShowState = SW_SHOW;
    type.iNavWidth = 250;
    type.pszToc = kHelpToc;
    type.pszFile = kHelpHome;
    type.pszHome = kHelpHome;
    type.fsToolBarFlags = HHWIN_BUTTON_BACK | HHWIN_BUTTON_HOME | HHWIN_BUTTON_PRINT;
    type.fNotExpanded = FALSE;
    type.curNavType = 3;
    static_assert((HHWIN_PARAM_PROPERTIES | HHWIN_PARAM_STYLES | HHWIN_PARAM_EXSTYLES | HHWIN_PARAM_RECT |
                   HHWIN_PARAM_SHOWSTATE | HHWIN_PARAM_TB_FLAGS | HHWIN_PARAM_EXPANSION |
                   HHWIN_PARAM_TABPOS) == 0x75E);
    ProcessHtmlHelp().Call(hwnd_, helpFile_.c_str(), HH_SET_WIN_TYPE, reinterpret_cast<DWORD_PTR>(&type));
    // Wine ignores a window type set for a file without a window name; it takes the same type from
    // the help file's own window definition, so the window is this page's child either way.
    const HWND help = ProcessHtmlHelp().Call(hwnd_, helpWindowName_.c_str(), HH_DISPLAY_TOC, 0);
    // Only a help window that exists is ever asked for again: Wine answers HH_GET_WIN_TYPE for a
    // window it does not know from uninitialised memory.
    helpShown_ = help && IsWindow(help);
    if (helpShown_) { // laid out for the page as it is now
        RECT client;
        GetClientRect(hwnd_, &client);
        MoveWindow(help, 0, 0, client.right, client.bottom, TRUE);
    }
}

bool CWindowHelp::QueryHelpWindows(HelpWindows& windows) const {
    if (!helpShown_ || !hwnd_) return false;
    // Windows writes the address of its own structure into the answer; Wine copies the structure
    // itself there, whose first bytes then read as a bogus address. A buffer the size of the
    // structure takes either, and nothing in it is believed until the windows turn out to be ours.
    union {
        const HH_WINTYPE* address;
        HH_WINTYPE copy;
    } answer;
    std::memset(&answer, 0, sizeof answer);
    ProcessHtmlHelp().Call(hwnd_, helpWindowName_.c_str(), HH_GET_WIN_TYPE,
                           reinterpret_cast<DWORD_PTR>(&answer));
    HH_WINTYPE type;
    auto ownHelp = [this](HWND h) { return h && IsWindow(h) && GetAncestor(h, GA_PARENT) == hwnd_; };
    if (answer.copy.cbStruct == static_cast<int>(sizeof(HH_WINTYPE)) && ownHelp(answer.copy.hwndHelp))
        type = answer.copy;
    else if (Readable(answer.address, sizeof(HH_WINTYPE)))
        std::memcpy(&type, answer.address, sizeof type);
    else
        return false;
    if (!ownHelp(type.hwndHelp)) return false;
    auto part = [&](HWND h) { return h && IsWindow(h) && IsChild(type.hwndHelp, h) ? h : nullptr; };
    windows.help = type.hwndHelp;
    windows.html = part(type.hwndHTML);
    windows.navigation = part(type.hwndNavigation);
    windows.toolbar = part(type.hwndToolBar);
    return true;
}

void CWindowHelp::Redraw(const HelpWindows& windows) {
    for (HWND w : {windows.html, windows.navigation, windows.toolbar, windows.help})
        if (w)
            RedrawWindow(w, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
}

LRESULT CWindowHelp::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: {
        CPage::OnMessage(message, wParam, lParam);
        HelpWindows windows;
        if (QueryHelpWindows(windows)) {
            MoveWindow(windows.help, 0, 0, LOWORD(lParam), HIWORD(lParam), FALSE);
            Redraw(windows);
        }
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hwnd_, &paint);
        HelpWindows windows;
        if (QueryHelpWindows(windows)) Redraw(windows);
        EndPaint(hwnd_, &paint);
        return TRUE;
    }
    case WM_SHOWWINDOW:
        if (wParam && !helpOpened_) OpenHelpWindow();
        break;
    case WM_DESTROY:
        // Every help window of the process: this page's is the only one.
        if (helpOpened_) ProcessHtmlHelp().Call(nullptr, nullptr, HH_CLOSE_ALL, 0);
        helpShown_ = false;
        break;
    }
    return CPage::OnMessage(message, wParam, lParam);
}
