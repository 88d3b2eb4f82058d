// A screen's worth of character cells.
#include "framework/screen/CCellGrid.h"

#include <algorithm>

#include "framework/screen/CCodePage1252.h"

namespace {
const char* const kReplacementGlyph = "\xEF\xBF\xBD";  // U+FFFD

std::size_t Utf8Length(unsigned char lead)
{
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    return (lead & 0xF8) == 0xF0 ? 4 : 1;
}
}  // namespace

CCellGrid::CCellGrid(int rows, int columns)
    : m_rows(std::max(0, rows)),
      m_columns(std::max(0, columns)),
      m_cells(static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(m_columns))
{
}

bool CCellGrid::Inside(int row, int column) const
{
    return row >= 0 && row < m_rows && column >= 0 && column < m_columns;
}

const Cell& CCellGrid::At(int row, int column) const
{
    static const Cell outside;
    if (!Inside(row, column)) {
        return outside;
    }
    return m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns) +
                   static_cast<std::size_t>(column)];
}

void CCellGrid::Clear()
{
    std::fill(m_cells.begin(), m_cells.end(), Cell());
    m_cursorRow = -1;
    m_cursorColumn = -1;
}

void CCellGrid::Put(int row, int column, const std::string& glyph, unsigned attributes)
{
    if (Inside(row, column)) {
        Cell& cell = m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns) +
                             static_cast<std::size_t>(column)];
        cell.glyph = glyph;
        cell.attributes = attributes;
    }
}

void CCellGrid::Fill(int row, int column, int height, int width, const std::string& glyph, unsigned attributes)
{
    for (int r = row; r < row + height; ++r) {
        for (int c = column; c < column + width; ++c) {
            Put(r, c, glyph, attributes);
        }
    }
}

std::string CCellGrid::GlyphOf(char byte)
{
    if (byte == '\n' || byte == '\t') {
        return kReplacementGlyph;
    }
    return CCodePage1252::ToUtf8(CString(&byte, 1));
}

void CCellGrid::PutText(int row, int column, const CString& text, unsigned attributes, int width)
{
    const int limit = width < 0 ? text.GetLength() : std::min(width, text.GetLength());
    for (int index = 0; index < limit; ++index) {
        Put(row, column + index, GlyphOf(text.GetAt(index)), attributes);
    }
}

void CCellGrid::PutUtf8(int row, int column, const std::string& text, unsigned attributes)
{
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t length = std::min(Utf8Length(static_cast<unsigned char>(text[at])), text.size() - at);
        Put(row, column++, text.substr(at, length), attributes);
        at += length;
    }
}

void CCellGrid::AddAttributes(int row, int column, int width, unsigned attributes)
{
    for (int c = column; c < column + width; ++c) {
        if (Inside(row, c)) {
            m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns) + static_cast<std::size_t>(c)]
                .attributes |= attributes;
        }
    }
}

void CCellGrid::SetCursor(int row, int column)
{
    m_cursorRow = Inside(row, column) ? row : -1;
    m_cursorColumn = m_cursorRow >= 0 ? column : -1;
}

std::string CCellGrid::RowText(int row) const
{
    std::string line;
    for (int column = 0; column < m_columns; ++column) {
        line += At(row, column).glyph;
    }
    const std::size_t end = line.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : line.substr(0, end + 1);
}
