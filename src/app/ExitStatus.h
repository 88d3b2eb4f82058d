// The process's exit status in direct mode: 0 when the device reported the
// programming carried out and came back, a distinct code for every other
// ending (the README lists them).
#pragma once

#include "flash/DownloadReport.h"

enum ExitStatus {
    exitProgrammed = 0,           // also: dialog mode, and a run that does neither
    exitNoApplication = 1,        // the framework found no application object
    exitDeviceNotFound = 2,       // the device could not be opened (any mode)
    exitFileNotOpened = 3,        // the flash file could not be opened
    exitLockGivenUp = 4,          // the lock prompt answered with Cancel
    exitNotProgrammed = 5,        // no record answered with the programming report
    exitStatusWindowGivenUp = 6,  // the wait for the device's return given up
    exitDownloadFailed = 7,       // a failure outside a record's exchange
    exitNoDialog = 8,             // dialog mode without a terminal to work the dialog on
};

ExitStatus ExitStatusOf(DownloadOutcome outcome);
