// The framework's 8-bit string: bytes of code page 1252, kept as they are.
// A zero byte may be inside; the length, not a terminator, ends the text.
#pragma once

#include <cstdarg>
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* text);  // NOLINT: converts like the framework's string
    CString(const char* bytes, int length);
    CString(const std::string& bytes);  // NOLINT
    CString(char ch, int repeat);

    int GetLength() const { return static_cast<int>(m_bytes.size()); }
    bool IsEmpty() const { return m_bytes.empty(); }
    void Empty() { m_bytes.clear(); }

    // The bytes, followed by a terminating zero that is not part of the text.
    const char* GetString() const { return m_bytes.c_str(); }
    operator const char*() const { return m_bytes.c_str(); }  // NOLINT
    const std::string& Bytes() const { return m_bytes; }

    char GetAt(int index) const { return m_bytes.at(static_cast<std::size_t>(index)); }
    char operator[](int index) const { return GetAt(index); }

    CString& operator=(const char* text);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);

    // printf-style formatting; the format is the program's own text, never data.
    void Format(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void FormatV(const char* format, va_list args);

    // Letter case of ASCII letters only, as the framework's comparison for flags.
    int CompareNoCase(const char* other) const;

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;

    friend bool operator==(const CString& a, const CString& b) { return a.m_bytes == b.m_bytes; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator==(const CString& a, const char* b) { return a.m_bytes == b; }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator==(const char* a, const CString& b) { return b == a; }
    friend bool operator!=(const char* a, const CString& b) { return !(b == a); }
    friend CString operator+(const CString& a, const CString& b);

private:
    std::string m_bytes;
};
