#pragma once
// A picture of part of the screen, as a user sees it, saved as a 24-bit BMP (screenshots and the
// end-to-end tests' artifacts).
#include <windows.h>

// False when the rectangle is empty or the picture could not be taken or written whole.
bool SaveScreenPicture(const char* path, const RECT& area);
