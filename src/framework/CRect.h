// A rectangle in pixels: a window's client area, or its place on the screen.
#pragma once

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};
