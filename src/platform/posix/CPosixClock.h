// The monotonic clock of the POSIX platform: tick counts, deadlines and
// sleeping that survives signals.
#pragma once

#include <cstdint>

class CPosixClock {
public:
    // Milliseconds of the monotonic clock; unaffected by changes of the date.
    static std::uint64_t NowMilliseconds();
    // Sleeps the whole time even when signals interrupt it.
    static void Sleep(std::uint64_t milliseconds);
};
