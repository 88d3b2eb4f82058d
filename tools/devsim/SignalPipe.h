// SIGTERM and SIGINT turned into a readable descriptor, so that the poll loop
// ends cleanly instead of the process dying with devices on the bus.
#pragma once

class SignalPipe {
public:
    SignalPipe() = default;
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;
    ~SignalPipe();

    // Installs the handlers (and ignores SIGPIPE). False on failure.
    bool Install();
    int Fd() const { return m_read; }
    // Whether a signal has arrived; empties the pipe.
    bool Drain();

private:
    int m_read = -1;
};
