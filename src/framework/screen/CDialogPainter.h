// Paints one dialog onto a character screen, from its template and the
// state of its controls as the window view shows them: the frame with the
// caption (highlighted on the dialog in front, which also shows when the
// program is busy), the texts, the icon, the edits with their caret, the
// buttons (the default one bold, the focused one marked "> <") and the
// progress bars. A dialog behind the one in front is dimmed.
#pragma once

#include "framework/screen/CCellGrid.h"
#include "framework/screen/CDialogCells.h"
#include "framework/screen/CEditViews.h"
#include "framework/state/CWindowView.h"

class CDialogPainter {
public:
    CDialogPainter(const CWindowView& windows, CEditViews& edits, CCellGrid& grid);

    // `dialog` centred in the top `areaRows` rows; the focus is marked only
    // when `focusShown` (nothing is open over the dialogs).
    void Paint(const WindowState& dialog, bool inFront, bool focusShown, int areaRows);

    // What the screen shows while the program is busy.
    static const CString& BusyText();

private:
    void PaintControl(const WindowState& control, const CellRect& cells, int top, int left, int clientWidth,
                      bool inFront, bool focusShown);
    void PaintEdit(const WindowState& control, const CellRect& cells, int top, int left, unsigned attributes,
                   bool focused);
    void PaintButton(const WindowState& control, const CellRect& cells, int top, int left, unsigned attributes,
                     bool focused);

    const CWindowView& m_windows;
    CEditViews& m_edits;
    CCellGrid& m_grid;
};
