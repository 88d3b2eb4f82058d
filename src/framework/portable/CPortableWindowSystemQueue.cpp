// The message queue of the portable window system: posted messages, the
// user's input and the platform's device notices in the order they came,
// the window timers against the platform's tick count, dispatching one at a
// time, and the pump.
#include "framework/portable/CPortableWindowSystem.h"

#include "platform/CPlatform.h"

void CPortableWindowSystem::PostMessage(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Find(window) == nullptr) {
        return;
    }
    QueuedMessage queued;
    queued.window = window;
    queued.message = message;
    queued.wParam = wParam;
    queued.lParam = lParam;
    m_queue.push_back(std::move(queued));
}

void CPortableWindowSystem::QueueInput(std::function<void()> action)
{
    QueuedMessage queued;
    queued.input = std::move(action);
    m_queue.push_back(std::move(queued));
}

UINT_PTR CPortableWindowSystem::SetTimer(WindowHandle window, UINT_PTR id, UINT elapse)
{
    if (Find(window) == nullptr) {
        return 0;
    }
    m_timers.Set(window, id, elapse, Platform().GetTickCount());
    return id;
}

void CPortableWindowSystem::KillTimer(WindowHandle window, UINT_PTR id)
{
    m_timers.Kill(window, id);
}

DWORD CPortableWindowSystem::TimeUntilNextTimer() const
{
    return m_timers.IsEmpty() ? INFINITE : m_timers.TimeUntilNext(Platform().GetTickCount());
}

void CPortableWindowSystem::CollectDeviceNotices()
{
    DeviceNotice notice;
    while (Platform().TakeDeviceNotice(&notice)) {
        if (Find(notice.window) == nullptr) {
            continue;
        }
        QueuedMessage queued;
        queued.window = notice.window;
        queued.message = WM_DEVICECHANGE;
        queued.wParam = notice.eventType;
        queued.record = std::move(notice.record);
        m_queue.push_back(std::move(queued));
        notice = DeviceNotice();
    }
}

void CPortableWindowSystem::TakeArrivals()
{
    // Notices before keys and Ctrl-C: what the user does next acts on a
    // device that has already gone, as Windows delivers device notices
    // before input.
    CollectDeviceNotices();
    PollInput();
}

void CPortableWindowSystem::Dispatch(QueuedMessage& message)
{
    if (message.input) {
        message.input();
        return;
    }
    if (message.message == WM_DEVICECHANGE) {
        // The record lives in the message while its window handles it.
        message.lParam = message.record.empty() ? 0 : reinterpret_cast<LPARAM>(message.record.data());
    }
    SendMessage(message.window, message.message, message.wParam, message.lParam);
}

bool CPortableWindowSystem::DispatchOneWaiting()
{
    CollectDeviceNotices();
    if (!m_queue.empty()) {
        QueuedMessage message = std::move(m_queue.front());
        m_queue.pop_front();
        Dispatch(message);
        OnDispatched();
        return true;
    }
    WindowHandle timerWindow = nullptr;
    UINT_PTR timerId = 0;
    if (m_timers.TakeDue(Platform().GetTickCount(), &timerWindow, &timerId)) {
        SendMessage(timerWindow, WM_TIMER, timerId, 0);
        OnDispatched();
        return true;
    }
    return false;
}

void CPortableWindowSystem::PumpWaitingMessages()
{
    // Inside a modal loop the pump still gives no dialog-keyboard processing.
    const int outerDepth = m_modalDispatchDepth;
    m_modalDispatchDepth = 0;
    TakeArrivals();
    while (DispatchOneWaiting()) {
    }
    m_modalDispatchDepth = outerDepth;
    Present();
}
