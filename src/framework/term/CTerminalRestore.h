// Puts a terminal that the full screen has taken over back as the shell had
// it when the process ends without stopping the screen: at exit, and on the
// signals that end a process at once (SIGHUP, SIGQUIT, SIGABRT and the crash
// signals SIGSEGV, SIGBUS, SIGFPE, SIGILL; SIGTERM ends the run in order). The handlers only write bytes
// prepared beforehand and set the saved terminal mode, then let the signal
// take its earlier course.
#pragma once

#include <string>

class CTerminalRestore {
public:
    // Saves the terminal mode of `descriptor` and how the signals are
    // handled now; call before the screen library starts.
    static void Prepare(int descriptor);
    // Arms the restoring with `leaveScreen`, the bytes that end the full
    // screen (normal screen, cursor, attributes, keypad).
    static void Arm(const std::string& leaveScreen);
    // The screen stopped the ordinary way: nothing to restore any more, and
    // the signals are handled as before Prepare.
    static void Disarm();
};
