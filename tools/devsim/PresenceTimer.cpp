// The schedule of a device's own leaving and returning.
#include "PresenceTimer.h"

#include "Clock.h"

namespace {

long DueAfter(long delayMs)
{
    return delayMs < 0 ? -1 : Clock::NowMs() + delayMs;
}

bool TakeIfDue(long* dueMs, long nowMs)
{
    if (*dueMs < 0 || *dueMs > nowMs) return false;
    *dueMs = -1;
    return true;
}

}  // namespace

PresenceTimer::PresenceTimer(AfterReport afterReport, long leaveDelayMs, long programTimeMs)
    : m_afterReport(afterReport), m_leaveDelayMs(leaveDelayMs), m_programTimeMs(programTimeMs)
{
}

void PresenceTimer::OnProgrammingReport()
{
    switch (m_afterReport) {
    case AfterReport::Cycle:
    case AfterReport::Gone:
        m_leaveAtMs = DueAfter(m_leaveDelayMs);
        break;
    case AfterReport::Rearrive:
        m_rearriveAtMs = DueAfter(m_leaveDelayMs);
        break;
    case AfterReport::Stay:
        break;
    }
}

void PresenceTimer::OnLeftToProgram()
{
    if (m_afterReport == AfterReport::Cycle) m_returnAtMs = DueAfter(m_programTimeMs);
}

void PresenceTimer::ReturnAfter(long delayMs)
{
    m_returnAtMs = DueAfter(delayMs);
}

void PresenceTimer::Clear()
{
    m_leaveAtMs = -1;
    m_returnAtMs = -1;
    m_rearriveAtMs = -1;
}

long PresenceTimer::NextDueMs() const
{
    long due = -1;
    for (long candidate : {m_leaveAtMs, m_returnAtMs, m_rearriveAtMs}) {
        if (candidate >= 0 && (due < 0 || candidate < due)) due = candidate;
    }
    return due;
}

PresenceEvent PresenceTimer::TakeDue(long nowMs)
{
    // In this order, as a device that announces, leaves and returns in one
    // pass of the loop would do them.
    if (TakeIfDue(&m_rearriveAtMs, nowMs)) return PresenceEvent::Rearrive;
    if (TakeIfDue(&m_leaveAtMs, nowMs)) return PresenceEvent::LeaveToProgram;
    if (TakeIfDue(&m_returnAtMs, nowMs)) return PresenceEvent::Return;
    return PresenceEvent::None;
}
