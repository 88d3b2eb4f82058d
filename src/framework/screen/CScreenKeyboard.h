// The keyboard of the full-screen terminal front end: one key at a time, at
// its turn among the program's messages, acts on the dialog in front as the
// user's key would on Windows. Tab, Shift-Tab, Enter and Esc are the dialog's
// own keys (they act only while a modal loop runs it); Space presses the
// focused button; typing and the caret keys edit the focused edit, which
// reports each change; the menu key opens the system menu, whose choice is
// sent as WM_SYSCOMMAND.
#pragma once

#include <memory>

#include "framework/screen/CEditViews.h"
#include "framework/screen/CScreenSystemMenu.h"

class CPortableWindowSystem;

class CScreenKeyboard {
public:
    CScreenKeyboard(CPortableWindowSystem& windows, CEditViews& edits);
    ~CScreenKeyboard();

    void HandleKey(int key);

    // The system menu while it is open, else null.
    const CScreenSystemMenu* OpenMenu() const { return m_menu.get(); }

    // When the focus is not in the dialog in front (the window that had it
    // went), it goes back to the control of that dialog that had it last.
    void RestoreFocus();

private:
    void HandleMenuKey(int key);
    void HandleControlKey(WindowHandle dialog, int key);

    CPortableWindowSystem& m_windows;
    CEditViews& m_edits;
    std::unique_ptr<CScreenSystemMenu> m_menu;
};
