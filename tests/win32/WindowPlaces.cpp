// Where windows stand on the screen.
#include "WindowPlaces.h"

namespace WindowPlaces {
namespace {
::testing::AssertionResult& operator<<(::testing::AssertionResult& result, const RECT& rect)
{
    return result << "(" << rect.left << "," << rect.top << ")-(" << rect.right << "," << rect.bottom << ")";
}
}  // namespace

RECT RectOf(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

RECT WorkArea()
{
    RECT area{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

::testing::AssertionResult CentredOn(const RECT& window, const RECT& centre)
{
    // Twice the middles: a pixel either way is rounding.
    const long dx = (window.left + window.right) - (centre.left + centre.right);
    const long dy = (window.top + window.bottom) - (centre.top + centre.bottom);
    const RECT area = WorkArea();
    const bool inside = window.left >= area.left && window.top >= area.top && window.right <= area.right &&
                        window.bottom <= area.bottom;
    if (dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2 && inside) {
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "window " << window << " over " << centre << " in the work area " << area;
    return failure;
}

}  // namespace WindowPlaces
