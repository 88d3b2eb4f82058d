// Whether the terminal can place the cursor anywhere on its screen, as the
// full screen needs: a terminal without cursor addressing (TERM=dumb, an
// editor's shell buffer) or an unknown one cannot.
#pragma once

// Asks the terminal description that TERM names for the terminal on
// `descriptor`; prints nothing and keeps nothing.
bool TerminalAddressesTheCursor(int descriptor);
