// The handle object of one device-notice registration; ending it (by
// unregistering or closing the handle) stops the window's notices.
#pragma once

#include "platform/posix/CPosixObject.h"

class CDeviceNoticeSource;

class CDeviceNoticeRegistration : public CPosixObject {
public:
    CDeviceNoticeRegistration(CDeviceNoticeSource& source, int id) : m_source(source), m_id(id) {}
    ~CDeviceNoticeRegistration() override;

private:
    CDeviceNoticeSource& m_source;
    int m_id;
};
