// Where windows stand on the screen, for the tests of where the program's
// windows open.
#pragma once

#include <gtest/gtest.h>

#include "framework/win32/Win32UserApi.h"

namespace WindowPlaces {

// The window's frame on the screen.
RECT RectOf(HWND window);
// The screen's work area.
RECT WorkArea();
// The middles of `window` and `centre` lie within a pixel of each other, and
// the window is inside the work area.
::testing::AssertionResult CentredOn(const RECT& window, const RECT& centre);

}  // namespace WindowPlaces
