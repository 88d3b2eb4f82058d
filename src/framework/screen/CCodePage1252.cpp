// Display of code page 1252 texts on a UTF-8 terminal.
#include "framework/screen/CCodePage1252.h"

namespace {
constexpr char32_t kReplacement = 0xFFFD;

// Code points of the bytes 0x80 to 0x9F; 0 where the code page has none.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char32_t CodePointOf(unsigned char byte)
{
    if (byte == '\n' || byte == '\t') {
        return byte;
    }
    if (byte < 0x20 || byte == 0x7F) {
        return kReplacement;
    }
    if (byte >= 0x80 && byte < 0xA0) {
        const char32_t mapped = kHighControls[byte - 0x80];
        return mapped != 0 ? mapped : kReplacement;
    }
    return byte;  // ASCII and Latin-1 agree with the code page here
}

void AppendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}
}  // namespace

std::string CCodePage1252::ToUtf8(const CString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.GetLength()) * 2);
    for (const char byte : text.Bytes()) {
        AppendUtf8(out, CodePointOf(static_cast<unsigned char>(byte)));
    }
    return out;
}

int CCodePage1252::FromUnicode(char32_t codePoint)
{
    if ((codePoint >= 0x20 && codePoint < 0x7F) || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<int>(codePoint);
    }
    for (int index = 0; index < 32; ++index) {
        if (kHighControls[index] != 0 && kHighControls[index] == codePoint) {
            return 0x80 + index;
        }
    }
    return -1;
}
