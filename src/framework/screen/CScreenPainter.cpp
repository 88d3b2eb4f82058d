// Paints the program's windows onto a character screen: the order of
// things, the dialogs through the dialog painter, and what is open over them.
#include "framework/screen/CScreenPainter.h"

#include <algorithm>
#include <vector>

#include "framework/screen/CDialogCells.h"
#include "framework/screen/CDialogPainter.h"
#include "framework/screen/CMessageBoxAnswers.h"
#include "framework/screen/CScreenDrawing.h"
#include "framework/screen/CScreenFilePrompt.h"
#include "framework/screen/CScreenMessageBox.h"
#include "framework/screen/CScreenSystemMenu.h"

namespace {
const CString kDialogHelp("Tab: weiter  Eingabe/Leertaste: dr\xFC" "cken  Esc: Abbrechen  F10: Systemmen\xFC");
const CString kMenuHelp("Pfeiltasten: w\xE4hlen  Eingabe: ausf\xFChren  Esc: Men\xFC schlie\xDF" "en");
const CString kBoxHelp("Tab: Schaltfl\xE4" "che wechseln  Eingabe/Leertaste: dr\xFC" "cken  Esc: Abbrechen");
const CString kPromptHelp("Eingabe: \xD6" "ffnen  Esc: Abbrechen");
const CString kPromptCaption("Datei \xF6" "ffnen");
const CString kPromptLabel("Dateiname:");

const char* IconMark(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return "(X)";
    case MB_ICONQUESTION:
        return "(?)";
    case MB_ICONEXCLAMATION:
        return "(!)";
    case MB_ICONASTERISK:
        return "(i)";
    default:
        return nullptr;
    }
}
}  // namespace

CScreenPainter::CScreenPainter(const CWindowView& windows, CEditViews& edits, CCellGrid& grid)
    : m_windows(windows), m_edits(edits), m_grid(grid)
{
}

void CScreenPainter::NeededSize(const CWindowView& windows, int* rows, int* columns)
{
    *rows = 0;
    *columns = 0;
    for (const WindowState* dialog : windows.VisibleDialogs()) {
        *rows = std::max(*rows, CDialogCells::FrameRows(*dialog->dialogTemplate));
        *columns = std::max(*columns, CDialogCells::FrameColumns(*dialog->dialogTemplate));
    }
}

void CScreenPainter::Paint(const ScreenOverlays& overlays)
{
    m_grid.Clear();
    int neededRows = 0;
    int neededColumns = 0;
    NeededSize(m_windows, &neededRows, &neededColumns);
    if (neededRows > m_grid.Rows() || neededColumns > m_grid.Columns()) {
        PaintTooSmall(neededRows, neededColumns);
    } else {
        // The help line takes the last row when the dialogs leave it free.
        const int areaRows = m_grid.Rows() > neededRows ? m_grid.Rows() - 1 : m_grid.Rows();
        const WindowHandle front = m_windows.ActiveDialog();
        const bool focusShown = overlays.messageBox == nullptr && overlays.filePrompt == nullptr &&
                                overlays.systemMenu == nullptr;
        CDialogPainter dialogs(m_windows, m_edits, m_grid);
        for (const WindowState* dialog : m_windows.VisibleDialogs()) {
            dialogs.Paint(*dialog, dialog->handle == front, focusShown, areaRows);
        }
        if (overlays.systemMenu != nullptr) {
            PaintSystemMenu(*overlays.systemMenu, areaRows);
        }
        if (areaRows < m_grid.Rows()) {
            PaintHelp(overlays);
        }
    }
    if (overlays.messageBox != nullptr) {
        PaintMessageBox(*overlays.messageBox);
    }
    if (overlays.filePrompt != nullptr) {
        PaintFilePrompt(*overlays.filePrompt);
    }
}

void CScreenPainter::PaintMessageBox(const CScreenMessageBox& box)
{
    const char* const icon = IconMark(box.Type());
    const int iconWidth = icon != nullptr ? 4 : 0;
    const int widest = std::max(20, m_grid.Columns() - 6 - iconWidth);
    const std::vector<CString> lines = CScreenDrawing::Wrapped(box.Text(), widest);

    CString buttons;
    for (const int button : box.Buttons()) {
        const CString name(CMessageBoxAnswers::ButtonName(button));
        buttons += CString(buttons.IsEmpty() ? "" : "  ") + CScreenDrawing::Bracketed(name, std::max(name.GetLength() + 4, 8), false);
    }
    int inner = std::max(buttons.GetLength(), box.Caption().GetLength() + 2);
    for (const CString& line : lines) {
        inner = std::max(inner, line.GetLength() + iconWidth);
    }
    const CellRect frame = CDialogCells::Centred(std::min(m_grid.Rows(), static_cast<int>(lines.size()) + 5),
                                                 std::min(m_grid.Columns(), inner + 4), m_grid.Rows(),
                                                 m_grid.Columns());
    CScreenDrawing::Frame(m_grid, frame, box.Caption(), caNormal, true);

    const int textColumn = frame.column + 2 + iconWidth;
    if (icon != nullptr) {
        m_grid.PutText(frame.row + 2, frame.column + 2, CString(icon), caBold);
    }
    const int shownLines = std::max(0, frame.height - 5);
    for (int index = 0; index < shownLines && index < static_cast<int>(lines.size()); ++index) {
        m_grid.PutText(frame.row + 2 + index, textColumn, lines[static_cast<std::size_t>(index)], caNormal,
                       frame.column + frame.width - 2 - textColumn);
    }
    // The buttons in a row in the middle, the focused one marked.
    int column = frame.column + (frame.width - buttons.GetLength()) / 2;
    const int row = frame.row + frame.height - 2;
    for (const int button : box.Buttons()) {
        const CString name(CMessageBoxAnswers::ButtonName(button));
        const int width = std::max(name.GetLength() + 4, 8);
        const bool focused = button == box.FocusedButton();
        m_grid.PutText(row, column, CScreenDrawing::Bracketed(name, width, focused), focused ? caReverse : caNormal);
        column += width + 2;
    }
}

void CScreenPainter::PaintFilePrompt(CScreenFilePrompt& prompt)
{
    const CellRect frame = CDialogCells::Centred(std::min(m_grid.Rows(), 6), std::min(m_grid.Columns(), 76),
                                                 m_grid.Rows(), m_grid.Columns());
    CScreenDrawing::Frame(m_grid, frame, kPromptCaption, caNormal, true);
    m_grid.PutText(frame.row + 1, frame.column + 2, kPromptLabel, caNormal);

    const int inner = std::max(1, frame.width - 6);
    const int row = frame.row + 2;
    const int column = frame.column + 2;
    CLineEdit& field = prompt.Field();
    const int first = field.FirstShown(inner);
    m_grid.PutText(row, column, CString(">"), caNormal);
    m_grid.Fill(row, column + 1, 1, inner, " ", caUnderline);
    m_grid.PutText(row, column + 1, field.Text().Mid(first), caUnderline, inner);
    m_grid.PutText(row, column + 1 + inner, CString("<"), caNormal);
    m_grid.PutText(frame.row + 4, frame.column + 2, kPromptHelp, caDim, frame.width - 4);
    m_grid.SetCursor(row, column + 1 + field.Caret() - first);
}

void CScreenPainter::PaintSystemMenu(const CScreenSystemMenu& menu, int areaRows)
{
    const WindowState* window = m_windows.FindWindow(menu.Window());
    if (window == nullptr || window->dialogTemplate == nullptr) {
        return;
    }
    const CellRect owner = CDialogCells::Frame(*window->dialogTemplate, areaRows, m_grid.Columns());
    int widest = 0;
    for (const SystemMenuItem& item : menu.Items()) {
        int marked = -1;
        widest = std::max(widest, CScreenSystemMenu::ShownText(item.text, &marked).GetLength());
    }
    CellRect frame;
    frame.row = owner.row + 1;
    frame.column = owner.column + 1;
    frame.width = widest + 4;
    frame.height = static_cast<int>(menu.Items().size()) + 2;
    CScreenDrawing::Frame(m_grid, frame, CString(), caNormal, false);
    int row = frame.row + 1;
    for (std::size_t index = 0; index < menu.Items().size(); ++index, ++row) {
        const SystemMenuItem& item = menu.Items()[index];
        if ((item.flags & MF_SEPARATOR) != 0) {
            CScreenDrawing::Separator(m_grid, frame, row, caNormal);
            continue;
        }
        const bool selected = index == menu.Selected();
        const unsigned attributes = selected ? caReverse : caNormal;
        int marked = -1;
        const CString shown = CScreenSystemMenu::ShownText(item.text, &marked);
        m_grid.Fill(row, frame.column + 1, 1, frame.width - 2, " ", attributes);
        m_grid.PutText(row, frame.column + 1, CString(selected ? ">" : " "), attributes);
        m_grid.PutText(row, frame.column + 2, shown, attributes);
        if (marked >= 0) {
            m_grid.AddAttributes(row, frame.column + 2 + marked, 1, caUnderline);
        }
    }
}

void CScreenPainter::PaintTooSmall(int neededRows, int neededColumns)
{
    CString size;
    size.Format("N\xF6tig sind %d \xD7 %d Zeichen, vorhanden %d \xD7 %d.", neededColumns, neededRows,
                m_grid.Columns(), m_grid.Rows());
    const CString text = CString("Das Terminal ist zu klein f\xFCr den Dialog.\n") + size +
                         CString("\nBitte das Fenster vergr\xF6\xDF" "ern.");
    const std::vector<CString> lines = CScreenDrawing::Wrapped(text, std::max(1, m_grid.Columns()));
    int row = std::max(0, (m_grid.Rows() - static_cast<int>(lines.size())) / 2);
    for (const CString& line : lines) {
        m_grid.PutText(row++, std::max(0, (m_grid.Columns() - line.GetLength()) / 2), line, caBold);
    }
}

void CScreenPainter::PaintHelp(const ScreenOverlays& overlays)
{
    const CString* help = &kDialogHelp;
    if (m_windows.IsBusy()) {
        help = &CDialogPainter::BusyText();
    } else if (overlays.messageBox != nullptr) {
        help = &kBoxHelp;
    } else if (overlays.filePrompt != nullptr) {
        help = &kPromptHelp;
    } else if (overlays.systemMenu != nullptr) {
        help = &kMenuHelp;
    }
    const int row = m_grid.Rows() - 1;
    m_grid.PutText(row, std::max(0, (m_grid.Columns() - help->GetLength()) / 2), *help, caDim);
}
