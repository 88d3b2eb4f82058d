// A failed pipe write and its message.
#include "protocol/CTreloxExceptionWrite.h"

CTreloxExceptionWrite::CTreloxExceptionWrite(int requested, int transferred, DWORD error)
    : m_nRequested(requested), m_nTransferred(transferred), m_dwError(error)
{
}

CString CTreloxExceptionWrite::GetMessageText() const
{
    CString text;
    text.Format("Fehler %d beim Schreiben (%d von %d Bytes geschrieben)", static_cast<int>(m_dwError), m_nTransferred,
                m_nRequested);
    return text;
}
