// Direct mode on a terminal: each dialog as one line of its visible texts
// and progress bars in reading order ("Download [#####     ] 42 %"). On a
// terminal the line is redrawn in place whenever it changes; into a file or
// pipe, plain lines: a dialog with a progress bar at most once per 10 % step
// and always its last state, any other dialog once per state of its leading
// text. Message boxes are blocks with their caption. Everything goes to one
// stream, flushed as shown. While the terminal's keys are taken, a line
// redrawn in place says which keys cancel it.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "framework/AfxTypes.h"
#include "framework/CString.h"
#include "framework/state/CWindowView.h"
#include "framework/state/WindowState.h"

class CLineRenderer {
public:
    CLineRenderer(std::ostream& out, bool inPlace);

    // Whether Esc and Enter are read from the terminal now (CLineKeys).
    void SetKeysTaken(bool taken) { m_keysTaken = taken; }

    // The visible dialogs, oldest first; shows what changed since last time.
    void ShowDialogs(const CWindowView& windows, const std::vector<const WindowState*>& dialogs);
    // A dialog is about to go; its state is complete for a last look.
    void DialogGone(const CWindowView& windows, const WindowState& dialog);
    // A message box, then the answer it got.
    void ShowMessageBox(const CString& caption, const CString& text, UINT type, bool asksKeys);
    void ShowAnswer(int button);
    // The prompt of the open-file dialog, read as one line after it.
    void ShowFilePrompt(const CString& initialFile);
    // The run's closing line, below everything shown before.
    void ShowClosingLine(const CString& text);

    // The line of a dialog, in UTF-8.
    static std::string LineOf(const CWindowView& windows, const WindowState& dialog);

private:
    struct Shown {
        std::string line;  // as last written
        std::string key;   // what a plain line is written for
    };

    static std::string PlainKeyOf(const CWindowView& windows, const WindowState& dialog);
    static bool HasProgressBar(const CWindowView& windows, const WindowState& dialog);
    void ShowInPlace(WindowHandle dialog, const std::string& line);
    void ShowPlain(WindowHandle dialog, const std::string& line, const std::string& key);
    void EndOpenLine();

    std::ostream& m_out;
    bool m_inPlace;
    bool m_keysTaken = false;
    WindowHandle m_openLineOf = nullptr;  // in place: the dialog whose line the cursor is on
    std::map<WindowHandle, Shown> m_shown;
};
