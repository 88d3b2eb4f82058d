// The windows of the portable window system: the state of every window and
// control by its handle, which one has the focus, and how deep the wait
// cursor is. It only keeps and answers; what happens to windows (messages,
// notifications, focus rules) is the window system's. Front ends read it
// through CWindowView.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "framework/state/CWindowView.h"

class CWindowTable : public CWindowView {
public:
    const WindowState* FindWindow(WindowHandle window) const override { return Find(window); }
    std::vector<const WindowState*> VisibleDialogs() const override;
    WindowHandle ActiveDialog() const override;
    WindowHandle FocusedWindow() const override { return m_focus; }
    bool IsShown(WindowHandle window) const override;
    bool IsBusy() const override { return m_waitCursorDepth > 0; }

    // The state to change; null when there is no such window.
    WindowState* Find(WindowHandle window) const;
    // A new window under a handle never given before.
    WindowState& Add();
    // Forgets a window (a control with it goes separately); the focus goes
    // with it when it had it.
    void Remove(WindowHandle window);
    // Every window, oldest first.
    std::vector<WindowState*> AllWindows() const;
    // The dialogs that exist and are not being destroyed, oldest first.
    std::vector<const WindowState*> AllDialogs() const;

    void SetFocusedWindow(WindowHandle window) { m_focus = window; }

    // The wait cursor is counted: every begin needs its end; an unmatched
    // end does not count below zero.
    void BeginWaitCursor() { ++m_waitCursorDepth; }
    void EndWaitCursor();
    int WaitCursorDepth() const { return m_waitCursorDepth; }

private:
    // Keyed by the handle's value, which grows with creation.
    std::map<std::uintptr_t, std::unique_ptr<WindowState>> m_windows;
    std::uintptr_t m_nextHandle = 1;
    WindowHandle m_focus = nullptr;
    int m_waitCursorDepth = 0;
};
