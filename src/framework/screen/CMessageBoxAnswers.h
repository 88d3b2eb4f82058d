// How a message box is answered on a terminal: the keys of its buttons, the
// answer when nobody can answer, and the buttons' names.
#pragma once

#include <string>
#include <vector>

#include "framework/AfxTypes.h"

class CMessageBoxAnswers {
public:
    // Key codes besides letters.
    static const int kEnter = '\r';
    static const int kLineFeed = '\n';
    static const int kEscape = 0x1B;
    static const int kInterrupt = 0x03;  // Ctrl-C while the terminal is raw

    // The button a key chooses in a box of `type`, or 0 when it chooses none.
    // Enter takes the first button; Esc and Ctrl-C the way out (Cancel, or
    // No where there is no Cancel); letters the button they start.
    static int FromKey(UINT type, int key);
    // Without a terminal to ask: OK passes, OK/Cancel is cancelled (the wait
    // ends), a Yes/No question is answered Yes (only an interrupt raises one).
    static int Unattended(UINT type);
    // The buttons of a box of `type`, in the order shown.
    static std::vector<int> Buttons(UINT type);
    // "OK", "Abbrechen", "Ja", "Nein".
    static const char* ButtonName(int button);
    // The box's buttons, e.g. "[OK] [Abbrechen]", and the keys that choose them.
    static std::string ButtonRow(UINT type);
    static const char* KeyHint(UINT type);
};
