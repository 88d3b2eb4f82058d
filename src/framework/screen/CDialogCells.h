// Where a dialog and its controls stand on a character screen. A dialog unit
// is a quarter of a cell across and an eighth of a cell down; a dialog is
// its client area inside a one-cell border, whose top line carries the
// caption. A control that shows one line of text takes the line through its
// middle; a button is at least as wide as its text and brackets; a label
// stands directly above the field it names.
#pragma once

#include "framework/DialogTemplate.h"
#include "framework/state/WindowState.h"

struct CellRect {
    int row = 0;
    int column = 0;
    int height = 0;
    int width = 0;
};

class CDialogCells {
public:
    // Cells that `units` dialog units fill, rounded up.
    static int ColumnsOf(int units) { return (units + 3) / 4; }
    static int RowsOf(int units) { return (units + 7) / 8; }

    // `height` x `width` cells centred on a screen of `rows` x `columns`;
    // at its top left where they do not fit.
    static CellRect Centred(int height, int width, int rows, int columns);
    // The dialog with its border, centred on a screen of `rows` x `columns`.
    static CellRect Frame(const DialogTemplate& dialog, int rows, int columns)
    {
        return Centred(FrameRows(dialog), FrameColumns(dialog), rows, columns);
    }
    // The dialog with its border, anywhere.
    static int FrameRows(const DialogTemplate& dialog) { return RowsOf(dialog.cy) + 2; }
    static int FrameColumns(const DialogTemplate& dialog) { return ColumnsOf(dialog.cx) + 2; }

    // A control's cells relative to the client area's top left cell.
    static CellRect Control(const WindowState& control);
    // The same in its dialog, where `next` is the control after it in
    // template order (null: none): a one-line label that names an edit below
    // it, as a label names the control after it, stands on the row directly
    // above that edit, which rounding to rows may have left a row further.
    static CellRect InDialog(const WindowState& control, const WindowState* next);
};
