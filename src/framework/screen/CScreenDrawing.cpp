// Pieces the full screen's painters draw with.
#include "framework/screen/CScreenDrawing.h"

#include <algorithm>

namespace {
const char* const kHorizontal = "\xE2\x94\x80";   // U+2500
const char* const kVertical = "\xE2\x94\x82";     // U+2502
const char* const kTopLeft = "\xE2\x94\x8C";      // U+250C
const char* const kTopRight = "\xE2\x94\x90";     // U+2510
const char* const kBottomLeft = "\xE2\x94\x94";   // U+2514
const char* const kBottomRight = "\xE2\x94\x98";  // U+2518
const char* const kTeeLeft = "\xE2\x94\x9C";      // U+251C
const char* const kTeeRight = "\xE2\x94\xA4";     // U+2524
}  // namespace

void CScreenDrawing::Frame(CCellGrid& grid, const CellRect& frame, const CString& caption, unsigned attributes,
                           bool inFront)
{
    const int right = frame.column + frame.width - 1;
    const int bottom = frame.row + frame.height - 1;
    grid.Fill(frame.row, frame.column, frame.height, frame.width, " ", attributes);
    for (int column = frame.column + 1; column < right; ++column) {
        grid.Put(frame.row, column, kHorizontal, attributes);
        grid.Put(bottom, column, kHorizontal, attributes);
    }
    for (int row = frame.row + 1; row < bottom; ++row) {
        grid.Put(row, frame.column, kVertical, attributes);
        grid.Put(row, right, kVertical, attributes);
    }
    grid.Put(frame.row, frame.column, kTopLeft, attributes);
    grid.Put(frame.row, right, kTopRight, attributes);
    grid.Put(bottom, frame.column, kBottomLeft, attributes);
    grid.Put(bottom, right, kBottomRight, attributes);
    // The caption as the title bar, highlighted on the window in front.
    if (caption.IsEmpty()) {
        return;
    }
    const CString title = CString(" ") + caption + CString(" ");
    grid.PutText(frame.row, frame.column + 2, title, attributes | (inFront ? caReverse : caNormal),
                 std::max(0, frame.width - 4));
}

void CScreenDrawing::Separator(CCellGrid& grid, const CellRect& frame, int row, unsigned attributes)
{
    grid.Put(row, frame.column, kTeeLeft, attributes);
    grid.Fill(row, frame.column + 1, 1, frame.width - 2, kHorizontal, attributes);
    grid.Put(row, frame.column + frame.width - 1, kTeeRight, attributes);
}

std::vector<CString> CScreenDrawing::Lines(const CString& text)
{
    std::vector<CString> lines;
    int start = 0;
    for (int index = 0; index <= text.GetLength(); ++index) {
        if (index == text.GetLength() || text.GetAt(index) == '\n') {
            lines.push_back(text.Mid(start, index - start));
            start = index + 1;
        }
    }
    return lines;
}

std::vector<CString> CScreenDrawing::Wrapped(const CString& text, int width)
{
    std::vector<CString> wrapped;
    for (CString rest : Lines(text)) {
        while (rest.GetLength() > width) {
            int cut = width;
            while (cut > 0 && rest.GetAt(cut) != ' ') {
                --cut;
            }
            if (cut == 0) {
                cut = width;
            }
            wrapped.push_back(rest.Left(cut));
            rest = rest.Mid(rest.GetAt(cut) == ' ' ? cut + 1 : cut);
        }
        wrapped.push_back(rest);
    }
    return wrapped;
}

CString CScreenDrawing::Bracketed(const CString& text, int width, bool focused)
{
    const int inner = std::max(0, width - 2);
    const int before = std::max(0, (inner - text.GetLength()) / 2);
    CString shown = CString(' ', before) + text.Left(inner);
    shown += CString(' ', std::max(0, inner - shown.GetLength()));
    return CString(focused ? ">" : "[") + shown + CString(focused ? "<" : "]");
}
