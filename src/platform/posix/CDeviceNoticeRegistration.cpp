// One device-notice registration, ended with its handle.
#include "CDeviceNoticeRegistration.h"

#include "CDeviceWatch.h"

CDeviceNoticeRegistration::~CDeviceNoticeRegistration()
{
    m_watch.Unregister(m_id);
}
