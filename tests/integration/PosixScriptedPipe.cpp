// The device end of one pipe of the simulated bus, driven by a test script.
#include "PosixScriptedPipe.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

constexpr int kPatienceMs = 10000;

bool FillAddress(const std::string& path, sockaddr_un* address)
{
    std::memset(address, 0, sizeof(*address));
    address->sun_family = AF_UNIX;
    if (path.size() > 107) {
        return false;
    }
    std::memcpy(address->sun_path, path.data(), path.size());
    return true;
}

}  // namespace

PosixScriptedPipe::PosixScriptedPipe(const std::string& busPath, const std::string& pipePath)
{
    m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address;
    int directoryFd = -1;
    if (!FillAddress(busPath + "/" + pipePath, &address)) {
        directoryFd = ::open(busPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (!FillAddress("/proc/self/fd/" + std::to_string(directoryFd) + "/" + pipePath, &address)) {
            throw std::runtime_error("pipe address too long even through /proc");
        }
    }
    const int bound = ::bind(m_listenFd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    if (directoryFd >= 0) {
        ::close(directoryFd);
    }
    if (bound != 0 || ::listen(m_listenFd, 4) != 0) {
        throw std::runtime_error(std::string("device cannot listen: ") + std::strerror(errno));
    }
}

PosixScriptedPipe::~PosixScriptedPipe()
{
    if (m_connectionFd >= 0) {
        ::shutdown(m_connectionFd, SHUT_RDWR);
    }
    Join();
    CloseConnection();
    StopListening();
}

void PosixScriptedPipe::Serve(Script script)
{
    m_thread = std::thread([this, script]() { Run(script); });
}

void PosixScriptedPipe::Join()
{
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void PosixScriptedPipe::StopListening()
{
    if (m_listenFd >= 0) {
        ::close(m_listenFd);
        m_listenFd = -1;
    }
}

void PosixScriptedPipe::Run(const Script& script)
{
    pollfd watch = {m_listenFd, POLLIN, 0};
    if (::poll(&watch, 1, kPatienceMs) != 1) {
        ADD_FAILURE() << "the program never connected";
        return;
    }
    m_connectionFd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    try {
        script(*this);
    } catch (const ScriptEnded&) {
    }
}

void PosixScriptedPipe::ReadExactly(char* out, std::size_t count)
{
    while (count > 0) {
        pollfd watch = {m_connectionFd, POLLIN, 0};
        if (::poll(&watch, 1, kPatienceMs) != 1) {
            ADD_FAILURE() << "the device waited in vain for the program's bytes";
            throw ScriptEnded();
        }
        const ssize_t got = ::recv(m_connectionFd, out, count, 0);
        if (got <= 0) {
            ADD_FAILURE() << "the program closed the connection";
            throw ScriptEnded();
        }
        out += got;
        count -= static_cast<std::size_t>(got);
    }
}

std::uint32_t PosixScriptedPipe::ReadWord()
{
    unsigned char bytes[4];
    ReadExactly(reinterpret_cast<char*>(bytes), sizeof(bytes));
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

std::string PosixScriptedPipe::ReadBytes(std::size_t count)
{
    std::string bytes(count, '\0');
    ReadExactly(&bytes[0], count);
    return bytes;
}

void PosixScriptedPipe::WriteWord(std::uint32_t value)
{
    const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 24)};
    WriteBytes(std::string(bytes, sizeof(bytes)));
}

void PosixScriptedPipe::WriteBytes(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t sent = ::send(m_connectionFd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (sent <= 0) {
            ADD_FAILURE() << "the device could not answer: " << std::strerror(errno);
            throw ScriptEnded();
        }
        done += static_cast<std::size_t>(sent);
    }
}

void PosixScriptedPipe::CloseConnection()
{
    if (m_connectionFd >= 0) {
        ::close(m_connectionFd);
        m_connectionFd = -1;
    }
}
