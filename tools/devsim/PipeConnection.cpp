// Framing of the bus transfers: little-endian 32-bit words and data bytes.
#include "PipeConnection.h"

#include <cerrno>

#include <sys/socket.h>
#include <unistd.h>

namespace {

// Larger write requests are taken as a broken peer rather than buffered.
const std::uint32_t kMaxWriteLength = 64u * 1024u * 1024u;

std::uint32_t Word(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

std::string WordBytes(std::uint32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

}  // namespace

PipeConnection::PipeConnection(int fd, PipeKind kind) : m_fd(fd), m_kind(kind) {}

PipeConnection::~PipeConnection()
{
    close(m_fd);
}

bool PipeConnection::Receive()
{
    char buffer[65536];
    for (;;) {
        ssize_t got = recv(m_fd, buffer, sizeof buffer, 0);
        if (got > 0) {
            m_input.append(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        if (got < 0 && errno == EINTR) continue;
        return false;  // closed by the peer, or failed
    }
    if (m_kind == PipeKind::Output && m_input.size() >= 4 && Word(m_input, 0) > kMaxWriteLength) return false;
    return true;
}

bool PipeConnection::NextWrite(std::string* data)
{
    if (m_input.size() < 4) return false;
    std::uint32_t length = Word(m_input, 0);
    if (m_input.size() - 4 < length) return false;
    *data = m_input.substr(4, length);
    m_input.erase(0, 4 + static_cast<std::size_t>(length));
    return true;
}

bool PipeConnection::NextRead(std::uint32_t* size)
{
    if (m_input.size() < 4) return false;
    *size = Word(m_input, 0);
    m_input.erase(0, 4);
    return true;
}

void PipeConnection::SendWriteCompletion(std::uint32_t status, std::uint32_t count)
{
    Queue(WordBytes(status) + WordBytes(count));
}

void PipeConnection::SendReadCompletion(std::uint32_t status, const std::string& data)
{
    Queue(WordBytes(status) + WordBytes(static_cast<std::uint32_t>(data.size())) + data);
}

void PipeConnection::Queue(const std::string& bytes)
{
    m_output += bytes;
    Flush();
}

bool PipeConnection::Flush()
{
    while (!m_output.empty() && !m_failed) {
        ssize_t sent = send(m_fd, m_output.data(), m_output.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            m_output.erase(0, static_cast<std::size_t>(sent));
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        } else {
            m_failed = true;
        }
    }
    return !m_failed;
}
