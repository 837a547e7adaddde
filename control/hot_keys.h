#pragma once
// Global hot keys of the main window.
#include <windows.h>

#include <cstdint>

#include "app/settings.h"

enum HotKeyId : int {
    HotKeyIdClearAll = 156,
    HotKeyIdMinimizeAll = 157,
    HotKeyIdCloseBrowsers = 158,
    HotKeyIdCloseAndClear = 159,
    HotKeyIdHideBrowsers = 160,
    HotKeyIdShowBrowsers = 161,
    HotKeyIdHelp = 1999,
};

// RegisterHotKey's result, or 0 when the value holds no key.
BOOL RegisterHotKeyValue(HWND window, int id, uint32_t value);
// At start only "Clear All" and "Close All Browsers and Clear" are registered (and 1999, which has no key).
void RegisterStartupHotKeys(HWND window, const ProgramSettings& s);
void UnregisterStartupHotKeys(HWND window);

// Gives up the hot key `id` of the window and, when `value` holds a key, registers it again; returns
// the value (the settings page stores it back).
uint32_t RegisterHotKeyFor(HWND window, uint32_t value, int id);
// The settings page's Apply: each of the six hot keys is given up and, when it holds a key, taken
// again with its value. From then on all six fire. The settings page writes the values from its
// controls into the settings first.
void ApplyHotKeys(HWND window, const ProgramSettings& s);
