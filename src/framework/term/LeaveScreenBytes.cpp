// The bytes that take a terminal out of the full screen. Kept apart: the
// terminal description's header defines macros with everyday names.
#include "framework/term/LeaveScreenBytes.h"

#include <curses.h>
#include <term.h>

std::string LeaveScreenBytes()
{
    std::string bytes;
    for (const char* capability : {"rmcup", "cnorm", "sgr0", "rmkx"}) {
        const char* value = tigetstr(const_cast<char*>(capability));
        if (value != nullptr && value != reinterpret_cast<char*>(-1)) {
            bytes += value;
        }
    }
    return bytes;
}
