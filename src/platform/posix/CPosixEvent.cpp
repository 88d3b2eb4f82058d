// An unnamed, auto-resetting event signalled by a transfer's completion.
#include "platform/posix/CPosixEvent.h"

bool CPosixEvent::TakeSignal()
{
    const bool wasSignalled = m_signalled;
    m_signalled = false;
    return wasSignalled;
}
