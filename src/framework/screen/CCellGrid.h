// A screen's worth of character cells, each a glyph (UTF-8) with display
// attributes, and where the cursor stands. The full-screen front end paints
// into it; the terminal copies it out, and tests read it as text.
#pragma once

#include <string>
#include <vector>

#include "framework/CString.h"

enum CellAttribute : unsigned {
    caNormal = 0,
    caReverse = 1,
    caBold = 2,
    caDim = 4,
    caUnderline = 8,
};

struct Cell {
    std::string glyph = " ";
    unsigned attributes = caNormal;
};

class CCellGrid {
public:
    CCellGrid(int rows, int columns);

    int Rows() const { return m_rows; }
    int Columns() const { return m_columns; }
    const Cell& At(int row, int column) const;

    // Everything blank, no cursor.
    void Clear();
    // Cells outside the grid are skipped.
    void Put(int row, int column, const std::string& glyph, unsigned attributes);
    void Fill(int row, int column, int height, int width, const std::string& glyph, unsigned attributes);
    // One cell per byte of a code page 1252 text, at most `width` cells
    // (negative: to the grid's edge). Control characters show as U+FFFD, so
    // that data can neither steer the terminal nor break the line.
    void PutText(int row, int column, const CString& text, unsigned attributes, int width = -1);
    // One cell per character of a UTF-8 text of the program's own.
    void PutUtf8(int row, int column, const std::string& text, unsigned attributes);
    // Adds attributes to cells already painted.
    void AddAttributes(int row, int column, int width, unsigned attributes);

    // The cursor, shown at a caret; row -1 hides it.
    void SetCursor(int row, int column);
    int CursorRow() const { return m_cursorRow; }
    int CursorColumn() const { return m_cursorColumn; }

    // The glyphs of a row as one UTF-8 line, without trailing blanks.
    std::string RowText(int row) const;

    // The glyph of one code page 1252 byte, as PutText shows it.
    static std::string GlyphOf(char byte);

private:
    bool Inside(int row, int column) const;

    int m_rows;
    int m_columns;
    std::vector<Cell> m_cells;
    int m_cursorRow = -1;
    int m_cursorColumn = -1;
};
