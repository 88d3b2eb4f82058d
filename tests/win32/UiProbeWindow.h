// A hidden window of the test that acts on the user-interface thread while
// the code under test runs its own loops (a modal dialog, a message box, the
// pump): its timer calls a step again and again until the step says it is
// done. This is how a test looks at windows and presses their buttons from
// inside a modal run, as a user would.
#pragma once

#include <functional>

#include "framework/CWnd.h"

class UiProbeWindow : public CWnd {
public:
    UiProbeWindow();
    ~UiProbeWindow() override;

    // Calls `step` every `periodMs` until it returns true, or until
    // `giveUpMs` have passed (then TimedOut() is true and `onGiveUp` runs,
    // which should end the run under test).
    void Start(std::function<bool()> step, std::function<void()> onGiveUp, UINT periodMs = 20,
               DWORD giveUpMs = 10000);
    bool TimedOut() const { return m_timedOut; }
    int Steps() const { return m_steps; }

protected:
    void OnTimer(UINT_PTR id);

    DECLARE_MESSAGE_MAP()

private:
    std::function<bool()> m_step;
    std::function<void()> m_onGiveUp;
    DWORD m_startTick = 0;
    DWORD m_giveUpMs = 0;
    int m_steps = 0;
    bool m_timedOut = false;
};
