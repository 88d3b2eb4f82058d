// A reply that is no acknowledge, its byte copy and its message.
#include "protocol/CTreloxExceptionResponse.h"

#include <algorithm>

namespace {

std::unique_ptr<BYTE[]> CopyBytes(int length, const BYTE* data)
{
    if (length <= 0 || data == nullptr) {
        return nullptr;
    }
    std::unique_ptr<BYTE[]> copy(new BYTE[static_cast<std::size_t>(length)]);
    std::copy(data, data + length, copy.get());
    return copy;
}

// The bytes as upper-case hexadecimal pairs with one blank between two.
CString HexBytes(int length, const BYTE* data)
{
    static const char kDigits[] = "0123456789ABCDEF";
    CString text;
    for (int i = 0; i < length; ++i) {
        if (i > 0) {
            text += ' ';
        }
        text += kDigits[data[i] >> 4];
        text += kDigits[data[i] & 0x0F];
    }
    return text;
}

}  // namespace

CTreloxExceptionResponse::CTreloxExceptionResponse(int length, const BYTE* data)
    : m_nLength(length > 0 && data != nullptr ? length : 0), m_pData(CopyBytes(m_nLength, data))
{
}

CTreloxExceptionResponse::CTreloxExceptionResponse(const CTreloxExceptionResponse& other)
    : CTreloxException(other), m_nLength(other.m_nLength), m_pData(CopyBytes(other.m_nLength, other.m_pData.get()))
{
}

CTreloxExceptionResponse& CTreloxExceptionResponse::operator=(const CTreloxExceptionResponse& other)
{
    if (this != &other) {
        m_pData = CopyBytes(other.m_nLength, other.m_pData.get());
        m_nLength = other.m_nLength;
    }
    return *this;
}

CString CTreloxExceptionResponse::GetMessageText() const
{
    if (m_nLength == 0) {
        return CString("Keine Antwortdaten erhalten");
    }
    CString text;
    text.Format("Fehlerhafte Antwortdaten (%d Byte {%s})", m_nLength, HexBytes(m_nLength, m_pData.get()).GetString());
    return text;
}
