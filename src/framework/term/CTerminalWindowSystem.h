// The window system of the Linux build: the shared window logic, shown by the
// line renderer on standard output (direct mode), with Ctrl-C and SIGTERM as
// the front dialog's button 2 (after a SIGTERM nobody answers at the keys),
// message boxes answered with keys and the lines of direct mode cancelled
// with Esc or Enter when standard input is a terminal, device notices
// watched through the platform's descriptor.
// While the main window (the dialog with a taskbar button of its own) is
// shown, the full screen takes over: every dialog, message box and the file
// prompt are drawn there and worked with the keyboard. Without a terminal
// the main window cannot be worked: its modal loop ends at once.
#pragma once

#include <memory>

#include "framework/portable/CPortableWindowSystem.h"
#include "framework/screen/CLineRenderer.h"
#include "framework/term/CFullScreenFrontEnd.h"
#include "framework/term/CRawTerminalMode.h"
#include "framework/term/CSignalPipe.h"

class CTerminalWindowSystem : public CPortableWindowSystem {
public:
    CTerminalWindowSystem();
    ~CTerminalWindowSystem() override;

    // The busy state shows at once: the work that follows blocks.
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    void ShowClosingLine(const CString& text) override;

protected:
    void PollInput() override;
    bool WaitForInput(DWORD milliseconds) override;
    void Present() override;
    int AskMessageBox(WindowHandle owner, const CString& text, const CString& caption, UINT type) override;
    bool AskOpenFileName(WindowHandle owner, const CString& initialFile, DWORD flags, CString* path) override;
    void OnWindowDestroying(const WindowState& window) override;

private:
    // Waits up to `timeoutMs` (-1: no limit) for a key (when `watchKeys`), a
    // Ctrl-C (when `watchInterrupts`) or a device notice. The poll's result;
    // `*keyEvents` is what standard input saw, 0 when it was not watched.
    int PollSources(bool watchKeys, bool watchInterrupts, int timeoutMs, short* keyEvents);
    // One key from standard input, with the program's
    // timers and device notices served meanwhile; -1 at the end of input.
    int WaitForKey();

    // Direct mode's keys on the terminal while one of its lines stands.
    void UpdateLineKeys();
    void TakeLineKeys();
    // Nobody answers a question: standard input is no terminal, or a
    // SIGTERM asked the run to end.
    bool Unattended();

    // The full screen while the main window is shown.
    bool MainWindowShown() const;
    void UpdateScreenMode();
    // One key for what the full screen asks, with the program's timers and
    // device notices served meanwhile; -1 when no key can come any more.
    int WaitForScreenKey();
    int AskMessageBoxOnScreen(const CString& text, const CString& caption, UINT type);
    bool AskOpenFileNameOnScreen(const CString& initialFile, CString* path);

    std::unique_ptr<CLineRenderer> m_renderer;
    CSignalPipe m_interrupts;
    bool m_keysFromTerminal;
    bool m_inMessageBox = false;
    // The terminal in raw mode while direct mode takes its keys.
    std::unique_ptr<CRawTerminalMode> m_lineKeysMode;
    std::unique_ptr<CFullScreenFrontEnd> m_fullScreen;
    bool m_fullScreenRefused = false;
};
