// Byte strings written as hex and as escaped text, for the options and the log.
#pragma once

#include <string>

// Raw bytes are kept in std::string: they may hold zero bytes.
class ByteText {
public:
    // Pairs of hex digits; blanks, ':' and '-' between pairs are ignored. An
    // empty text gives no bytes. False on an odd digit count or a non-hex byte.
    static bool ParseHex(const std::string& hex, std::string* bytes);
    // Upper-case hex digits, two per byte, nothing between them.
    static std::string Hex(const std::string& bytes);
    // Printable ASCII as is, '"' and '\' and every other byte as \xHH.
    static std::string Escaped(const std::string& bytes);
    // The log's description: "len=N hex=... text=\"...\"".
    static std::string Logged(const std::string& bytes);
};
