// Saves a picture of a window as a 24-bit BMP, taken from the screen as a user sees it:
//   zlt_snap.exe [options] "window title" C:\path\picture.bmp
// Waits up to 20 s for a visible top-level window with that title (any process). Options:
//   --post MSG WPARAM LPARAM  post a message to that window first (numbers in decimal)
//   --cursor X Y              put the mouse there first (menus open at the cursor)
//   --class NAME              then picture the first visible window of this class instead
//   --size W H                give that window this size first
//   --tree ROW                select that visible row of the window's tree view first (0 the top)
//   --whole                   picture the whole screen
// Exit status 0 when a picture was saved.
#include <windows.h>
#include <commctrl.h>

#include "tests/ui/screen_picture.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

HWND WaitFor(const char* className, const char* title) {
    for (int i = 0; i < 200; ++i) {
        HWND window = FindWindowA(className, title);
        if (window && IsWindowVisible(window)) return window;
        Sleep(100);
    }
    return nullptr;
}

int main(int argc, char** argv) {
    bool whole = false;
    const char* pictureClass = nullptr;
    std::vector<std::vector<long>> posts;
    int treeRow = -1;
    int width = 0, height = 0;
    int i = 1;
    for (; i < argc && std::string(argv[i]).rfind("--", 0) == 0; ++i) {
        const std::string option = argv[i];
        if (option == "--whole") {
            whole = true;
        } else if (option == "--class" && i + 1 < argc) {
            pictureClass = argv[++i];
        } else if (option == "--cursor" && i + 2 < argc) {
            SetCursorPos(std::atoi(argv[i + 1]), std::atoi(argv[i + 2]));
            i += 2;
        } else if (option == "--size" && i + 2 < argc) {
            width = std::atoi(argv[i + 1]);
            height = std::atoi(argv[i + 2]);
            i += 2;
        } else if (option == "--tree" && i + 1 < argc) {
            treeRow = std::atoi(argv[++i]);
        } else if (option == "--post" && i + 3 < argc) {
            posts.push_back({std::atol(argv[i + 1]), std::atol(argv[i + 2]), std::atol(argv[i + 3])});
            i += 3;
        }
    }
    if (argc - i < 2) return 2;
    const char* title = argv[i];
    const char* out = argv[i + 1];
    HWND window = WaitFor(nullptr, title);
    if (!window) {
        std::fprintf(stderr, "snap: no window \"%s\"\n", title);
        return 1;
    }
    Sleep(1000); // let it finish painting
    if (width > 0 && height > 0) {
        SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
        Sleep(500);
    }
    for (const auto& p : posts) PostMessageA(window, static_cast<UINT>(p[0]), p[1], p[2]);
    if (!posts.empty()) Sleep(1000);
    if (treeRow >= 0) {
        HWND tree = nullptr;
        EnumChildWindows(
            window,
            [](HWND child, LPARAM found) {
                char cls[64] = {};
                GetClassNameA(child, cls, sizeof cls);
                // The navigation tree (154), not the help window's contents tree.
                if (std::string(cls) != "SysTreeView32" || GetDlgCtrlID(child) != 154) return TRUE;
                *reinterpret_cast<HWND*>(found) = child;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&tree));
        if (!tree) {
            std::fprintf(stderr, "snap: no tree view\n");
            return 1;
        }
        // As a user would: the first row, then down the visible rows.
        PostMessageA(tree, WM_KEYDOWN, VK_HOME, 0);
        for (int row = 0; row < treeRow; ++row) PostMessageA(tree, WM_KEYDOWN, VK_DOWN, 0);
        Sleep(1500);
    }
    if (pictureClass) {
        window = WaitFor(pictureClass, nullptr);
        if (!window) {
            std::fprintf(stderr, "snap: no window of class %s\n", pictureClass);
            return 1;
        }
        Sleep(500);
    }
    RECT r;
    if (whole)
        GetWindowRect(GetDesktopWindow(), &r);
    else
        GetWindowRect(window, &r);
    return SaveScreenPicture(out, r) ? 0 : 1;
}
