// A picture of a window as it stands on the screen, saved as a 24-bit BMP
// file (the screenshot script turns it into PNG for the README).
#pragma once

#include "framework/win32/Win32UserApi.h"

#include <string>

// False when the window or the file could not be had.
bool SaveWindowScreenshot(HWND window, const std::string& bmpPath);
