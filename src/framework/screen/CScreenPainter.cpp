// Paints the program's windows onto a character screen.
#include "framework/screen/CScreenPainter.h"

#include <algorithm>
#include <vector>

#include "framework/screen/CDialogCells.h"
#include "framework/screen/CMessageBoxAnswers.h"
#include "framework/screen/CScreenFilePrompt.h"
#include "framework/screen/CScreenMessageBox.h"
#include "framework/screen/CScreenSystemMenu.h"

namespace {
const char* const kHorizontal = "\xE2\x94\x80";   // U+2500
const char* const kVertical = "\xE2\x94\x82";     // U+2502
const char* const kTopLeft = "\xE2\x94\x8C";      // U+250C
const char* const kTopRight = "\xE2\x94\x90";     // U+2510
const char* const kBottomLeft = "\xE2\x94\x94";   // U+2514
const char* const kBottomRight = "\xE2\x94\x98";  // U+2518
const char* const kTeeLeft = "\xE2\x94\x9C";      // U+251C
const char* const kTeeRight = "\xE2\x94\xA4";     // U+2524

const CString kBusy("Bitte warten ...");
const CString kDialogHelp("Tab: weiter  Eingabe/Leertaste: dr\xFC" "cken  Esc: Abbrechen  F10: Systemmen\xFC");
const CString kMenuHelp("Pfeiltasten: w\xE4hlen  Eingabe: ausf\xFChren  Esc: Men\xFC schlie\xDF" "en");
const CString kBoxHelp("Tab: Schaltfl\xE4" "che wechseln  Eingabe/Leertaste: dr\xFC" "cken  Esc: Abbrechen");
const CString kPromptHelp("Eingabe: \xD6" "ffnen  Esc: Abbrechen");
const CString kPromptCaption("Datei \xF6" "ffnen");
const CString kPromptLabel("Dateiname:");

std::vector<CString> Lines(const CString& text)
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

// Lines no wider than `width`, broken at blanks where there are any.
std::vector<CString> Wrapped(const CString& text, int width)
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

// "[ text ]" in `width` cells, the text in the middle; the focus turns the
// brackets into "> <".
CString Bracketed(const CString& text, int width, bool focused)
{
    const int inner = std::max(0, width - 2);
    const int before = std::max(0, (inner - text.GetLength()) / 2);
    CString shown = CString(' ', before) + text.Left(inner);
    shown += CString(' ', std::max(0, inner - shown.GetLength()));
    return CString(focused ? ">" : "[") + shown + CString(focused ? "<" : "]");
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
        for (const WindowState* dialog : m_windows.VisibleDialogs()) {
            PaintDialog(*dialog, dialog->handle == front, focusShown, areaRows);
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

void CScreenPainter::PaintFrame(const CellRect& frame, const CString& caption, unsigned attributes, bool inFront)
{
    const int right = frame.column + frame.width - 1;
    const int bottom = frame.row + frame.height - 1;
    m_grid.Fill(frame.row, frame.column, frame.height, frame.width, " ", attributes);
    for (int column = frame.column + 1; column < right; ++column) {
        m_grid.Put(frame.row, column, kHorizontal, attributes);
        m_grid.Put(bottom, column, kHorizontal, attributes);
    }
    for (int row = frame.row + 1; row < bottom; ++row) {
        m_grid.Put(row, frame.column, kVertical, attributes);
        m_grid.Put(row, right, kVertical, attributes);
    }
    m_grid.Put(frame.row, frame.column, kTopLeft, attributes);
    m_grid.Put(frame.row, right, kTopRight, attributes);
    m_grid.Put(bottom, frame.column, kBottomLeft, attributes);
    m_grid.Put(bottom, right, kBottomRight, attributes);
    // The caption as the title bar, highlighted on the window in front.
    if (caption.IsEmpty()) {
        return;
    }
    const CString title = CString(" ") + caption + CString(" ");
    m_grid.PutText(frame.row, frame.column + 2, title, attributes | (inFront ? caReverse : caNormal),
                   std::max(0, frame.width - 4));
}

void CScreenPainter::PaintDialog(const WindowState& dialog, bool inFront, bool focusShown, int areaRows)
{
    const CellRect frame = CDialogCells::Frame(*dialog.dialogTemplate, areaRows, m_grid.Columns());
    const unsigned attributes = inFront ? caNormal : caDim;
    PaintFrame(frame, dialog.text, attributes, inFront);
    if (inFront && m_windows.IsBusy()) {
        const int after = frame.column + 2 + dialog.text.GetLength() + 3;
        m_grid.PutText(frame.row, after, CString(" ") + kBusy + CString(" "), caBold,
                       std::max(0, frame.column + frame.width - 2 - after));
    }
    for (const WindowHandle handle : dialog.controls) {
        const WindowState* control = m_windows.FindWindow(handle);
        if (control != nullptr && control->visible) {
            PaintControl(*control, frame.row + 1, frame.column + 1, frame.width - 2, inFront, focusShown);
        }
    }
}

void CScreenPainter::PaintControl(const WindowState& control, int top, int left, int clientWidth, bool inFront,
                                  bool focusShown)
{
    const CellRect cells = CDialogCells::Control(control);
    const bool enabled = inFront && control.enabled;
    const unsigned attributes = enabled ? caNormal : caDim;
    const bool focused = inFront && focusShown && m_windows.FocusedWindow() == control.handle;
    const int room = std::max(0, clientWidth - cells.column);
    switch (control.kind) {
    case ControlKind::Label:
    case ControlKind::CentredText: {
        int row = top + cells.row;
        for (const CString& line : Lines(control.text)) {
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

void CScreenPainter::PaintEdit(const WindowState& control, const CellRect& cells, int top, int left,
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

void CScreenPainter::PaintButton(const WindowState& control, const CellRect& cells, int top, int left,
                                 unsigned attributes, bool focused)
{
    unsigned shown = attributes;
    if ((control.flags & ctlDefaultButton) != 0) {
        shown |= caBold;
    }
    if (focused) {
        shown |= caReverse;
    }
    m_grid.PutText(top + cells.row, left + cells.column, Bracketed(control.text, cells.width, focused), shown);
}

void CScreenPainter::PaintMessageBox(const CScreenMessageBox& box)
{
    const char* const icon = IconMark(box.Type());
    const int iconWidth = icon != nullptr ? 4 : 0;
    const int widest = std::max(20, m_grid.Columns() - 6 - iconWidth);
    const std::vector<CString> lines = Wrapped(box.Text(), widest);

    CString buttons;
    for (const int button : box.Buttons()) {
        const CString name(CMessageBoxAnswers::ButtonName(button));
        buttons += CString(buttons.IsEmpty() ? "" : "  ") + Bracketed(name, std::max(name.GetLength() + 4, 8), false);
    }
    int inner = std::max(buttons.GetLength(), box.Caption().GetLength() + 2);
    for (const CString& line : lines) {
        inner = std::max(inner, line.GetLength() + iconWidth);
    }
    CellRect frame;
    frame.width = std::min(m_grid.Columns(), inner + 4);
    frame.height = std::min(m_grid.Rows(), static_cast<int>(lines.size()) + 5);
    frame.row = std::max(0, (m_grid.Rows() - frame.height) / 2);
    frame.column = std::max(0, (m_grid.Columns() - frame.width) / 2);
    PaintFrame(frame, box.Caption(), caNormal, true);

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
        m_grid.PutText(row, column, Bracketed(name, width, focused), focused ? caReverse : caNormal);
        column += width + 2;
    }
}

void CScreenPainter::PaintFilePrompt(CScreenFilePrompt& prompt)
{
    CellRect frame;
    frame.width = std::min(m_grid.Columns(), 76);
    frame.height = std::min(m_grid.Rows(), 6);
    frame.row = std::max(0, (m_grid.Rows() - frame.height) / 2);
    frame.column = std::max(0, (m_grid.Columns() - frame.width) / 2);
    PaintFrame(frame, kPromptCaption, caNormal, true);
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
    PaintFrame(frame, CString(), caNormal, false);
    int row = frame.row + 1;
    for (std::size_t index = 0; index < menu.Items().size(); ++index, ++row) {
        const SystemMenuItem& item = menu.Items()[index];
        if ((item.flags & MF_SEPARATOR) != 0) {
            m_grid.Put(row, frame.column, kTeeLeft, caNormal);
            m_grid.Fill(row, frame.column + 1, 1, frame.width - 2, kHorizontal, caNormal);
            m_grid.Put(row, frame.column + frame.width - 1, kTeeRight, caNormal);
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
    const std::vector<CString> lines = Wrapped(text, std::max(1, m_grid.Columns()));
    int row = std::max(0, (m_grid.Rows() - static_cast<int>(lines.size())) / 2);
    for (const CString& line : lines) {
        m_grid.PutText(row++, std::max(0, (m_grid.Columns() - line.GetLength()) / 2), line, caBold);
    }
}

void CScreenPainter::PaintHelp(const ScreenOverlays& overlays)
{
    const CString* help = &kDialogHelp;
    if (m_windows.IsBusy()) {
        help = &kBusy;
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
