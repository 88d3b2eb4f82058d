// The window timers of the portable window system.
#include "framework/portable/CWindowTimers.h"

#include <algorithm>
#include <cstdint>

namespace {
// The system's shortest timer period.
constexpr DWORD kMinimumTimerPeriod = 10;

// Due at or before `now`, also across the tick count's wrap-around.
bool IsDue(DWORD now, DWORD due)
{
    return static_cast<std::int32_t>(now - due) >= 0;
}
}  // namespace

void CWindowTimers::Set(WindowHandle window, UINT_PTR id, UINT elapse, DWORD now)
{
    const DWORD period = std::max<DWORD>(elapse, kMinimumTimerPeriod);
    const DWORD due = now + period;
    for (Timer& timer : m_timers) {
        if (timer.window == window && timer.id == id) {
            timer.elapse = period;
            timer.due = due;
            return;
        }
    }
    m_timers.push_back(Timer{window, id, period, due});
}

void CWindowTimers::Kill(WindowHandle window, UINT_PTR id)
{
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [window, id](const Timer& timer) {
                                      return timer.window == window && timer.id == id;
                                  }),
                   m_timers.end());
}

void CWindowTimers::KillAllOf(WindowHandle window)
{
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [window](const Timer& timer) { return timer.window == window; }),
                   m_timers.end());
}

DWORD CWindowTimers::TimeUntilNext(DWORD now) const
{
    DWORD shortest = INFINITE;
    for (const Timer& timer : m_timers) {
        const DWORD wait = IsDue(now, timer.due) ? 0 : timer.due - now;
        shortest = std::min(shortest, wait);
    }
    return shortest;
}

bool CWindowTimers::TakeDue(DWORD now, WindowHandle* window, UINT_PTR* id)
{
    for (Timer& timer : m_timers) {
        if (IsDue(now, timer.due)) {
            timer.due = now + timer.elapse;
            *window = timer.window;
            *id = timer.id;
            return true;
        }
    }
    return false;
}
