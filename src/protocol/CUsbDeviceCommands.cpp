// The record/acknowledge exchange of the device object.
#include "usb/CUsbDevice.h"

#include "platform/CPlatform.h"
#include "protocol/CTreloxExceptionResponse.h"
#include "protocol/CTreloxExceptionWrite.h"
#include "usb/DeviceContract.h"

AckResult CUsbDevice::SendLine(const CString& line)
{
    const int length = line.GetLength();
    const int written = Write(line.GetString(), length);
    if (written != length) {
        throw CTreloxExceptionWrite(length, written, Platform().GetLastError());
    }
    return ReadAcknowledge();
}

AckResult CUsbDevice::ReadAcknowledge()
{
    char reply[kAcknowledgeBufferSize] = {};
    const int length = Read(reply, kAcknowledgeBufferSize);
    if (length == kAcknowledgeLength && static_cast<unsigned char>(reply[0]) == kAckLead) {
        switch (static_cast<unsigned char>(reply[1])) {
        case kAckAccepted:
            return ackAccepted;
        case kAckRejected:
            return ackRejected;
        case kAckProgrammed:
            return ackProgrammed;
        default:
            break;
        }
    }
    throw CTreloxExceptionResponse(length, reinterpret_cast<const BYTE*>(reply));
}
