// Paints one dialog onto a character screen.
#include "framework/screen/CDialogPainter.h"

#include <algorithm>

#include "framework/screen/CScreenDrawing.h"

CDialogPainter::CDialogPainter(const CWindowView& windows, CEditViews& edits, CCellGrid& grid)
    : m_windows(windows), m_edits(edits), m_grid(grid)
{
}

const CString& CDialogPainter::BusyText()
{
    static const CString busy("Bitte warten ...");
    return busy;
}

void CDialogPainter::Paint(const WindowState& dialog, bool inFront, bool focusShown, int areaRows)
{
    const CellRect frame = CDialogCells::Frame(*dialog.dialogTemplate, areaRows, m_grid.Columns());
    const unsigned attributes = inFront ? caNormal : caDim;
    CScreenDrawing::Frame(m_grid, frame, dialog.text, attributes, inFront);
    if (inFront && m_windows.IsBusy()) {
        const int after = frame.column + 2 + dialog.text.GetLength() + 3;
        m_grid.PutText(frame.row, after, CString(" ") + BusyText() + CString(" "), caBold,
                       std::max(0, frame.column + frame.width - 2 - after));
    }
    for (std::size_t index = 0; index < dialog.controls.size(); ++index) {
        const WindowState* control = m_windows.FindWindow(dialog.controls[index]);
        const WindowState* next =
            index + 1 < dialog.controls.size() ? m_windows.FindWindow(dialog.controls[index + 1]) : nullptr;
        if (control != nullptr && control->visible) {
            PaintControl(*control, CDialogCells::InDialog(*control, next), frame.row + 1, frame.column + 1,
                         frame.width - 2, inFront, focusShown);
        }
    }
}

void CDialogPainter::PaintControl(const WindowState& control, const CellRect& cells, int top, int left,
                                  int clientWidth, bool inFront, bool focusShown)
{
    const bool enabled = inFront && control.enabled;
    const unsigned attributes = enabled ? caNormal : caDim;
    const bool focused = inFront && focusShown && m_windows.FocusedWindow() == control.handle;
    const int room = std::max(0, clientWidth - cells.column);
    switch (control.kind) {
    case ControlKind::Label:
    case ControlKind::CentredText: {
        int row = top + cells.row;
        for (const CString& line : CScreenDrawing::Lines(control.text)) {
            int column = cells.column;
            if (control.kind == ControlKind::CentredText) {
                column += std::max(0, (cells.width - line.GetLength()) / 2);
            }
            m_grid.PutText(row++, left + column, line, attributes, std::max(0, clientWidth - column));
        }
        break;
    }
    case ControlKind::Icon:
        m_grid.PutUtf8(top + cells.row, left + cells.column, "\xE2\x94\x8C\xE2\x94\x80\xE2\x94\x90", attributes);
        m_grid.PutUtf8(top + cells.row + 1, left + cells.column, "\xE2\x94\x82T\xE2\x94\x82", attributes);
        m_grid.PutUtf8(top + cells.row + 2, left + cells.column, "\xE2\x94\x94\xE2\x94\x80\xE2\x94\x98", attributes);
        break;
    case ControlKind::Edit:
        PaintEdit(control, cells, top, left, attributes, focused);
        break;
    case ControlKind::PushButton:
        PaintButton(control, cells, top, left, attributes, focused);
        break;
    case ControlKind::ProgressBar: {
        const int inner = std::max(0, std::min(cells.width, room) - 2);
        const int span = control.rangeHigh - control.rangeLow;
        const int filled = span > 0 ? std::clamp((control.position - control.rangeLow) * inner / span, 0, inner) : 0;
        const CString bar = CString("[") + CString('#', filled) + CString(' ', inner - filled) + CString("]");
        m_grid.PutText(top + cells.row, left + cells.column, bar, attributes);
        break;
    }
    }
}

void CDialogPainter::PaintEdit(const WindowState& control, const CellRect& cells, int top, int left,
                               unsigned attributes, bool focused)
{
    const int inner = std::max(1, cells.width - 2);
    const int row = top + cells.row;
    const int column = left + cells.column;
    int first = 0;
    if (focused) {
        CLineEdit& view = m_edits.For(control.handle, control.text);
        first = view.FirstShown(inner);
        m_grid.SetCursor(row, column + 1 + view.Caret() - first);
    }
    m_grid.PutText(row, column, CString(focused ? ">" : "["), attributes);
    m_grid.Fill(row, column + 1, 1, inner, " ", attributes | caUnderline);
    m_grid.PutText(row, column + 1, control.text.Mid(first), attributes | caUnderline, inner);
    m_grid.PutText(row, column + 1 + inner, CString(focused ? "<" : "]"), attributes);
}

void CDialogPainter::PaintButton(const WindowState& control, const CellRect& cells, int top, int left,
                                 unsigned attributes, bool focused)
{
    unsigned shown = attributes;
    if ((control.flags & ctlDefaultButton) != 0) {
        shown |= caBold;
    }
    if (focused) {
        shown |= caReverse;
    }
    m_grid.PutText(top + cells.row, left + cells.column, CScreenDrawing::Bracketed(control.text, cells.width, focused), shown);
}
