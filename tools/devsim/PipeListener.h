// The listening socket of one pipe of a simulated device ("<path>\PIPE02" or
// "<path>\PIPE03" in the bus directory).
#pragma once

#include <string>

#include "BusDirectory.h"

class PipeListener {
public:
    PipeListener(const BusDirectory& bus, std::string name);
    PipeListener(const PipeListener&) = delete;
    PipeListener& operator=(const PipeListener&) = delete;
    ~PipeListener();

    // Binds the socket, and listens unless `refuse` (then connects are
    // refused). A stale socket of the same name is replaced. False with a
    // reason in *error.
    bool Start(bool refuse, std::string* error);
    // Closes the socket and removes its name from the bus directory.
    void Stop();
    // The listening descriptor, -1 while stopped or refusing.
    int Fd() const { return m_listening ? m_fd : -1; }
    // A new connection's descriptor (non-blocking), or -1 when none is waiting.
    int Accept();
    const std::string& Name() const { return m_name; }

private:
    const BusDirectory& m_bus;
    std::string m_name;
    int m_fd = -1;
    bool m_listening = false;
};
