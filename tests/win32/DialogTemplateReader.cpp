// Reading an extended dialog template, bounds-checked throughout.
#include "DialogTemplateReader.h"

#include <cstring>

namespace {

std::string ToCodePage1252(const std::wstring& text)
{
    if (text.empty()) {
        return std::string();
    }
    const int length = ::WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), &result[0], length, nullptr,
                          nullptr);
    return result;
}

std::string ClassOfAtom(WORD atom)
{
    switch (atom) {
    case 0x0080: return "Button";
    case 0x0081: return "Edit";
    case 0x0082: return "Static";
    case 0x0083: return "ListBox";
    case 0x0084: return "ScrollBar";
    case 0x0085: return "ComboBox";
    default: return "#" + std::to_string(atom);
    }
}

}  // namespace

DialogTemplateReader::DialogTemplateReader(const void* bytes, std::size_t size)
    : m_bytes(static_cast<const BYTE*>(bytes)), m_size(size)
{
}

bool DialogTemplateReader::Take(void* out, std::size_t size)
{
    if (m_size - m_offset < size) {
        return false;
    }
    std::memcpy(out, m_bytes + m_offset, size);
    m_offset += size;
    return true;
}

bool DialogTemplateReader::AlignToDword()
{
    m_offset = (m_offset + 3) & ~static_cast<std::size_t>(3);
    return m_offset <= m_size;
}

bool DialogTemplateReader::TakeNameOrNumber(std::string* out, bool atomsAreClasses)
{
    WORD first = 0;
    if (!Take(&first, sizeof first)) {
        return false;
    }
    if (first == 0xFFFF) {
        WORD number = 0;
        if (!Take(&number, sizeof number)) {
            return false;
        }
        *out = atomsAreClasses ? ClassOfAtom(number) : "#" + std::to_string(number);
        return true;
    }
    std::wstring text;
    for (WORD ch = first; ch != 0;) {
        text += static_cast<wchar_t>(ch);
        if (!Take(&ch, sizeof ch)) {
            return false;
        }
    }
    *out = ToCodePage1252(text);
    return true;
}

bool DialogTemplateReader::Read(DialogTemplate* dialog)
{
    WORD version = 0, signature = 0, count = 0;
    DWORD helpId = 0;
    if (!Take(&version, 2) || !Take(&signature, 2) || version != 1 || signature != 0xFFFF) {
        return false;
    }
    if (!Take(&helpId, 4) || !Take(&dialog->exStyle, 4) || !Take(&dialog->style, 4) || !Take(&count, 2) ||
        !Take(&dialog->x, 2) || !Take(&dialog->y, 2) || !Take(&dialog->cx, 2) || !Take(&dialog->cy, 2)) {
        return false;
    }
    if (!TakeNameOrNumber(&dialog->menu, false) || !TakeNameOrNumber(&dialog->windowClass, false) ||
        !TakeNameOrNumber(&dialog->title, false)) {
        return false;
    }
    if (dialog->style & (DS_SETFONT | DS_SHELLFONT)) {
        if (!Take(&dialog->pointSize, 2) || !Take(&dialog->weight, 2) || !Take(&dialog->italic, 1) ||
            !Take(&dialog->charset, 1) || !TakeNameOrNumber(&dialog->typeface, false)) {
            return false;
        }
    }
    for (WORD i = 0; i < count; ++i) {
        DialogControl control;
        DWORD controlHelpId = 0;
        WORD extraBytes = 0;
        if (!AlignToDword() || !Take(&controlHelpId, 4) || !Take(&control.exStyle, 4) || !Take(&control.style, 4) ||
            !Take(&control.x, 2) || !Take(&control.y, 2) || !Take(&control.cx, 2) || !Take(&control.cy, 2) ||
            !Take(&control.id, 4) || !TakeNameOrNumber(&control.windowClass, true) ||
            !TakeNameOrNumber(&control.text, false) || !Take(&extraBytes, 2)) {
            return false;
        }
        if (m_size - m_offset < extraBytes) {
            return false;
        }
        m_offset += extraBytes;
        dialog->controls.push_back(control);
    }
    return true;
}
