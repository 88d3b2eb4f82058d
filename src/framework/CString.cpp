// The framework's 8-bit string.
#include "framework/CString.h"

#include <algorithm>
#include <cstdio>
#include <vector>

CString::CString(const char* text) : m_bytes(text != nullptr ? text : "") {}

CString::CString(const char* bytes, int length)
{
    if (bytes != nullptr && length > 0) {
        m_bytes.assign(bytes, static_cast<std::size_t>(length));
    }
}

CString::CString(const std::string& bytes) : m_bytes(bytes) {}

CString::CString(char ch, int repeat) : m_bytes(static_cast<std::size_t>(std::max(repeat, 0)), ch) {}

CString& CString::operator=(const char* text)
{
    m_bytes = text != nullptr ? text : "";
    return *this;
}

CString& CString::operator+=(const CString& other)
{
    m_bytes += other.m_bytes;
    return *this;
}

CString& CString::operator+=(const char* text)
{
    if (text != nullptr) {
        m_bytes += text;
    }
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_bytes += ch;
    return *this;
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args)
{
    va_list probe;
    va_copy(probe, args);
    const int needed = std::vsnprintf(nullptr, 0, format, probe);
    va_end(probe);
    if (needed < 0) {
        m_bytes.clear();
        return;
    }
    std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    m_bytes.assign(buffer.data(), static_cast<std::size_t>(needed));
}

int CString::CompareNoCase(const char* other) const
{
    const std::string rhs = other != nullptr ? other : "";
    const std::size_t n = std::min(m_bytes.size(), rhs.size());
    auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; };
    for (std::size_t i = 0; i < n; ++i) {
        const int a = lower(static_cast<unsigned char>(m_bytes[i]));
        const int b = lower(static_cast<unsigned char>(rhs[i]));
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    if (m_bytes.size() == rhs.size()) {
        return 0;
    }
    return m_bytes.size() < rhs.size() ? -1 : 1;
}

CString CString::Left(int count) const
{
    const std::size_t n = static_cast<std::size_t>(std::clamp(count, 0, GetLength()));
    return CString(m_bytes.substr(0, n));
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    const int start = std::clamp(first, 0, GetLength());
    const int n = std::clamp(count, 0, GetLength() - start);
    return CString(m_bytes.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(n)));
}

CString operator+(const CString& a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}
