// A pipe read time-out and its message.
#include "protocol/CTreloxExceptionReadTimeout.h"

CString CTreloxExceptionReadTimeout::GetMessageText() const
{
    return CString("Timeout beim Lesen");
}
