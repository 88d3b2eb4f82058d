// A pending pipe read that did not complete within the transfer time-out.
// Not a kind of CTreloxExceptionRead: handlers tell the two apart.
#pragma once

#include "protocol/CTreloxException.h"

class CTreloxExceptionReadTimeout : public CTreloxException {
public:
    CTreloxExceptionReadTimeout() = default;

    // "Timeout beim Lesen"
    CString GetMessageText() const override;
};
