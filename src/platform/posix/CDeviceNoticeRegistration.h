// The handle object of one device-notice registration; ending it (by
// unregistering or closing the handle) stops the window's notices.
#pragma once

#include "CPosixObject.h"

class CDeviceWatch;

class CDeviceNoticeRegistration : public CPosixObject {
public:
    CDeviceNoticeRegistration(CDeviceWatch& watch, int id) : m_watch(watch), m_id(id) {}
    ~CDeviceNoticeRegistration() override;

private:
    CDeviceWatch& m_watch;
    int m_id;
};
