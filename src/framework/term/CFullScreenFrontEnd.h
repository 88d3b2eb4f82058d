// Dialog mode on a terminal: the full screen that shows the program's
// dialogs as its templates lay them out, and the keyboard that works them.
// It reads the windows through their view and hands back what a key asks of
// them as requests. The window system runs it while the main window is
// shown, carries out its requests, and hands it the message box or file
// prompt it is asking with.
#pragma once

#include <vector>

#include "framework/screen/CEditViews.h"
#include "framework/screen/CScreenKeyboard.h"
#include "framework/state/CWindowView.h"
#include "framework/state/InputRequest.h"
#include "framework/term/CCursesScreen.h"

class CScreenFilePrompt;
class CScreenMessageBox;

class CFullScreenFrontEnd {
public:
    explicit CFullScreenFrontEnd(const CWindowView& windows);

    // False when there is no terminal to take over.
    bool Start();

    // The focus back in the dialog in front before it is painted, unless a
    // message box or the file prompt is open over it.
    std::vector<InputRequest> FocusToRestore() const;
    // Paints the dialogs and whatever is open over them.
    void Paint();
    // The next key, or skNone when none waits.
    int ReadKey() { return m_screen.ReadKey(); }
    // What a key asks of the windows, at its turn among the program's messages.
    std::vector<InputRequest> HandleKey(int key) { return m_keyboard.HandleKey(key); }

    // What is being asked over the dialogs; null when nothing.
    void SetMessageBox(const CScreenMessageBox* box) { m_box = box; }
    void SetFilePrompt(CScreenFilePrompt* prompt) { m_prompt = prompt; }

private:
    const CWindowView& m_windows;
    CCursesScreen m_screen;
    CEditViews m_edits;
    CScreenKeyboard m_keyboard;
    const CScreenMessageBox* m_box = nullptr;
    CScreenFilePrompt* m_prompt = nullptr;
};
