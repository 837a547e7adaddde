#include "app/main_app.h"

#include <msi.h>

#include <cstdio>

#include "app/settings.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"

const char kProductCode[] = "{A5C31E77-0B4D-4F62-9E18-5D0C7B2E4A91}";
const char kDisplayName[] = "Zephyrlanthorpe";

namespace {
LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        Settings().SaveSettings();
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
} // namespace

bool CMainApp::InitInstance() {
    char folder[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (MsiGetProductInfoA(kProductCode, INSTALLPROPERTY_INSTALLLOCATION, folder, &size) != ERROR_SUCCESS) {
        char text[128];
        std::snprintf(text, sizeof text, "%s is not installed.", kDisplayName);
        ShowMessage(nullptr, "Error", "", text, IDI_BOX_MESSAGE);
        return false;
    }
    SetCurrentDirectoryA(folder);
    ProgramSettings& settings = Settings();
    settings.installFolder = folder;
    settings.LoadSettings();

    WNDCLASSA wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_MAIN));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kDisplayName;
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, kDisplayName, kDisplayName, WS_OVERLAPPEDWINDOW, settings.windowLeft,
                                  settings.windowTop, settings.windowWidth, settings.windowHeight, nullptr, nullptr,
                                  instance_, nullptr);
    if (!window) return false;
    ShowWindow(window, settings.windowShowCmd ? settings.windowShowCmd : SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return false;
}
