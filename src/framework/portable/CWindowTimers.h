// The window timers of the portable window system: each sends WM_TIMER with
// its id to its window every period, counted against the tick count the
// window system reads from the platform. A timer that is late fires once
// and counts its next period from then: it never fires in bursts.
#pragma once

#include <vector>

#include "framework/AfxTypes.h"

#ifndef INFINITE
#define INFINITE 0xFFFFFFFF
#endif

class CWindowTimers {
public:
    bool IsEmpty() const { return m_timers.empty(); }

    // Sets timer `id` of `window`, or sets it anew, due every `elapse` ms
    // from `now` (at least the system's shortest period).
    void Set(WindowHandle window, UINT_PTR id, UINT elapse, DWORD now);
    void Kill(WindowHandle window, UINT_PTR id);
    // A window that goes takes its timers with it.
    void KillAllOf(WindowHandle window);

    // Milliseconds from `now` until the next timer is due (0 if one is
    // overdue); INFINITE when there is none.
    DWORD TimeUntilNext(DWORD now) const;
    // A timer that is due at `now`, its next period counted from `now`;
    // false when none is due.
    bool TakeDue(DWORD now, WindowHandle* window, UINT_PTR* id);

private:
    struct Timer {
        WindowHandle window;
        UINT_PTR id;
        DWORD elapse;
        DWORD due;
    };

    std::vector<Timer> m_timers;
};
