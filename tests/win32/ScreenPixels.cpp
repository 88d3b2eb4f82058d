// What the screen shows in a rectangle.
#include "ScreenPixels.h"

#include <algorithm>

std::size_t ScreenPixels::DifferingBytes(const ScreenPixels& other) const
{
    if (width != other.width || height != other.height || bits.size() != other.bits.size()) {
        return std::max(bits.size(), other.bits.size());
    }
    std::size_t differing = 0;
    for (std::size_t index = 0; index < bits.size(); ++index) {
        if (bits[index] != other.bits[index]) {
            ++differing;
        }
    }
    return differing;
}

BITMAPINFOHEADER ScreenPixels::Header() const
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    return header;
}

bool ScreenPixels::HasContrast() const
{
    const std::size_t stride = Stride();
    for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row) {
        for (std::size_t column = 0; column < static_cast<std::size_t>(width) * 3; ++column) {
            if (bits[row * stride + column] != bits[column % 3]) {
                return true;
            }
        }
    }
    return false;
}

ScreenPixels ReadScreen(const RECT& area)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return ScreenPixels();
    }
    ScreenPixels pixels;
    pixels.width = width;
    pixels.height = height;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ::SelectObject(memory, previous);

    BITMAPINFOHEADER header = pixels.Header();
    pixels.bits.resize(pixels.Stride() * static_cast<std::size_t>(height));
    const int rows = ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.bits.data(),
                                 reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return rows == height ? pixels : ScreenPixels();
}
