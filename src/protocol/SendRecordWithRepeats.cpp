// The repeat rule for one flash-file record.
#include "protocol/SendRecordWithRepeats.h"

#include "protocol/CTreloxExceptionNoAck.h"
#include "usb/CUsbDevice.h"
#include "usb/DeviceContract.h"

AckResult SendRecordWithRepeats(CUsbDevice& device, const CString& record)
{
    for (int attempt = 1; attempt <= kMaxRecordSends; ++attempt) {
        const AckResult result = device.SendLine(record);
        if (result != ackRejected) {
            return result;
        }
    }
    throw CTreloxExceptionNoAck(kMaxRecordSends);
}
