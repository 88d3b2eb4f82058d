// The monotonic clock of the POSIX platform.
#include "platform/posix/CPosixClock.h"

#include <time.h>

#include <cerrno>

std::uint64_t CPosixClock::NowMilliseconds()
{
    timespec now;
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
}

void CPosixClock::Sleep(std::uint64_t milliseconds)
{
    timespec remaining;
    remaining.tv_sec = static_cast<time_t>(milliseconds / 1000u);
    remaining.tv_nsec = static_cast<long>((milliseconds % 1000u) * 1000000u);
    while (::nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}
