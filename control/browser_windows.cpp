#include "control/browser_windows.h"

#include <deque>
#include <string>

#include "control/browser_titles.h"

namespace {

// First hidden, first shown; lives as long as the program.
std::deque<HWND>& HiddenWindows() {
    static std::deque<HWND> queue;
    return queue;
}

// Visible windows with a title other than "Program Manager" (the desktop).
std::string CandidateTitle(HWND window) {
    char title[256] = {};
    GetWindowTextA(window, title, 255);
    if (!IsWindow(window) || !IsWindowVisible(window) || !title[0] || std::string(title) == "Program Manager")
        return {};
    return title;
}

BOOL CALLBACK Minimize(HWND window, LPARAM) {
    if (!CandidateTitle(window).empty()) ShowWindow(window, SW_MINIMIZE);
    return TRUE;
}

BOOL CALLBACK Close(HWND window, LPARAM) {
    const std::string title = CandidateTitle(window);
    for (int n = BrowserEndingsMatched(title); n > 0; --n) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

BOOL CALLBACK Hide(HWND window, LPARAM) {
    const std::string title = CandidateTitle(window);
    for (int n = BrowserEndingsMatched(title); n > 0; --n) {
        HiddenWindows().push_back(window);
        ShowWindow(window, SW_HIDE);
    }
    return TRUE;
}

} // namespace

void MinimizeAllWindows() { EnumWindows(Minimize, 0); }
void CloseAllBrowsers() { EnumWindows(Close, 0); }
void HideAllBrowsers() { EnumWindows(Hide, 0); }

int ShowHiddenBrowsers() {
    auto& queue = HiddenWindows();
    while (!queue.empty()) {
        HWND window = queue.front();
        queue.pop_front();
        if (window) ShowWindow(window, SW_SHOWNORMAL);
    }
    return 1;
}
