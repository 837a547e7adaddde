#pragma once
// hook.dll: empties the clipboard shortly after the user pastes with Ctrl+V and/or Shift+Ins.
#include <windows.h>

#ifdef ZLT_BUILDING_HOOK
#define ZLT_HOOK_API extern "C" __declspec(dllexport)
#else
#define ZLT_HOOK_API extern "C" __declspec(dllimport)
#endif

// Installs the system-wide keyboard watch; `window` is the program's main window. The flags are 0 or 1.
ZLT_HOOK_API void SetHook(HWND window, BOOL clearOnCtrlV, BOOL clearOnShiftIns);
// Removes it again.
ZLT_HOOK_API void UnHook();
