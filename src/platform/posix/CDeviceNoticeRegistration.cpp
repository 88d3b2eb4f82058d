// One device-notice registration, ended with its handle.
#include "CDeviceNoticeRegistration.h"

#include "CDeviceNoticeSource.h"

CDeviceNoticeRegistration::~CDeviceNoticeRegistration()
{
    m_source.Unregister(m_id);
}
