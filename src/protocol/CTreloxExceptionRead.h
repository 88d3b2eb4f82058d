// A pipe read that the system reported as failed, or that moved another
// number of bytes than the protocol needs.
#pragma once

#include "framework/AfxTypes.h"
#include "protocol/CTreloxException.h"

class CTreloxExceptionRead : public CTreloxException {
public:
    CTreloxExceptionRead(int requested, int transferred, DWORD error);

    // "Fehler <code> beim Lesen (<transferred> von <requested> Bytes gelesen)"
    CString GetMessageText() const override;

    int m_nRequested;
    int m_nTransferred;
    DWORD m_dwError;
};
