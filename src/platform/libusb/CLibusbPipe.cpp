// One open pipe of a real USB device and its transfers.
#include "platform/libusb/CLibusbPipe.h"

#include <algorithm>
#include <cerrno>

#include "platform/libusb/CLibusbContext.h"
#include "platform/libusb/CLibusbDeviceLink.h"
#include "platform/libusb/CLibusbTransfer.h"

CLibusbPipe::CLibusbPipe(CLibusbContext& context, std::shared_ptr<CLibusbDeviceLink> link, std::uint8_t endpoint,
                         PipeAccess access)
    : m_context(context), m_link(std::move(link)), m_endpoint(endpoint), m_access(access)
{
}

CLibusbPipe::~CLibusbPipe()
{
    CLibusbPipe::Close();
}

int CLibusbPipe::Start(void* data, DWORD length, Overlapped* overlapped, std::shared_ptr<CPosixEvent> event)
{
    Tidy();
    if (!m_link) {
        return EBADF;
    }
    auto transfer = std::make_unique<CLibusbTransfer>(m_context, overlapped, std::move(event));
    const int error = transfer->Submit(m_link->Handle(), m_endpoint, data, length);
    if (error == 0) {
        m_transfers.push_back(std::move(transfer));
    }
    return error;
}

void CLibusbPipe::Await(const Overlapped* overlapped)
{
    CLibusbTransfer* transfer = Find(overlapped);
    if (transfer != nullptr) {
        m_context.HandleEventsUntil(transfer->CompletedFlag());
    }
    Tidy();
}

void CLibusbPipe::Cancel(const Overlapped* overlapped)
{
    CLibusbTransfer* transfer = Find(overlapped);
    if (transfer != nullptr) {
        transfer->Cancel();
        // The system gives a cancelled transfer back soon; until then it
        // may still write into the caller's buffer.
        m_context.HandleEventsUntil(transfer->CompletedFlag());
    }
    Tidy();
}

void CLibusbPipe::Close()
{
    for (const auto& transfer : m_transfers) {
        transfer->Cancel();
    }
    for (const auto& transfer : m_transfers) {
        m_context.HandleEventsUntil(transfer->CompletedFlag());
    }
    m_transfers.clear();
    m_link.reset();
}

CLibusbTransfer* CLibusbPipe::Find(const Overlapped* overlapped) const
{
    for (const auto& transfer : m_transfers) {
        if (transfer->Uses(overlapped) && !transfer->Completed()) {
            return transfer.get();
        }
    }
    return nullptr;
}

void CLibusbPipe::Tidy()
{
    m_transfers.erase(std::remove_if(m_transfers.begin(), m_transfers.end(),
                                     [](const std::unique_ptr<CLibusbTransfer>& transfer) {
                                         return transfer->Completed();
                                     }),
                      m_transfers.end());
}
