// Whether the terminal can place the cursor anywhere on its screen. Apart
// from the full screen's file: the terminal description's header names its
// capabilities as macros (columns, lines, ...).
#include "framework/term/CursorAddressing.h"

#include <curses.h>
#include <term.h>

bool TerminalAddressesTheCursor(int descriptor)
{
    int status = 0;
    // With a status to fill, a missing description is reported, not printed.
    if (setupterm(nullptr, descriptor, &status) != OK) {
        return false;
    }
    const char* const address = tigetstr("cup");
    // Absent (null) or not a string capability at all (-1).
    const bool addresses = address != nullptr && address != reinterpret_cast<const char*>(-1);
    del_curterm(cur_term);
    return addresses;
}
