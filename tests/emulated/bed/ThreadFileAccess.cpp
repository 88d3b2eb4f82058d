// The calling thread without the power to pass over file permissions.
#include "ThreadFileAccess.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
struct Capabilities {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
};

bool Get(Capabilities* caps)
{
    return ::syscall(SYS_capget, &caps->header, caps->data) == 0;
}

bool Set(Capabilities* caps)
{
    return ::syscall(SYS_capset, &caps->header, caps->data) == 0;
}

constexpr unsigned kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
}  // namespace

ThreadFileAccess::ThreadFileAccess()
{
    Capabilities caps;
    if (!Get(&caps) || (caps.data[0].effective & kOverrides) == 0) {
        return;
    }
    m_effective[0] = caps.data[0].effective;
    m_effective[1] = caps.data[1].effective;
    caps.data[0].effective &= ~kOverrides;
    m_dropped = Set(&caps);
}

ThreadFileAccess::~ThreadFileAccess()
{
    Capabilities caps;
    if (m_dropped && Get(&caps)) {
        caps.data[0].effective = m_effective[0];
        caps.data[1].effective = m_effective[1];
        Set(&caps);
    }
}
