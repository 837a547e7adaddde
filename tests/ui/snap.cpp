// Saves a picture of a window as a 24-bit BMP, taken from the screen as a user sees it:
//   zlt_snap.exe [options] "window title" C:\path\picture.bmp
// Waits up to 20 s for a visible top-level window with that title (any process). Options:
//   --post MSG WPARAM LPARAM  post a message to that window first (numbers in decimal)
//   --cursor X Y              put the mouse there first (menus open at the cursor)
//   --class NAME              then picture the first visible window of this class instead
//   --whole                   picture the whole screen
// Exit status 0 when a picture was saved.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool SaveBitmap(const char* path, HDC screen, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    const int stride = (w * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<size_t>(stride) * h);
    GetDIBits(memory, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&info, sizeof info, 1, f);
    std::fwrite(pixels.data(), 1, pixels.size(), f);
    std::fclose(f);
    return true;
}

} // namespace

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
    for (const auto& p : posts) PostMessageA(window, static_cast<UINT>(p[0]), p[1], p[2]);
    if (!posts.empty()) Sleep(1000);
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
    HDC screen = GetDC(nullptr);
    const bool ok = SaveBitmap(out, screen, r);
    ReleaseDC(nullptr, screen);
    return ok ? 0 : 1;
}
