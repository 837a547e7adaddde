#pragma once
// The hot keys' window actions: minimise every window, close or hide the browsers' windows, and
// show the hidden ones again (also at exit).
#include <windows.h>

void MinimizeAllWindows();
void CloseAllBrowsers();
void HideAllBrowsers();
// Shows the hidden windows in the order they were hidden; always 1.
int ShowHiddenBrowsers();
