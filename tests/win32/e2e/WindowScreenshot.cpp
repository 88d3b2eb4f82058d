// A picture of a window from the screen, saved as BMP.
#include "WindowScreenshot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "ScreenPixels.h"
#include "TestPaths.h"

bool SaveWindowScreenshot(HWND window, const std::string& bmpPath)
{
    RECT frame{};
    if (!::GetWindowRect(window, &frame)) {
        return false;
    }
    const ScreenPixels pixels = ReadScreen(frame);
    if (pixels.Empty()) {
        return false;
    }
    const BITMAPINFOHEADER header = pixels.Header();
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
    fileHeader.bfSize = static_cast<DWORD>(fileHeader.bfOffBits + pixels.bits.size());
    std::ofstream file(bmpPath, std::ios::binary);
    file.write(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
    file.write(reinterpret_cast<const char*>(&header), sizeof header);
    file.write(pixels.bits.data(), static_cast<std::streamsize>(pixels.bits.size()));
    return static_cast<bool>(file);
}

std::string ScreenshotFolder()
{
    const char* folder = std::getenv("TRELOX_SCREENSHOT_DIR");
    return folder != nullptr && *folder != '\0' ? SystemPathOf(folder) : std::string();
}

void Screenshot(HWND window, const char* name)
{
    const std::string folder = ScreenshotFolder();
    if (!folder.empty()) {
        EXPECT_TRUE(SaveWindowScreenshot(window, folder + "\\" + name + ".bmp")) << name;
    }
}
