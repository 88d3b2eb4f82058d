// The window system of the Linux build: the shared window logic, shown by a
// text renderer on standard output, with Ctrl-C as the front dialog's
// button 2, message boxes answered with keys when standard input is a
// terminal, device notices watched through the platform's descriptor.
#pragma once

#include <memory>

#include "framework/CPortableWindowSystem.h"
#include "framework/CTextRenderer.h"
#include "framework/term/CSignalPipe.h"

class CTerminalWindowSystem : public CPortableWindowSystem {
public:
    CTerminalWindowSystem();
    ~CTerminalWindowSystem() override;

    // Puts another renderer (a full-screen one) in place of the line renderer.
    void SetRenderer(std::unique_ptr<CTextRenderer> renderer);

    void ShowClosingLine(const CString& text) override;

protected:
    void PollInput() override;
    bool WaitForInput(DWORD milliseconds) override;
    void Present() override;
    int AskMessageBox(WindowHandle owner, const CString& text, const CString& caption, UINT type) override;
    bool AskOpenFileName(WindowHandle owner, const CString& initialFile, DWORD flags, CString* path) override;
    void OnWindowDestroying(const WindowState& window) override;

private:
    // One key from standard input, with the program's
    // timers and device notices served meanwhile; -1 at the end of input.
    int WaitForKey();

    std::unique_ptr<CTextRenderer> m_renderer;
    CSignalPipe m_interrupts;
    bool m_keysFromTerminal;
    bool m_inMessageBox = false;
};
