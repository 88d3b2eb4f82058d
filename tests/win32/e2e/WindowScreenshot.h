// A picture of a window as it stands on the screen, saved as a 24-bit BMP
// file (the screenshot scripts turn it into PNG for the README and docs/).
#pragma once

#include "framework/win32/Win32UserApi.h"

#include <string>

// False when the window or the file could not be had.
bool SaveWindowScreenshot(HWND window, const std::string& bmpPath);
// Where screenshots go (TRELOX_SCREENSHOT_DIR), or empty when none are wanted.
std::string ScreenshotFolder();
// Saves what the screen shows of `window` there as NAME.bmp, when wanted; a
// picture wanted but not saved fails the test.
void Screenshot(HWND window, const char* name);
