// What one download of a flash file came to, for the caller's own account
// (the user has been told already): how it ended and what was transferred.
#pragma once

#include <cstdint>

#include "framework/AfxTypes.h"

enum class DownloadOutcome {
    Programmed,           // the device reported the programming and came back
    FileNotOpened,        // the flash file could not be opened
    LockGivenUp,          // the lock prompt was answered with Cancel
    NotProgrammed,        // no record was answered with the programming report
    StatusWindowGivenUp,  // reported, but the wait for the device was given up
    Failed,               // a failure outside a record's exchange
};

struct DownloadReport {
    DownloadOutcome outcome = DownloadOutcome::NotProgrammed;
    // True once records were being sent (the progress window was up).
    bool transferStarted = false;
    // Records the device took, and their bytes (each record once).
    std::int64_t recordsTaken = 0;
    std::uint64_t bytesTaken = 0;
    // From the start of the transfer to its last record, in milliseconds.
    DWORD transferMs = 0;
};
