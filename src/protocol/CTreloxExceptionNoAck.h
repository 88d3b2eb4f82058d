// A record that the device refused on every one of its sends.
#pragma once

#include "protocol/CTreloxException.h"

class CTreloxExceptionNoAck : public CTreloxException {
public:
    explicit CTreloxExceptionNoAck(int attempts);

    // "Kein Acknowledge", with "(<n> Versuche)" when more than one was made.
    CString GetMessageText() const override;

    int m_nAttempts;
};
