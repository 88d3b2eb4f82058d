// How the POSIX platforms keep a transfer's state in its overlapped record:
// Internal holds kOverlappedPending while the transfer runs, then its error
// code (0: success); InternalHigh holds the bytes transferred.
#pragma once

#include <cstdint>

inline constexpr std::uintptr_t kOverlappedPending = ~static_cast<std::uintptr_t>(0);
