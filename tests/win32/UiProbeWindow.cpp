// A hidden window of the test that acts from inside the loops under test.
#include "UiProbeWindow.h"

#include "framework/win32/Win32UserApi.h"

BEGIN_MESSAGE_MAP(UiProbeWindow, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
constexpr UINT_PTR kProbeTimer = 77;
}

UiProbeWindow::UiProbeWindow()
{
    CreateEx(0, AfxRegisterWndClass(0), "TreloxTestProbe", WS_POPUP, 0, 0, 0, 0, nullptr, 0);
}

UiProbeWindow::~UiProbeWindow()
{
    DestroyWindow();
}

void UiProbeWindow::Start(std::function<bool()> step, std::function<void()> onGiveUp, UINT periodMs, DWORD giveUpMs)
{
    m_step = std::move(step);
    m_onGiveUp = std::move(onGiveUp);
    m_startTick = ::GetTickCount();
    m_giveUpMs = giveUpMs;
    m_steps = 0;
    m_timedOut = false;
    SetTimer(kProbeTimer, periodMs);
}

void UiProbeWindow::OnTimer(UINT_PTR id)
{
    if (id != kProbeTimer || !m_step) {
        return;
    }
    ++m_steps;
    // Taken out first: a step may run a nested loop that ticks again.
    std::function<bool()> step = std::move(m_step);
    m_step = nullptr;
    if (step()) {
        KillTimer(kProbeTimer);
        return;
    }
    if (::GetTickCount() - m_startTick >= m_giveUpMs) {
        KillTimer(kProbeTimer);
        m_timedOut = true;
        if (m_onGiveUp) {
            m_onGiveUp();
        }
        return;
    }
    if (!m_step) {
        m_step = std::move(step);
    }
}
