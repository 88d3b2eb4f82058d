// The terminal as a full screen, through ncurses.
#ifndef NCURSES_WIDECHAR
#define NCURSES_WIDECHAR 1
#endif
#include "framework/term/CCursesScreen.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <curses.h>
#include <langinfo.h>
#include <unistd.h>

#include "framework/screen/CCellGrid.h"
#include "framework/screen/CCodePage1252.h"
#include "framework/screen/ScreenKey.h"
#include "framework/term/CTerminalRestore.h"
#include "framework/term/CursorAddressing.h"
#include "framework/term/LeaveScreenBytes.h"

namespace {
// How long a lone Esc waits for the rest of a key sequence.
constexpr int kEscapeDelayMs = 25;

// The texts are shown as UTF-8: the character type must be a UTF-8 one.
void ChooseUtf8Characters()
{
    setlocale(LC_CTYPE, "");
    const char* codeset = nl_langinfo(CODESET);
    if (codeset == nullptr || (std::strcmp(codeset, "UTF-8") != 0 && std::strcmp(codeset, "utf8") != 0)) {
        setlocale(LC_CTYPE, "C.UTF-8");
    }
}

attr_t CursesAttributes(unsigned attributes)
{
    attr_t shown = A_NORMAL;
    if ((attributes & caReverse) != 0) {
        shown |= A_REVERSE;
    }
    if ((attributes & caBold) != 0) {
        shown |= A_BOLD;
    }
    if ((attributes & caDim) != 0) {
        shown |= A_DIM;
    }
    if ((attributes & caUnderline) != 0) {
        shown |= A_UNDERLINE;
    }
    return shown;
}

int FromFunctionKey(wint_t code)
{
    switch (code) {
    case KEY_BTAB:
        return skBackTab;
    case KEY_LEFT:
        return skLeft;
    case KEY_RIGHT:
        return skRight;
    case KEY_UP:
        return skUp;
    case KEY_DOWN:
        return skDown;
    case KEY_HOME:
        return skHome;
    case KEY_END:
        return skEnd;
    case KEY_DC:
        return skDelete;
    case KEY_BACKSPACE:
        return skBackspace;
    case KEY_ENTER:
        return skEnter;
    case KEY_RESIZE:
        return skResize;
    default:
        return code == static_cast<wint_t>(KEY_F(10)) ? skSystemMenu : skNone;
    }
}
}  // namespace

CCursesScreen::CCursesScreen() = default;

CCursesScreen::~CCursesScreen()
{
    if (!m_started) {
        return;
    }
    curs_set(1);
    endwin();
    delscreen(static_cast<SCREEN*>(m_screen));
    CTerminalRestore::Disarm();
}

bool CCursesScreen::Start()
{
    if (m_started) {
        return true;
    }
    if (isatty(STDIN_FILENO) == 0 || isatty(STDOUT_FILENO) == 0 || !TerminalAddressesTheCursor(STDOUT_FILENO)) {
        return false;
    }
    std::fflush(stdout);
    ChooseUtf8Characters();
    CTerminalRestore::Prepare(STDIN_FILENO);
    SCREEN* screen = newterm(nullptr, stdout, stdin);
    if (screen == nullptr) {
        return false;
    }
    m_screen = screen;
    m_started = true;
    set_term(screen);
    cbreak();  // Ctrl-C stays a signal: it reaches the program as before
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    nodelay(stdscr, TRUE);
    set_escdelay(kEscapeDelayMs);
    curs_set(0);
    CTerminalRestore::Arm(LeaveScreenBytes());
    return true;
}

void CCursesScreen::GetSize(int* rows, int* columns) const
{
    getmaxyx(stdscr, *rows, *columns);
}

void CCursesScreen::Show(const CCellGrid& grid)
{
    int rows = 0;
    int columns = 0;
    GetSize(&rows, &columns);
    for (int row = 0; row < rows && row < grid.Rows(); ++row) {
        for (int column = 0; column < columns && column < grid.Columns(); ++column) {
            const Cell& cell = grid.At(row, column);
            attrset(CursesAttributes(cell.attributes));
            mvaddstr(row, column, cell.glyph.c_str());
        }
    }
    attrset(A_NORMAL);
    if (grid.CursorRow() >= 0) {
        move(grid.CursorRow(), grid.CursorColumn());
        curs_set(1);
    } else {
        curs_set(0);
    }
    refresh();
}

int CCursesScreen::ReadKey()
{
    for (;;) {
        wint_t code = 0;
        const int kind = get_wch(&code);
        if (kind == ERR) {
            return skNone;
        }
        if (kind == KEY_CODE_YES) {
            const int key = FromFunctionKey(code);
            if (key != skNone) {
                return key;
            }
            continue;
        }
        switch (code) {
        case '\t':
            return skTab;
        case '\r':
        case '\n':
            return skEnter;
        case 0x7F:
        case 0x08:
            return skBackspace;
        case 0x03:
            return skInterrupt;
        case 0x1B: {
            // Alt-Space comes as Esc and a blank.
            wint_t next = 0;
            const int nextKind = get_wch(&next);
            if (nextKind == OK && next == ' ') {
                return skSystemMenu;
            }
            if (nextKind == KEY_CODE_YES) {
                ungetch(static_cast<int>(next));
            } else if (nextKind == OK) {
                unget_wch(static_cast<wchar_t>(next));
            }
            return skEscape;
        }
        default: {
            const int byte = CCodePage1252::FromUnicode(static_cast<char32_t>(code));
            if (byte >= 0) {
                return byte;
            }
        }
        }
    }
}
