// The pieces of the full-screen terminal front end that work without a
// terminal: line editing, cells and their glyphs, where the templates land
// in cells, the message box, file prompt and system menu keys.
#include <gtest/gtest.h>

#include <vector>

#include "framework/CResourceTable.h"
#include "framework/screen/CCellGrid.h"
#include "framework/screen/CDialogCells.h"
#include "framework/screen/CLineEdit.h"
#include "framework/screen/CScreenFilePrompt.h"
#include "framework/screen/CScreenMessageBox.h"
#include "framework/screen/CScreenSystemMenu.h"
#include "framework/screen/ScreenKey.h"
#include "ui/DialogTemplates.h"
#include "ui/res/resource.h"

namespace {
const DialogTemplate& Template(UINT id)
{
    RegisterDialogTemplates();
    return *CResourceTable::Instance().FindDialog(id);
}

// The controls of a template as the dialog holds them, in template order.
std::vector<WindowState> ControlsOf(const DialogTemplate& dialog)
{
    std::vector<WindowState> controls;
    for (const DialogControlTemplate& item : dialog.controls) {
        controls.emplace_back();
        controls.back().TakeControlTemplate(item);
    }
    return controls;
}

WindowState ControlOf(const DialogTemplate& dialog, int id)
{
    for (const WindowState& control : ControlsOf(dialog)) {
        if (control.controlId == id) {
            return control;
        }
    }
    ADD_FAILURE() << "no control " << id;
    return WindowState();
}

// Where each control stands in its dialog.
std::vector<CellRect> CellsInDialog(const std::vector<WindowState>& controls)
{
    std::vector<CellRect> cells;
    for (std::size_t index = 0; index < controls.size(); ++index) {
        cells.push_back(CDialogCells::InDialog(controls[index], index + 1 < controls.size() ? &controls[index + 1] : nullptr));
    }
    return cells;
}

void TypeInto(CLineEdit& line, const char* text)
{
    for (const char* at = text; *at != '\0'; ++at) {
        line.HandleKey(static_cast<unsigned char>(*at));
    }
}
}  // namespace

TEST(LineEdit, EditsAtTheCaretAndKeepsItInsideTheText)
{
    CLineEdit line(CString("abc"));
    EXPECT_EQ(3, line.Caret());
    line.HandleKey(skLeft);
    TypeInto(line, "X\xE4");
    EXPECT_EQ("abX\xE4" "c", line.Text().Bytes());
    line.HandleKey(skHome);
    line.HandleKey(skBackspace);  // nothing before the caret
    line.HandleKey(skDelete);
    EXPECT_EQ("bX\xE4" "c", line.Text().Bytes());
    line.HandleKey(skEnd);
    line.HandleKey(skDelete);  // nothing after the caret
    line.HandleKey(skRight);
    EXPECT_EQ(4, line.Caret());
    EXPECT_FALSE(line.HandleKey(skTab));
    EXPECT_FALSE(line.HandleKey(0x7F));
    EXPECT_EQ("bX\xE4" "c", line.Text().Bytes());
}

TEST(LineEdit, ScrollsSidewaysOnlyAsFarAsTheCaretNeeds)
{
    CLineEdit line(CString("0123456789"));
    EXPECT_EQ(6, line.FirstShown(5));  // caret after the last byte, in the last cell
    for (int step = 0; step < 4; ++step) {
        line.HandleKey(skLeft);
    }
    EXPECT_EQ(6, line.FirstShown(5));  // caret still in view: no move
    line.HandleKey(skLeft);
    EXPECT_EQ(5, line.FirstShown(5));
    line.HandleKey(skHome);
    EXPECT_EQ(0, line.FirstShown(5));
    line.Reset(CString("ab"));
    EXPECT_EQ(0, line.FirstShown(5));  // a short text from the start
}

TEST(CellGrid, DataCannotSteerTheTerminalOrBreakTheLine)
{
    CCellGrid grid(2, 12);
    grid.PutText(0, 0, CString("A\x1B[2J\n\t\x80\xFC", 9), caNormal);
    EXPECT_EQ("A\xEF\xBF\xBD[2J\xEF\xBF\xBD\xEF\xBF\xBD\xE2\x82\xAC\xC3\xBC", grid.RowText(0));
    // Clipped at the width asked for and at the grid's edge.
    grid.PutText(1, 10, CString("wxyz"), caNormal);
    EXPECT_EQ(std::string(10, ' ') + "wx", grid.RowText(1));
    grid.SetCursor(5, 0);
    EXPECT_EQ(-1, grid.CursorRow());
}

TEST(DialogCells, TheMainDialogFitsSeventyTwoByTwentySixCells)
{
    const DialogTemplate& main = Template(IDD_TRELOX_DIALOG);
    EXPECT_EQ(72, CDialogCells::ColumnsOf(main.cx));
    EXPECT_EQ(26, CDialogCells::RowsOf(main.cy));
    const CellRect frame = CDialogCells::Frame(main, 30, 80);
    EXPECT_EQ(74, frame.width);
    EXPECT_EQ(28, frame.height);
    EXPECT_EQ(3, frame.column);
}

TEST(DialogCells, ControlsOfALineShareItAndDoNotOverlap)
{
    const DialogTemplate& main = Template(IDD_TRELOX_DIALOG);
    const std::pair<int, int> pairs[] = {{IDC_SERIAL_NUMBER, IDC_QUERY_SERIAL_NUMBER},
                                         {IDC_VERSION, IDC_QUERY_VERSION},
                                         {IDC_ERROR_INFO, IDC_QUERY_ERROR_INFO},
                                         {IDC_FLASH_FILE, IDC_BROWSE_FLASH_FILE}};
    for (const auto& pair : pairs) {
        const CellRect edit = CDialogCells::Control(ControlOf(main, pair.first));
        const CellRect button = CDialogCells::Control(ControlOf(main, pair.second));
        EXPECT_EQ(edit.row, button.row) << pair.first;
        EXPECT_LE(edit.column + edit.width, button.column) << pair.first;
        EXPECT_LE(button.column + button.width, 72) << pair.second;
    }
    // "..." is wider than its template: as wide as its text in brackets.
    EXPECT_EQ(5, CDialogCells::Control(ControlOf(main, IDC_BROWSE_FLASH_FILE)).width);
    const CellRect flash = CDialogCells::Control(ControlOf(main, IDOK));
    const CellRect close = CDialogCells::Control(ControlOf(main, IDCANCEL));
    EXPECT_EQ(flash.row, close.row);
    EXPECT_LT(flash.column + flash.width, close.column);
    EXPECT_LT(close.row, 26);
}

TEST(DialogCells, EachLabelOfTheMainDialogStandsAloneOnTheRowDirectlyAboveItsField)
{
    const std::vector<WindowState> controls = ControlsOf(Template(IDD_TRELOX_DIALOG));
    const std::vector<CellRect> cells = CellsInDialog(controls);
    int labels = 0;
    for (std::size_t index = 0; index + 1 < controls.size(); ++index) {
        if (controls[index].kind != ControlKind::Label) {
            continue;
        }
        ++labels;
        const CellRect& label = cells[index];
        ASSERT_EQ(ControlKind::Edit, controls[index + 1].kind) << controls[index].text.Bytes();
        EXPECT_EQ(cells[index + 1].row - 1, label.row) << controls[index].text.Bytes();
        for (std::size_t other = 0; other < controls.size(); ++other) {
            const CellRect& cell = cells[other];
            const bool sameRow = cell.row <= label.row && label.row < cell.row + cell.height;
            const bool sameColumns = cell.column < label.column + controls[index].text.GetLength() &&
                                     label.column < cell.column + cell.width;
            EXPECT_FALSE(other != index && controls[other].visible && sameRow && sameColumns)
                << controls[index].text.Bytes() << " meets control " << controls[other].controlId;
        }
    }
    EXPECT_EQ(6, labels);
}

TEST(DialogCells, ALabelThatNamesNoFieldBelowItKeepsItsOwnRow)
{
    // The about box: a label before a label, and one before a button.
    const std::vector<WindowState> about = ControlsOf(Template(IDD_ABOUTBOX));
    for (std::size_t index = 0; index + 1 < about.size(); ++index) {
        EXPECT_EQ(CDialogCells::Control(about[index]).row, CDialogCells::InDialog(about[index], &about[index + 1]).row)
            << index;
    }
    // A label under the field it precedes does not climb onto it.
    WindowState field;
    field.TakeControlTemplate({1, ControlKind::Edit, "", 10, 20, 100, 12, ctlTabStop, 0});
    WindowState below;
    below.TakeControlTemplate({-1, ControlKind::Label, "Unten:", 10, 40, 40, 8, ctlGroup, 0});
    EXPECT_EQ(5, CDialogCells::InDialog(below, &field).row);
}

TEST(ScreenMessageBox, ButtonsTakeTheFocusInTurnAndEnterPressesTheFocusedOne)
{
    CScreenMessageBox box("Trelox", "Bitte Testsystem-Software schlie\xDF" "en!", MB_OKCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(IDOK, box.FocusedButton());
    EXPECT_EQ(0, box.HandleKey(skTab));
    EXPECT_EQ(IDCANCEL, box.FocusedButton());
    EXPECT_EQ(0, box.HandleKey(skRight));
    EXPECT_EQ(IDOK, box.FocusedButton());
    EXPECT_EQ(0, box.HandleKey(skBackTab));
    EXPECT_EQ(IDCANCEL, box.HandleKey(' '));
    EXPECT_EQ(0, box.HandleKey('x'));
    EXPECT_EQ(IDCANCEL, box.HandleKey(skEscape));
    EXPECT_EQ(IDCANCEL, box.HandleKey(skInterrupt));

    CScreenMessageBox question("Trelox", "Wirklich?", MB_YESNO);
    EXPECT_EQ(IDNO, question.HandleKey('n'));
    EXPECT_EQ(IDYES, question.HandleKey(skEnter));
    EXPECT_EQ(IDNO, question.HandleKey(skEscape));  // no Cancel: the way out is No
}

TEST(ScreenFilePrompt, EnterTakesAPathThatIsNotEmptyAndEscCancels)
{
    CScreenFilePrompt prompt("/old.s19");
    EXPECT_EQ(CScreenFilePrompt::Outcome::Waiting, prompt.HandleKey('x'));
    EXPECT_EQ(CScreenFilePrompt::Outcome::Chosen, prompt.HandleKey(skEnter));
    EXPECT_EQ("/old.s19x", prompt.Path().Bytes());

    CScreenFilePrompt emptied("ab");
    emptied.HandleKey(skBackspace);
    emptied.HandleKey(skBackspace);
    EXPECT_EQ(CScreenFilePrompt::Outcome::Cancelled, emptied.HandleKey(skEnter));
    CScreenFilePrompt left("/a");
    EXPECT_EQ(CScreenFilePrompt::Outcome::Cancelled, left.HandleKey(skEscape));
    EXPECT_EQ(CScreenFilePrompt::Outcome::Cancelled, left.HandleKey(skInterrupt));
}

TEST(ScreenSystemMenu, CloseFirstThenTheAppendedItemsChosenByArrowOrLetter)
{
    const std::vector<SystemMenuItem> appended = {{MF_SEPARATOR, 0, CString()},
                                                  {MF_STRING, IDM_ABOUTBOX, CString("&Info \xFC" "ber Trelox...")}};
    CScreenSystemMenu menu(nullptr, appended);
    ASSERT_EQ(3u, menu.Items().size());
    EXPECT_EQ(static_cast<UINT>(SC_CLOSE), menu.Items()[0].id);
    EXPECT_EQ(CScreenSystemMenu::kStays, menu.HandleKey(skDown));
    EXPECT_EQ(2u, menu.Selected());  // the separator is passed over
    EXPECT_EQ(CScreenSystemMenu::kStays, menu.HandleKey(skDown));
    EXPECT_EQ(0u, menu.Selected());
    EXPECT_EQ(static_cast<int>(SC_CLOSE), menu.HandleKey(skEnter));
    EXPECT_EQ(IDM_ABOUTBOX, menu.HandleKey('i'));
    EXPECT_EQ(IDM_ABOUTBOX, menu.HandleKey('I'));
    EXPECT_EQ(CScreenSystemMenu::kStays, menu.HandleKey('q'));
    EXPECT_EQ(CScreenSystemMenu::kClosed, menu.HandleKey(skEscape));

    int marked = -1;
    EXPECT_EQ("Info \xFC" "ber Trelox...", CScreenSystemMenu::ShownText("&Info \xFC" "ber Trelox...", &marked).Bytes());
    EXPECT_EQ(0, marked);
    EXPECT_EQ("A&B", CScreenSystemMenu::ShownText("A&&B", &marked).Bytes());
    EXPECT_EQ(-1, marked);
}
