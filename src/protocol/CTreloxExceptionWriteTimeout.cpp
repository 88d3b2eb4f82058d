// A pipe write time-out and its message.
#include "protocol/CTreloxExceptionWriteTimeout.h"

CString CTreloxExceptionWriteTimeout::GetMessageText() const
{
    return CString("Timeout beim Schreiben");
}
