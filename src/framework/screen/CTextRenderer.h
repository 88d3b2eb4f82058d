// How a text terminal shows the program's windows: the dialogs, message
// boxes and the file prompt. The line renderer serves direct mode; a
// full-screen renderer can take its place without touching the window logic.
#pragma once

#include <vector>

#include "framework/AfxTypes.h"
#include "framework/CString.h"
#include "framework/state/CWindowView.h"
#include "framework/state/WindowState.h"

class CTextRenderer {
public:
    virtual ~CTextRenderer() = default;

    // The visible dialogs, oldest first; shows what changed since last time.
    virtual void ShowDialogs(const CWindowView& windows, const std::vector<const WindowState*>& dialogs) = 0;
    // A dialog is about to go; its state is complete for a last look.
    virtual void DialogGone(const CWindowView& windows, const WindowState& dialog) = 0;
    // A message box, then the answer it got.
    virtual void ShowMessageBox(const CString& caption, const CString& text, UINT type, bool asksKeys) = 0;
    virtual void ShowAnswer(int button) = 0;
    // The prompt of the open-file dialog, read as one line after it.
    virtual void ShowFilePrompt(const CString& initialFile) = 0;
    // The run's closing line, below everything shown before.
    virtual void ShowClosingLine(const CString& text) { (void)text; }
};
