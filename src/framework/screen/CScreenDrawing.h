// Pieces the full screen's painters draw with: a frame with its caption in
// the top line, a separator line across a frame, the lines of a text,
// a text broken into lines that fit, and a button's caption in brackets.
#pragma once

#include <vector>

#include "framework/CString.h"
#include "framework/screen/CCellGrid.h"
#include "framework/screen/CDialogCells.h"

class CScreenDrawing {
public:
    // A box of line glyphs around `frame`, blank inside; the caption, when
    // there is one, in the top line, highlighted on the window in front.
    static void Frame(CCellGrid& grid, const CellRect& frame, const CString& caption, unsigned attributes,
                      bool inFront);
    // A line across the frame at `row`, joined to its sides.
    static void Separator(CCellGrid& grid, const CellRect& frame, int row, unsigned attributes);

    // The lines of a text, split at its line feeds.
    static std::vector<CString> Lines(const CString& text);
    // Lines no wider than `width`, broken at blanks where there are any.
    static std::vector<CString> Wrapped(const CString& text, int width);
    // "[ text ]" in `width` cells, the text in the middle; the focus turns
    // the brackets into "> <".
    static CString Bracketed(const CString& text, int width, bool focused);
};
