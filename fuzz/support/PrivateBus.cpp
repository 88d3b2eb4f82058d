// A private simulated bus with one device listening on both pipes.
#include "support/PrivateBus.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kInterfacePath[] = "\\\\?\\usb#vid_1234&pid_5678#FUZZ#{c0558574-212d-4625-8877-fe9c2e8ed396}";

int Slot(PipeAccess access)
{
    return access == PipeAccess::Write ? 0 : 1;
}

int Listen(const std::string& path)
{
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return -1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

PrivateBus::PrivateBus()
{
    char pattern[] = "/tmp/trelox-fuzz-bus-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    m_directory = pattern;
    ::setenv("TRELOX_USB_BUS", m_directory.c_str(), 1);
    for (PipeAccess access : {PipeAccess::Write, PipeAccess::Read}) {
        m_listening[Slot(access)] = Listen(m_directory + "/" + PipePath(access));
        if (m_listening[Slot(access)] < 0) {
            std::perror("listen on the private bus");
            std::abort();
        }
    }
}

PrivateBus::~PrivateBus()
{
    for (PipeAccess access : {PipeAccess::Write, PipeAccess::Read}) {
        ::close(m_listening[Slot(access)]);
        ::unlink((m_directory + "/" + PipePath(access)).c_str());
    }
    ::rmdir(m_directory.c_str());
}

std::string PrivateBus::PipePath(PipeAccess access) const
{
    return std::string(kInterfacePath) + (access == PipeAccess::Write ? "\\PIPE02" : "\\PIPE03");
}

int PrivateBus::Accept(PipeAccess access)
{
    return ::accept4(m_listening[Slot(access)], nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
}
