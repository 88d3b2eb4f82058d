// The keyboard of the full-screen terminal front end: one key at a time, at
// its turn among the program's messages, acts on the dialog in front as the
// user's key would on Windows. It reads the windows through their view and
// hands back what the key asks for as requests, for the window system to
// carry out in order. Tab, Shift-Tab, Enter and Esc are the dialog's own keys
// (they act only while a modal loop runs it); Space presses the focused
// button; typing and the caret keys edit the focused edit, which reports each
// change; the menu key opens the system menu, whose choice is sent as
// WM_SYSCOMMAND.
#pragma once

#include <memory>
#include <vector>

#include "framework/screen/CEditViews.h"
#include "framework/screen/CScreenSystemMenu.h"
#include "framework/state/CWindowView.h"
#include "framework/state/InputRequest.h"

class CScreenKeyboard {
public:
    CScreenKeyboard(const CWindowView& windows, CEditViews& edits);
    ~CScreenKeyboard();

    // What `key` asks of the windows as they are now, in order.
    std::vector<InputRequest> HandleKey(int key);

    // The system menu while it is open, else null.
    const CScreenSystemMenu* OpenMenu() const { return m_menu.get(); }

    // When the focus is not in the dialog in front (the window that had it
    // went), it goes back to the control of that dialog that had it last:
    // that request, or none.
    std::vector<InputRequest> RestoreFocus() const;

private:
    std::vector<InputRequest> HandleMenuKey(int key);
    std::vector<InputRequest> HandleControlKey(WindowHandle dialog, WindowHandle focus, int key);

    const CWindowView& m_windows;
    CEditViews& m_edits;
    std::unique_ptr<CScreenSystemMenu> m_menu;
};
