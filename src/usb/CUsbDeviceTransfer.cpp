// The device object's timed transfers: one write or one read over a pipe.
#include "usb/CUsbDevice.h"

#include "protocol/CTreloxExceptionRead.h"
#include "protocol/CTreloxExceptionReadTimeout.h"
#include "protocol/CTreloxExceptionWrite.h"
#include "protocol/CTreloxExceptionWriteTimeout.h"
#include "usb/CPipeTransfer.h"
#include "usb/DeviceContract.h"

namespace {

// A negative count asks for nothing.
DWORD ByteCount(int count)
{
    return count > 0 ? static_cast<DWORD>(count) : 0;
}

}  // namespace

int CUsbDevice::Write(const char* bytes, int count)
{
    const DWORD requested = ByteCount(count);
    CPipeTransfer transfer(m_hWritePipe);
    switch (transfer.Write(bytes, requested, kTransferTimeoutMs)) {
    case CPipeTransfer::Outcome::Completed:
        return transfer.Transferred();
    case CPipeTransfer::Outcome::TimedOut:
        throw CTreloxExceptionWriteTimeout();
    case CPipeTransfer::Outcome::Failed:
        break;
    }
    throw CTreloxExceptionWrite(static_cast<int>(requested), transfer.Transferred(), transfer.Error());
}

int CUsbDevice::Read(char* buffer, int size)
{
    const DWORD requested = ByteCount(size);
    CPipeTransfer transfer(m_hReadPipe);
    switch (transfer.Read(buffer, requested, kTransferTimeoutMs)) {
    case CPipeTransfer::Outcome::Completed:
        return transfer.Transferred();
    case CPipeTransfer::Outcome::TimedOut:
        throw CTreloxExceptionReadTimeout();
    case CPipeTransfer::Outcome::Failed:
        break;
    }
    throw CTreloxExceptionRead(static_cast<int>(requested), transfer.Transferred(), transfer.Error());
}
