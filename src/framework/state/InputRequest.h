// What the user's input asks of the windows. A front end turns its keys into
// requests (the tests their script) and hands them back to the window system,
// which carries each out at its turn, only as far as the user could do it
// then: a request for a window that is gone or disabled is dropped.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CString.h"

// The keys a dialog takes as its own, only while its modal loop runs: Enter
// presses the focused push button or else the default button, Esc presses
// Cancel, Tab and Shift-Tab move the focus in template order.
enum class DialogKey {
    Enter,
    Escape,
    Tab,
    BackTab,
};

struct InputRequest {
    enum class Kind {
        PressButton,    // a click on button `id` of `window` (a dialog)
        Key,            // `key` for `window` (a dialog)
        Focus,          // the focus to `window` (a control)
        Type,           // `text` typed into `window` (an edit), which reports it
        SystemCommand,  // `command` chosen from the system menu of `window`
    };

    static InputRequest PressButton(WindowHandle dialog, int id);
    static InputRequest Key(WindowHandle dialog, DialogKey key);
    static InputRequest Focus(WindowHandle control);
    static InputRequest Type(WindowHandle edit, const CString& text);
    static InputRequest SystemCommand(WindowHandle window, UINT command);

    Kind kind = Kind::PressButton;
    WindowHandle window = nullptr;
    int id = 0;
    DialogKey key = DialogKey::Enter;
    UINT command = 0;
    CString text;
};
