// One device-notice registration, ended with its handle.
#include "platform/posix/CDeviceNoticeRegistration.h"

#include "platform/posix/CDeviceNoticeSource.h"

CDeviceNoticeRegistration::~CDeviceNoticeRegistration()
{
    m_source.Unregister(m_id);
}
