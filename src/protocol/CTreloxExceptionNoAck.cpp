// A record refused on every send, and its message.
#include "protocol/CTreloxExceptionNoAck.h"

CTreloxExceptionNoAck::CTreloxExceptionNoAck(int attempts) : m_nAttempts(attempts) {}

CString CTreloxExceptionNoAck::GetMessageText() const
{
    if (m_nAttempts <= 1) {
        return CString("Kein Acknowledge");
    }
    CString text;
    text.Format("Kein Acknowledge (%d Versuche)", m_nAttempts);
    return text;
}
