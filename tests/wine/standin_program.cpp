// A stand-in for a browser or messenger in the running-program tests: copied under the program's
// executable name, it opens top-level windows with the titles it is given and ends when the last one
// has been closed (exit code 7, so that a test can tell it from a termination).
//
//   standin [--hidden] [--stubborn] [--hang] TITLE...
//                                              one window per title; --hidden keeps them invisible,
//                                              --stubborn ignores WM_CLOSE, --hang never looks at
//                                              its messages (a program that has stopped responding)
//   standin --keys VK MODIFIERS                presses MODIFIERS (1 Shift, 2 Control, 4 Alt) + VK
//                                              with SendInput and ends
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

int openWindows = 0;
bool stubborn = false;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        if (!stubborn) DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (--openWindows == 0) PostQuitMessage(7);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void AddKey(std::vector<INPUT>& input, WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    input.push_back(in);
}

int PressKeys(WORD vk, unsigned modifiers) {
    std::vector<INPUT> input;
    const WORD mods[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    for (int i = 0; i < 3; ++i)
        if (modifiers & (1u << i)) AddKey(input, mods[i], false);
    AddKey(input, vk, false);
    AddKey(input, vk, true);
    for (int i = 2; i >= 0; --i)
        if (modifiers & (1u << i)) AddKey(input, mods[i], true);
    return SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT)) == input.size() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--keys") == 0)
        return PressKeys(static_cast<WORD>(std::strtoul(argv[2], nullptr, 0)),
                         static_cast<unsigned>(std::strtoul(argv[3], nullptr, 0)));
    bool hidden = false, hang = false;
    std::vector<const char*> titles;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--hidden") == 0)
            hidden = true;
        else if (std::strcmp(argv[i], "--stubborn") == 0)
            stubborn = true;
        else if (std::strcmp(argv[i], "--hang") == 0)
            hang = true;
        else
            titles.push_back(argv[i]);
    }
    WNDCLASSA cls = {};
    cls.lpfnWndProc = StandInProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "ZltStandIn";
    RegisterClassA(&cls);
    for (const char* title : titles) {
        HWND window = CreateWindowExA(0, "ZltStandIn", title, WS_OVERLAPPEDWINDOW | (hidden ? 0 : WS_VISIBLE), 10,
                                      10, 200, 120, nullptr, nullptr, cls.hInstance, nullptr);
        if (window) ++openWindows;
    }
    if (openWindows == 0) return 2;
    if (hang) Sleep(INFINITE);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
