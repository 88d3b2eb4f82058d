// The bare pipe client: connect, framed requests, completions with time-outs.
#include "RawPipeClient.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::uint32_t WordAt(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

long NowMs()
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count());
}

}  // namespace

RawPipeClient::~RawPipeClient()
{
    if (m_fd >= 0) close(m_fd);
}

int RawPipeClient::Connect(const std::string& bus, const std::string& pipePath)
{
    int directory = -1;
    std::string path = bus + "/" + pipePath;
    if (path.size() > 107) {
        directory = open(bus.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        path = "/proc/self/fd/" + std::to_string(directory) + "/" + pipePath;
    }
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), std::min(path.size(), sizeof address.sun_path - 1));
    m_fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int error = 0;
    if (connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        error = errno;
        close(m_fd);
        m_fd = -1;
    }
    if (directory >= 0) close(directory);
    return error;
}

std::string RawPipeClient::Word(std::uint32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

bool RawPipeClient::SendRaw(const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t now = send(m_fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (now < 0 && errno == EINTR) continue;
        if (now <= 0) return false;
        sent += static_cast<std::size_t>(now);
    }
    return true;
}

bool RawPipeClient::SendWrite(const std::string& data)
{
    return SendRaw(Word(static_cast<std::uint32_t>(data.size())) + data);
}

bool RawPipeClient::SendReadRequest(std::uint32_t size)
{
    return SendRaw(Word(size));
}

bool RawPipeClient::ReceiveExactly(std::size_t count, int timeoutMs, std::string* bytes)
{
    const long deadline = NowMs() + timeoutMs;
    while (m_pending.size() < count) {
        long left = deadline - NowMs();
        if (left < 0) return false;
        pollfd entry = {m_fd, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(left)) <= 0) continue;
        char buffer[4096];
        ssize_t got = recv(m_fd, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        m_pending.append(buffer, static_cast<std::size_t>(got));
    }
    *bytes = m_pending.substr(0, count);
    m_pending.erase(0, count);
    return true;
}

bool RawPipeClient::ReceiveWriteCompletion(int timeoutMs, std::uint32_t* status, std::uint32_t* count)
{
    std::string words;
    if (!ReceiveExactly(8, timeoutMs, &words)) return false;
    *status = WordAt(words, 0);
    *count = WordAt(words, 4);
    return true;
}

bool RawPipeClient::ReceiveReadCompletion(int timeoutMs, std::uint32_t* status, std::string* data)
{
    std::string words;
    if (!ReceiveExactly(8, timeoutMs, &words)) return false;
    *status = WordAt(words, 0);
    return ReceiveExactly(WordAt(words, 4), timeoutMs, data);
}

bool RawPipeClient::WaitForClose(int timeoutMs)
{
    const long deadline = NowMs() + timeoutMs;
    for (;;) {
        long left = deadline - NowMs();
        if (left < 0) return false;
        pollfd entry = {m_fd, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(left)) <= 0) continue;
        char buffer[256];
        ssize_t got = recv(m_fd, buffer, sizeof buffer, 0);
        if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN)) return true;
        if (got > 0) m_pending.append(buffer, static_cast<std::size_t>(got));
    }
}
