// The simulator's monotonic millisecond clock.
#include "Clock.h"

#include <chrono>

long Clock::NowMs()
{
    static const auto start = std::chrono::steady_clock::now();
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}
