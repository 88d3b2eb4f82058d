// The classified acknowledge of one flash-file record.
#pragma once

enum AckResult {
    ackAccepted = 0,    // the record was taken
    ackRejected = 1,    // the record was refused: send it again
    ackProgrammed = 2,  // taken, and the device has carried out the programming
};
