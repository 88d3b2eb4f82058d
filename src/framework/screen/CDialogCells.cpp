// Where a dialog and its controls stand on a character screen.
#include "framework/screen/CDialogCells.h"

#include <algorithm>

namespace {
// Dialog units to the nearest cell.
int NearestColumn(int units)
{
    return (units + 2) / 4;
}

// Lines of a text: one more than its line feeds.
int LineCount(const CString& text)
{
    return 1 + static_cast<int>(std::count(text.Bytes().begin(), text.Bytes().end(), '\n'));
}
}  // namespace

CellRect CDialogCells::Centred(int height, int width, int rows, int columns)
{
    CellRect frame;
    frame.height = height;
    frame.width = width;
    frame.row = std::max(0, (rows - height) / 2);
    frame.column = std::max(0, (columns - width) / 2);
    return frame;
}

CellRect CDialogCells::Control(const WindowState& control)
{
    CellRect cells;
    cells.column = NearestColumn(control.x);
    cells.width = std::max(1, NearestColumn(control.x + control.cx) - cells.column);
    switch (control.kind) {
    case ControlKind::Label:
    case ControlKind::CentredText:
        // Texts start at their top line and take one line each.
        cells.row = (control.y + 4) / 8;
        cells.height = LineCount(control.text);
        break;
    case ControlKind::Icon:
        cells.row = (control.y + 4) / 8;
        cells.width = 3;
        cells.height = 3;
        break;
    case ControlKind::PushButton: {
        cells.row = (control.y + control.cy / 2) / 8;
        cells.height = 1;
        const int needed = control.text.GetLength() + 2;
        if (cells.width < needed) {
            // Around the button's middle, as wide as its text in brackets.
            cells.column = (2 * control.x + control.cx - 4 * needed + 4) / 8;
            cells.width = needed;
        }
        break;
    }
    case ControlKind::Edit:
    case ControlKind::ProgressBar:
        cells.row = (control.y + control.cy / 2) / 8;
        cells.height = 1;
        break;
    }
    return cells;
}

CellRect CDialogCells::InDialog(const WindowState& control, const WindowState* next)
{
    CellRect cells = Control(control);
    if (control.kind != ControlKind::Label || cells.height != 1 || next == nullptr ||
        next->kind != ControlKind::Edit || control.y + control.cy > next->y) {
        return cells;
    }
    cells.row = std::max(cells.row, Control(*next).row - 1);
    return cells;
}
