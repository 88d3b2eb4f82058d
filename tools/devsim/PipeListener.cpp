// Binding, listening and accepting on one pipe's socket.
#include "PipeListener.h"

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <unistd.h>

PipeListener::PipeListener(const BusDirectory& bus, std::string name) : m_bus(bus), m_name(std::move(name)) {}

PipeListener::~PipeListener()
{
    Stop();
}

bool PipeListener::Start(bool refuse, std::string* error)
{
    sockaddr_un address;
    socklen_t length = 0;
    if (!m_bus.SocketAddress(m_name, &address, &length)) {
        *error = "socket address too long for " + m_name;
        return false;
    }
    m_fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0) {
        *error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    m_bus.Remove(m_name);  // a socket left behind by a simulator that was killed
    if (bind(m_fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        (!refuse && listen(m_fd, 16) != 0)) {
        *error = "cannot bind " + m_name + ": " + std::strerror(errno);
        Stop();
        return false;
    }
    m_listening = !refuse;
    return true;
}

void PipeListener::Stop()
{
    if (m_fd < 0) return;
    close(m_fd);
    m_fd = -1;
    m_listening = false;
    m_bus.Remove(m_name);
}

int PipeListener::Accept()
{
    if (!m_listening) return -1;
    return accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
}
