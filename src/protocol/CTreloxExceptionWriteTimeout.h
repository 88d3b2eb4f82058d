// A pending pipe write that did not complete within the transfer time-out.
// Not a kind of CTreloxExceptionWrite: handlers tell the two apart.
#pragma once

#include "protocol/CTreloxException.h"

class CTreloxExceptionWriteTimeout : public CTreloxException {
public:
    CTreloxExceptionWriteTimeout() = default;

    // "Timeout beim Schreiben"
    CString GetMessageText() const override;
};
