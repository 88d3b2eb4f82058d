// A pipe write that the system reported as failed, or that moved another
// number of bytes than the protocol needs.
#pragma once

#include "framework/AfxTypes.h"
#include "protocol/CTreloxException.h"

class CTreloxExceptionWrite : public CTreloxException {
public:
    CTreloxExceptionWrite(int requested, int transferred, DWORD error);

    // "Fehler <code> beim Schreiben (<transferred> von <requested> Bytes geschrieben)"
    CString GetMessageText() const override;

    int m_nRequested;
    int m_nTransferred;
    DWORD m_dwError;
};
