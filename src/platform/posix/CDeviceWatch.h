// Arrival and removal notices of the bus's devices, from an inotify watch on
// the bus folder: a marker created or moved in is an arrival, a marker
// deleted or moved out a removal. The window system polls Descriptor() and
// takes the notices one at a time on the user-interface thread; they wait in
// the notice queue both Linux backends share.
//
// Notices the system could not keep (its queue overflowed) become one notice
// of the state the bus is in now: an arrival when a device is present, else a
// removal, with an empty interface path. A bus folder that is removed is
// watched again when it is back (its parent folder is watched meanwhile), and
// a device already present then is announced the same way.
#pragma once

#include <map>
#include <string>

#include "platform/CPlatform.h"
#include "platform/posix/CBusDirectory.h"
#include "platform/posix/CDeviceNoticeQueue.h"
#include "platform/posix/CDeviceNoticeSource.h"

struct inotify_event;

class CDeviceWatch : public CDeviceNoticeSource {
public:
    CDeviceWatch() = default;
    ~CDeviceWatch() override;

    // Starts notices of the bus folder `bus` for `window`. 0 with the
    // registration's number in *id, or an errno.
    int Register(WindowHandle window, const CBusDirectory& bus, int* id);
    void Unregister(int id) override;

    // Readable while a notice may be waiting (CDeviceNoticeQueue); -1 while
    // nobody is registered.
    int Descriptor() const { return m_queue.Descriptor(); }
    // The next notice; false when none is waiting. Never blocks.
    bool Take(DeviceNotice* notice);

private:
    struct Registration {
        WindowHandle window;
        CBusDirectory bus;
        int watch;        // -1 while the bus folder is gone
        int parentWatch;  // the folder that holds the bus, while it is gone; else -1
    };

    void ReadEvents();
    void HandleEvent(const inotify_event& event);
    void Queue(int watch, UINT eventType, const std::string& path);
    void QueueFor(WindowHandle window, UINT eventType, const std::string& path);
    // One notice per registration of whether a device is present now.
    void QueuePresentState(const Registration& registration);
    // The bus folder of `watch` is gone: wait for it in its parent folder.
    void LoseWatch(int watch);
    void RearmLostWatches();
    // Stops the system's watch `watch` unless a registration still uses it.
    void ReleaseWatch(int watch);

    // Starts the inotify descriptor and the queue that watches it: 0 or an errno.
    int Start();
    void Stop();

    int m_fd = -1;  // inotify
    int m_nextId = 1;
    std::map<int, Registration> m_registrations;
    CDeviceNoticeQueue m_queue;
};
