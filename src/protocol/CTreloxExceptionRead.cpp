// A failed pipe read and its message.
#include "protocol/CTreloxExceptionRead.h"

CTreloxExceptionRead::CTreloxExceptionRead(int requested, int transferred, DWORD error)
    : m_nRequested(requested), m_nTransferred(transferred), m_dwError(error)
{
}

CString CTreloxExceptionRead::GetMessageText() const
{
    CString text;
    text.Format("Fehler %d beim Lesen (%d von %d Bytes gelesen)", static_cast<int>(m_dwError), m_nTransferred,
                m_nRequested);
    return text;
}
