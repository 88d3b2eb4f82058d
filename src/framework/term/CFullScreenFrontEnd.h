// Dialog mode on a terminal: the full screen that shows the program's
// dialogs as its templates lay them out, and the keyboard that works them.
// The window system runs it while the main window is shown and hands it
// the message box or file prompt it is asking with.
#pragma once

#include "framework/screen/CEditViews.h"
#include "framework/screen/CScreenKeyboard.h"
#include "framework/term/CCursesScreen.h"

class CPortableWindowSystem;
class CScreenFilePrompt;
class CScreenMessageBox;

class CFullScreenFrontEnd {
public:
    explicit CFullScreenFrontEnd(CPortableWindowSystem& windows);

    // False when there is no terminal to take over.
    bool Start();

    // Paints the dialogs and whatever is open over them.
    void Paint();
    // The next key, or skNone when none waits.
    int ReadKey() { return m_screen.ReadKey(); }
    // A key at its turn among the program's messages.
    void HandleKey(int key) { m_keyboard.HandleKey(key); }

    // What is being asked over the dialogs; null when nothing.
    void SetMessageBox(const CScreenMessageBox* box) { m_box = box; }
    void SetFilePrompt(CScreenFilePrompt* prompt) { m_prompt = prompt; }

private:
    CPortableWindowSystem& m_windows;
    CCursesScreen m_screen;
    CEditViews m_edits;
    CScreenKeyboard m_keyboard;
    const CScreenMessageBox* m_box = nullptr;
    CScreenFilePrompt* m_prompt = nullptr;
};
