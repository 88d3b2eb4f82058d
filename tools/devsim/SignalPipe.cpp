// The self-pipe that carries termination signals into the poll loop.
#include "SignalPipe.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

int g_writeEnd = -1;

void OnSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    if (write(g_writeEnd, &byte, 1) < 0) {
        // Nothing to do: the pipe is full, so the loop will wake anyway.
    }
    errno = savedErrno;
}

}  // namespace

SignalPipe::~SignalPipe()
{
    if (m_read >= 0) close(m_read);
}

bool SignalPipe::Install()
{
    int ends[2];
    if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) return false;
    m_read = ends[0];
    g_writeEnd = ends[1];
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    if (sigaction(SIGTERM, &action, nullptr) != 0 || sigaction(SIGINT, &action, nullptr) != 0) return false;
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

bool SignalPipe::Drain()
{
    char buffer[64];
    bool any = false;
    while (read(m_read, buffer, sizeof buffer) > 0) any = true;
    return any;
}
