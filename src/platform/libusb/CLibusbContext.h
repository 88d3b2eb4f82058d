// The program's libusb context and its event handling. Everything libusb
// reports (transfer completions, hotplug callbacks) is handled on the thread
// that calls HandleEvents, the user-interface thread; libusb's own hotplug
// thread only wakes it through the context's internal event descriptors.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/PlatformBasics.h"

struct libusb_context;

class CLibusbContext {
public:
    CLibusbContext() = default;
    CLibusbContext(const CLibusbContext&) = delete;
    CLibusbContext& operator=(const CLibusbContext&) = delete;
    ~CLibusbContext();

    // Initialises libusb: 0, or the errno of its failure.
    int Open();
    libusb_context* Get() const { return m_context; }

    // Handles what is ready and what comes within `milliseconds`; returns
    // after the first round of events or when the time is up.
    void HandleEvents(std::uint64_t milliseconds);
    // Handles events until *done is no longer 0.
    void HandleEventsUntil(int* done);

    // The descriptors libusb wakes its event handling with, apart from those
    // of open devices: readable when a hotplug callback is due.
    const std::vector<int>& WakeDescriptors() const { return m_wakeDescriptors; }

    // Transfers submitted and not yet completed, on every device.
    int TransfersInFlight() const { return m_transfersInFlight; }
    void TransferStarted() { ++m_transfersInFlight; }
    void TransferEnded() { --m_transfersInFlight; }

    // The errno for a libusb error code.
    static DWORD ErrorCode(int libusbError);

private:
    libusb_context* m_context = nullptr;
    std::vector<int> m_wakeDescriptors;
    int m_transfersInFlight = 0;
};
