// One bulk transfer as a libusb asynchronous transfer.
#include "platform/libusb/CLibusbTransfer.h"

#include <libusb.h>

#include <cerrno>
#include <new>

#include "platform/libusb/CLibusbContext.h"
#include "platform/posix/CPosixEvent.h"
#include "platform/posix/OverlappedState.h"

CLibusbTransfer::CLibusbTransfer(CLibusbContext& context, Overlapped* overlapped, std::shared_ptr<CPosixEvent> event)
    : m_context(context), m_transfer(libusb_alloc_transfer(0)), m_overlapped(overlapped), m_event(std::move(event))
{
    if (m_transfer == nullptr) {
        throw std::bad_alloc();
    }
    m_overlapped->Internal = kOverlappedPending;
    m_overlapped->InternalHigh = 0;
}

CLibusbTransfer::~CLibusbTransfer()
{
    libusb_free_transfer(m_transfer);
}

int CLibusbTransfer::Submit(libusb_device_handle* handle, std::uint8_t endpoint, void* data, DWORD length)
{
    // No time-out here: the caller's wait bounds the transfer and cancels it.
    libusb_fill_bulk_transfer(m_transfer, handle, endpoint, static_cast<unsigned char*>(data),
                              static_cast<int>(length), OnCompletion, this, 0);
    const int result = libusb_submit_transfer(m_transfer);
    if (result != LIBUSB_SUCCESS) {
        return static_cast<int>(CLibusbContext::ErrorCode(result));
    }
    m_submitted = true;
    m_context.TransferStarted();
    return 0;
}

void CLibusbTransfer::Cancel()
{
    if (m_submitted && m_completed == 0) {
        const int result = libusb_cancel_transfer(m_transfer);
        // Not found: the completion is already on its way; no device: it
        // comes with the device's removal.
        if (result != LIBUSB_SUCCESS && result != LIBUSB_ERROR_NOT_FOUND && result != LIBUSB_ERROR_NO_DEVICE) {
            m_context.ReportFailure("a USB transfer cannot be cancelled", CLibusbContext::ErrorCode(result));
        }
    }
}

DWORD CLibusbTransfer::ErrorCode(int status)
{
    switch (status) {
    case LIBUSB_TRANSFER_COMPLETED:
        return 0;
    case LIBUSB_TRANSFER_CANCELLED:
        return ERROR_OPERATION_ABORTED;
    case LIBUSB_TRANSFER_NO_DEVICE:
        return ENODEV;
    case LIBUSB_TRANSFER_OVERFLOW:
        // The device sent more than was asked for: the read failed.
        return EOVERFLOW;
    case LIBUSB_TRANSFER_STALL:
        return EPIPE;
    case LIBUSB_TRANSFER_TIMED_OUT:
        return ETIMEDOUT;
    default:
        return EIO;
    }
}

void CLibusbTransfer::OnCompletion(libusb_transfer* transfer)
{
    auto* self = static_cast<CLibusbTransfer*>(transfer->user_data);
    self->m_context.TransferEnded();
    const int length = transfer->actual_length > 0 ? transfer->actual_length : 0;
    self->Complete(ErrorCode(transfer->status), static_cast<DWORD>(length));
}

void CLibusbTransfer::Complete(DWORD error, DWORD count)
{
    m_overlapped->InternalHigh = count;
    m_overlapped->Internal = error;
    if (m_event) {
        m_event->Signal();
    }
    m_completed = 1;
}
