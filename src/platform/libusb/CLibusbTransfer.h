// One bulk transfer of a pipe as a libusb asynchronous transfer, for an
// overlapped record: while it runs, libusb moves the bytes straight from the
// caller's bytes or into the caller's buffer; its completion writes the
// outcome into the record and signals the record's event. After that it
// touches nothing of the caller's any more.
//
// A write ends without a zero-length packet, also when its length is a
// multiple of the packet size: the device's Windows driver sends none, and a
// device that does not expect one could take it for an empty record and
// answer it, so that every later acknowledge would be taken for the wrong
// record.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/PlatformTypes.h"

class CLibusbContext;
class CPosixEvent;
struct libusb_device_handle;
struct libusb_transfer;

class CLibusbTransfer {
public:
    CLibusbTransfer(CLibusbContext& context, Overlapped* overlapped, std::shared_ptr<CPosixEvent> event);
    CLibusbTransfer(const CLibusbTransfer&) = delete;
    CLibusbTransfer& operator=(const CLibusbTransfer&) = delete;
    // Only once it has completed (or was never submitted).
    ~CLibusbTransfer();

    // Starts the transfer: 0 while it runs, or the errno of a refused start.
    int Submit(libusb_device_handle* handle, std::uint8_t endpoint, void* data, DWORD length);
    // Asks libusb to end it; the completion still has to come. A refusal
    // other than "already ending" is reported through the context.
    void Cancel();

    bool Uses(const Overlapped* overlapped) const { return m_overlapped == overlapped; }
    // Becomes non-zero when the completion has come.
    int* CompletedFlag() { return &m_completed; }
    bool Completed() const { return m_completed != 0; }

    // The record's error code for a libusb transfer status.
    static DWORD ErrorCode(int status);

private:
    static void OnCompletion(libusb_transfer* transfer);
    void Complete(DWORD error, DWORD count);

    CLibusbContext& m_context;
    libusb_transfer* m_transfer;
    Overlapped* m_overlapped;
    std::shared_ptr<CPosixEvent> m_event;
    int m_completed = 0;
    bool m_submitted = false;
};
