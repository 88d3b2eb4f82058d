// Reads an extended dialog template (DLGTEMPLATEEX) from resource bytes into
// plain records, texts turned into code page 1252, so tests can compare them.
#pragma once

#include "platform/win32/Win32Api.h"

#include <cstddef>
#include <string>
#include <vector>

struct DialogControl {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::string windowClass;  // "Button", "Edit", ... for the system's atoms
    std::string text;         // "#128" for a resource number
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string menu;
    std::string windowClass;
    std::string title;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::string typeface;
    std::vector<DialogControl> controls;
};

class DialogTemplateReader {
public:
    DialogTemplateReader(const void* bytes, std::size_t size);

    // False when the bytes are not a whole extended template.
    bool Read(DialogTemplate* dialog);

private:
    bool Take(void* out, std::size_t size);
    bool TakeNameOrNumber(std::string* out, bool atomsAreClasses);
    bool AlignToDword();

    const BYTE* m_bytes;
    std::size_t m_size;
    std::size_t m_offset = 0;
};
