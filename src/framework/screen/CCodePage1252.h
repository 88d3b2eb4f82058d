// Display of the program's code page 1252 texts on a UTF-8 terminal.
#pragma once

#include <string>

#include "framework/CString.h"

class CCodePage1252 {
public:
    // The text in UTF-8. Line feeds and tabs stay; every other control
    // character, and the five bytes the code page leaves undefined, become
    // U+FFFD, so that device data cannot steer the terminal.
    static std::string ToUtf8(const CString& text);
    // The byte of a typed character (a Unicode code point), or -1 when the
    // code page has none for it or it is a control character.
    static int FromUnicode(char32_t codePoint);
};
