// What a front end may read of the windows to show them: which exist, which
// dialogs are visible and which of them takes input, where the focus is, and
// whether the program is busy. A view only reads: what the user's input asks
// of the windows comes back as requests (InputRequest.h) that the window
// system carries out. The window table is the view of the portable window
// system's windows; a state it returns stays valid until the next message or
// input is dispatched.
#pragma once

#include <vector>

#include "framework/AfxTypes.h"
#include "framework/state/WindowState.h"

class CWindowView {
public:
    virtual ~CWindowView() = default;

    // The state of a window or control; null when there is none.
    virtual const WindowState* FindWindow(WindowHandle window) const = 0;
    // The dialogs that are visible, oldest first.
    virtual std::vector<const WindowState*> VisibleDialogs() const = 0;
    // The dialog that takes input: the newest visible, enabled dialog; null
    // when there is none.
    virtual WindowHandle ActiveDialog() const = 0;
    // The window or control with the focus; null when none has it.
    virtual WindowHandle FocusedWindow() const = 0;
    // Visible, and for a control its dialog too.
    virtual bool IsShown(WindowHandle window) const = 0;
    // The wait cursor is up: the program works and the user waits.
    virtual bool IsBusy() const = 0;
};
