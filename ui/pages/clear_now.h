#pragma once
// What the CLEAR buttons of the pages share: the question before, the lease around the cleaners
// (never beside another clearing) and "Done" after.
#include <windows.h>

#include <functional>

#include "app/settings.h"

// "Are you sure you want to clear select items?"; true for "Yes".
bool AskToClear(HWND page);
// Runs `clear` holding the clearing lease; when another clearing holds it, says so and runs
// nothing. True when it ran.
bool RunClearing(HWND page, ProgramSettings& settings, const std::function<void()>& clear);
// "Done", when confirmations are on.
void SayDone(HWND page, const ProgramSettings& settings);
