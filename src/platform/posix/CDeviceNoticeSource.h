// Where the registrations of windows for device notices are kept, so that a
// registration's handle can end its registration whichever backend made it.
#pragma once

class CDeviceNoticeSource {
public:
    CDeviceNoticeSource() = default;
    CDeviceNoticeSource(const CDeviceNoticeSource&) = delete;
    CDeviceNoticeSource& operator=(const CDeviceNoticeSource&) = delete;
    virtual ~CDeviceNoticeSource() = default;

    // Ends the registration `id`; an unknown one is ignored.
    virtual void Unregister(int id) = 0;
};
