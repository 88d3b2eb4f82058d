// Arrival and removal notices of the bus's devices, from an inotify watch on
// the bus folder: a marker created or moved in is an arrival, a marker
// deleted or moved out a removal. The window system polls Descriptor() and
// takes the notices one at a time on the user-interface thread.
#pragma once

#include <deque>
#include <map>
#include <string>

#include "../CPlatform.h"

class CDeviceWatch {
public:
    CDeviceWatch() = default;
    CDeviceWatch(const CDeviceWatch&) = delete;
    CDeviceWatch& operator=(const CDeviceWatch&) = delete;
    ~CDeviceWatch();

    // Starts notices of the bus folder `busPath` for `window`. 0 with the
    // registration's number in *id, or an errno.
    int Register(WindowHandle window, const std::string& busPath, int* id);
    void Unregister(int id);

    // Readable when a notice may be waiting; -1 while nobody is registered.
    int Descriptor() const { return m_fd; }
    // The next notice; false when none is waiting. Never blocks.
    bool Take(DeviceNotice* notice);

    // The broadcast record of a notice about interface `path`.
    static std::vector<BYTE> BuildRecord(const std::string& path);

private:
    struct Registration {
        WindowHandle window;
        int watch;
    };

    void ReadEvents();
    void Queue(int watch, UINT eventType, const std::string& path);

    int m_fd = -1;
    int m_nextId = 1;
    std::map<int, Registration> m_registrations;
    std::deque<DeviceNotice> m_pending;
};
