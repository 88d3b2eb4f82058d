// What the screen shows in a rectangle, read back from the display as a user
// would see it: 24-bit pixels, rows bottom-up as a BMP file keeps them.
#pragma once

#include "framework/win32/Win32UserApi.h"

#include <vector>

struct ScreenPixels {
    int width = 0;
    int height = 0;
    std::vector<char> bits;  // rows padded to whole 32-bit words

    bool Empty() const { return bits.empty(); }
    // Bytes in a row of `bits`.
    std::size_t Stride() const { return ((static_cast<std::size_t>(width) * 3 + 3) / 4) * 4; }
    // The pixels' layout as a bitmap header (a BMP file's too).
    BITMAPINFOHEADER Header() const;
    // How many bytes differ from `other` (all of them when the sizes differ).
    std::size_t DifferingBytes(const ScreenPixels& other) const;
    // Whether any pixel differs from the first one (something is drawn).
    bool HasContrast() const;
};

// The screen's pixels in `area` (screen coordinates); empty when it could
// not be read.
ScreenPixels ReadScreen(const RECT& area);
