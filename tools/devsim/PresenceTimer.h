// When a device leaves its bus and comes back on its own: after the
// programming report (as --after-report says) and after a fault's leave.
// The same for every transport; the device carries the events out.
#pragma once

#include "DeviceConfig.h"

enum class PresenceEvent {
    None,
    Rearrive,            // announce itself again without leaving
    LeaveToProgram,      // leave the bus to program itself
    Return               // come back on the bus
};

class PresenceTimer {
public:
    explicit PresenceTimer(AfterReport afterReport, long leaveDelayMs, long programTimeMs);

    // The read carrying the programming report has completed.
    void OnProgrammingReport();
    // The device has left to program itself: schedules its return (cycle only).
    void OnLeftToProgram();
    // Come back `delayMs` from now; -1: never.
    void ReturnAfter(long delayMs);
    // Forgets every scheduled event (the device left for another reason).
    void Clear();

    long NextDueMs() const;
    // The next due event, taken off the schedule; None when nothing is due.
    PresenceEvent TakeDue(long nowMs);

private:
    AfterReport m_afterReport;
    long m_leaveDelayMs;
    long m_programTimeMs;
    long m_leaveAtMs = -1;
    long m_returnAtMs = -1;
    long m_rearriveAtMs = -1;
};
