// Saves a picture of a window as a 24-bit BMP, taken from the screen as a user sees it:
//   zlt_snap.exe "window title" C:\path\picture.bmp [whole]
// Waits up to 20 s for a visible top-level window with that title (any process); with "whole" the
// whole screen is taken instead of the window's rectangle. Exit status 0 when a picture was saved.
#include <windows.h>

#include <cstdio>
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

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const bool whole = argc > 3 && std::string(argv[3]) == "whole";
    HWND window = nullptr;
    for (int i = 0; i < 200 && !window; ++i) {
        window = FindWindowA(nullptr, argv[1]);
        if (window && !IsWindowVisible(window)) window = nullptr;
        if (!window) Sleep(100);
    }
    if (!window) {
        std::fprintf(stderr, "snap: no window \"%s\"\n", argv[1]);
        return 1;
    }
    Sleep(1000); // let it finish painting
    RECT r;
    if (whole)
        GetWindowRect(GetDesktopWindow(), &r);
    else
        GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    const bool ok = SaveBitmap(argv[2], screen, r);
    ReleaseDC(nullptr, screen);
    return ok ? 0 : 1;
}
