// The program's libusb context and its event handling. Everything libusb
// reports (transfer completions, hotplug callbacks) is handled on the thread
// that calls HandleEvents, the user-interface thread; libusb's own hotplug
// thread only wakes it through the context's event descriptors.
//
// The descriptors libusb wants polled come from its pollfd notifiers, as its
// documentation asks of a program with a poll loop of its own: the ones in
// use when the context is made, then each one it adds (a device opened) or
// removes (a device closed or gone). libusb adds and removes them on the
// thread that calls into it. Transfers here carry no libusb time-out (the
// caller's wait bounds them), so libusb has no timed events of its own to be
// called for: polling its descriptors is enough.
//
// Every libusb result is checked. A failure is reported once per kind on the
// report stream, however often it comes again; a failing round of event
// handling ends in a pause, so that callers that try again do not spin.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <string>

#include "platform/PlatformBasics.h"

struct libusb_context;

class CLibusbContext {
public:
    // Who watches libusb's descriptors in a poll of its own.
    class DescriptorWatcher {
    public:
        virtual ~DescriptorWatcher() = default;
        // libusb wants `descriptor` polled for `events` (POLLIN, POLLOUT).
        virtual void DescriptorAdded(int descriptor, short events) = 0;
        // libusb stops using it: it must not be polled any more.
        virtual void DescriptorRemoved(int descriptor) = 0;
    };

    // The longest pause after a failed round of event handling.
    static constexpr std::uint64_t kFailurePauseMs = 50;

    // Failures are reported on `report` (standard error).
    explicit CLibusbContext(std::ostream& report) : m_report(report) {}
    CLibusbContext(const CLibusbContext&) = delete;
    CLibusbContext& operator=(const CLibusbContext&) = delete;
    ~CLibusbContext();

    // Initialises libusb and learns its descriptors: 0, or the errno of its
    // failure.
    int Open();
    libusb_context* Get() const { return m_context; }

    // Tells `watcher` (null: nobody) of the descriptors libusb uses now, then
    // of each one it adds or removes, until another watcher is set.
    void SetDescriptorWatcher(DescriptorWatcher* watcher);

    // One round of event handling: what is ready, and what comes within
    // `milliseconds` (0: only what is ready); with `completed`, none once
    // *completed is not 0. False when the round failed (a signal that ends
    // the wait early is no failure): reported, and followed by a pause of
    // up to kFailurePauseMs within the time given.
    bool HandleEvents(std::uint64_t milliseconds, int* completed = nullptr);
    // Rounds until *done is not 0. A failing round is tried again after its
    // pause: the completion is the one moment from which libusb leaves a
    // transfer's storage alone.
    void HandleEventsUntil(int* done);
    // Whether a round of event handling has failed since the context began.
    bool EventsFailed() const { return m_eventsFailed; }

    // Transfers submitted and not yet completed, on every device.
    int TransfersInFlight() const { return m_transfersInFlight; }
    void TransferStarted() { ++m_transfersInFlight; }
    void TransferEnded() { --m_transfersInFlight; }

    // Reports the failure of `what` for the reason `error` (an errno), the
    // first time only.
    void ReportFailure(const std::string& what, DWORD error);

    // The errno for a libusb error code.
    static DWORD ErrorCode(int libusbError);

private:
    static void OnDescriptorAdded(int descriptor, short events, void* self);
    static void OnDescriptorRemoved(int descriptor, void* self);

    std::ostream& m_report;
    libusb_context* m_context = nullptr;
    std::map<int, short> m_descriptors;
    DescriptorWatcher* m_watcher = nullptr;
    std::set<std::string> m_reported;
    bool m_eventsFailed = false;
    int m_transfersInFlight = 0;
};
