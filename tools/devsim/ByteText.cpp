// Hex and escaped-text forms of byte strings.
#include "ByteText.h"

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

const char kDigits[] = "0123456789ABCDEF";

}  // namespace

bool ByteText::ParseHex(const std::string& hex, std::string* bytes)
{
    std::string out;
    int high = -1;
    for (char c : hex) {
        if (c == ' ' || c == ':' || c == '-') {
            if (high >= 0) return false;  // a separator inside a pair
            continue;
        }
        int digit = HexDigit(c);
        if (digit < 0) return false;
        if (high < 0) {
            high = digit;
        } else {
            out.push_back(static_cast<char>(high * 16 + digit));
            high = -1;
        }
    }
    if (high >= 0) return false;
    *bytes = out;
    return true;
}

std::string ByteText::Hex(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out.push_back(kDigits[c >> 4]);
        out.push_back(kDigits[c & 15]);
    }
    return out;
}

std::string ByteText::Escaped(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out.push_back(static_cast<char>(c));
        } else {
            out += "\\x";
            out.push_back(kDigits[c >> 4]);
            out.push_back(kDigits[c & 15]);
        }
    }
    return out;
}

std::string ByteText::Logged(const std::string& bytes)
{
    return "len=" + std::to_string(bytes.size()) + " hex=" + Hex(bytes) + " text=\"" + Escaped(bytes) + "\"";
}
