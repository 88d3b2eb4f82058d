// An unnamed, auto-resetting event. On this backend only a transfer's
// completion signals it, so an event remembers the pipe whose transfer it
// belongs to: waiting on the event is what drives that pipe's traffic.
#pragma once

#include <memory>

#include "platform/posix/CPosixObject.h"

class CBusPipe;

class CPosixEvent : public CPosixObject {
public:
    void Signal() { m_signalled = true; }
    void Reset() { m_signalled = false; }
    // True once per signal: a successful wait resets the event.
    bool TakeSignal();

    // The pipe whose transfer signals this event; none after it was cancelled.
    void LinkTo(const std::shared_ptr<CBusPipe>& pipe) { m_pipe = pipe; }
    void Unlink() { m_pipe.reset(); }
    std::shared_ptr<CBusPipe> LinkedPipe() const { return m_pipe.lock(); }

private:
    bool m_signalled = false;
    std::weak_ptr<CBusPipe> m_pipe;
};
