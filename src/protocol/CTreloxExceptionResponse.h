// A reply to a record that is none of the three acknowledges. The error owns
// its own copy of the reply bytes; every copy of the error owns another.
#pragma once

#include <memory>

#include "framework/AfxTypes.h"
#include "protocol/CTreloxException.h"

class CTreloxExceptionResponse : public CTreloxException {
public:
    // Copies `length` bytes from `data`; no bytes for a length of 0 or less,
    // or when there is no data.
    CTreloxExceptionResponse(int length, const BYTE* data);
    CTreloxExceptionResponse(const CTreloxExceptionResponse& other);
    CTreloxExceptionResponse& operator=(const CTreloxExceptionResponse& other);
    ~CTreloxExceptionResponse() override = default;

    // "Keine Antwortdaten erhalten" for no bytes; otherwise
    // "Fehlerhafte Antwortdaten (<n> Byte {<hex bytes>})".
    CString GetMessageText() const override;

    int m_nLength;
    std::unique_ptr<BYTE[]> m_pData;  // null when m_nLength is 0
};
