// One open pipe of a real USB device: a bulk endpoint of the device's link
// and the transfers running on it. Closing the pipe cancels them and waits
// for their completions, so that none outlives the caller's storage; the
// link (and with it the claimed interface) goes with the last pipe.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/PlatformTypes.h"
#include "platform/posix/CPosixObject.h"

class CLibusbContext;
class CLibusbDeviceLink;
class CLibusbTransfer;
class CPosixEvent;

class CLibusbPipe : public CPosixObject {
public:
    CLibusbPipe(CLibusbContext& context, std::shared_ptr<CLibusbDeviceLink> link, std::uint8_t endpoint,
                PipeAccess access);
    ~CLibusbPipe() override;

    PipeAccess Access() const { return m_access; }
    bool IsOpen() const { return m_link != nullptr; }
    const CLibusbDeviceLink* Link() const { return m_link.get(); }

    // Starts a transfer of `length` bytes at `data` for `overlapped`: 0 while
    // it runs, or the errno of a refused start.
    int Start(void* data, DWORD length, Overlapped* overlapped, std::shared_ptr<CPosixEvent> event);
    // Waits until the transfer of `overlapped` has completed, handling
    // libusb's events (CLibusbContext::HandleEventsUntil: a failing round is
    // tried again after a pause).
    void Await(const Overlapped* overlapped);
    // Ends the transfer of `overlapped` and waits for its completion.
    void Cancel(const Overlapped* overlapped);
    // Ends every transfer, waits for them, and lets go of the link.
    void Close() override;

private:
    CLibusbTransfer* Find(const Overlapped* overlapped) const;
    // Forgets the transfers that have completed.
    void Tidy();

    CLibusbContext& m_context;
    std::shared_ptr<CLibusbDeviceLink> m_link;
    std::uint8_t m_endpoint;
    PipeAccess m_access;
    std::vector<std::unique_ptr<CLibusbTransfer>> m_transfers;
};
