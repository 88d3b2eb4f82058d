// The device notices waiting for the window system, as both Linux backends
// keep them, and the one descriptor it polls for them (the platform's
// DeviceNoticeDescriptor). The descriptor is readable while a notice waits
// in the queue, while a source has woken it (Wake: something to collect is
// there), or while a descriptor of a source it watches is ready; so a caller
// may poll it at any time, also with notices not yet taken. It stops being
// readable when a Take finds nothing and the sources have nothing ready.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/CPlatform.h"

class CDeviceNoticeQueue {
public:
    CDeviceNoticeQueue() = default;
    CDeviceNoticeQueue(const CDeviceNoticeQueue&) = delete;
    CDeviceNoticeQueue& operator=(const CDeviceNoticeQueue&) = delete;
    ~CDeviceNoticeQueue();

    // Makes the descriptor: 0 (also when it is there already), or an errno.
    int Open();
    // Closes it and drops the waiting notices; Descriptor() is -1 then.
    void Close();
    int Descriptor() const { return m_poll; }

    // Watches a source's descriptor for `events` (EPOLLIN, EPOLLOUT): 0, or
    // an errno. Watching it again changes its events.
    int Watch(int descriptor, std::uint32_t events);
    // Stops watching it (before it is closed, or it may be reused).
    void Unwatch(int descriptor);
    // Whether a watched descriptor of a source is ready now. Never blocks.
    bool SourcesReady() const;

    // Queues a notice of `eventType` about interface `path` for `window`.
    void Push(WindowHandle window, UINT eventType, const std::string& path);
    // A source has something to collect: the descriptor becomes readable.
    void Wake();
    // The next notice; false when none is waiting, which also ends what
    // Wake started. Never blocks.
    bool Take(DeviceNotice* notice);
    bool Empty() const { return m_pending.empty(); }
    void Clear() { m_pending.clear(); }

    // The broadcast record of a notice about interface `path`.
    static std::vector<BYTE> BuildRecord(const std::string& path);

private:
    void SetWaiting(bool waiting);

    int m_poll = -1;
    int m_waiting = -1;  // an event descriptor, readable while notices may wait
    std::deque<DeviceNotice> m_pending;
};
