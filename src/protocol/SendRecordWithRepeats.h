// The repeat rule for one flash-file record: a refused record is sent again at
// once, at most three sends in all.
#pragma once

#include "framework/CString.h"
#include "protocol/AckResult.h"

class CUsbDevice;

// Sends `record` until it is not refused: ackAccepted or ackProgrammed.
// Throws CTreloxExceptionNoAck(3) after the third refusal; any error of an
// exchange ends the sends at once and leaves through here unchanged.
AckResult SendRecordWithRepeats(CUsbDevice& device, const CString& record);
