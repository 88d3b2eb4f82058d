// One program's connection to a pipe of a simulated device: the framed
// requests it sends and the completions the device sends back.
#pragma once

#include <cstdint>
#include <string>

#include "DeviceFirmware.h"

enum class PipeKind { Output, Input };  // "\PIPE02" (to the device), "\PIPE03" (from it)

// A write completion held back by a stall, sent late.
struct HeldWrite {
    bool active = false;
    std::uint32_t status = 0;
    std::uint32_t count = 0;
    long dueMs = -1;  // -1: only when the next transfer arrives
    // The write's reply, queued only when the completion goes out on time
    // (a write given up by the program and then completed is not acted on).
    bool hasReply = false;
    DeviceReply reply;
};

class PipeConnection {
public:
    PipeConnection(int fd, PipeKind kind);
    PipeConnection(const PipeConnection&) = delete;
    PipeConnection& operator=(const PipeConnection&) = delete;
    ~PipeConnection();

    int Fd() const { return m_fd; }
    PipeKind Kind() const { return m_kind; }
    const char* PipeName() const { return m_kind == PipeKind::Output ? "PIPE02" : "PIPE03"; }

    // Takes what the peer has sent. False when it closed the connection, the
    // socket failed, or a request announced an impossible length.
    bool Receive();
    // The next complete write request's bytes (output pipe) or read request's
    // buffer size (input pipe); false while none is complete.
    bool NextWrite(std::string* data);
    bool NextRead(std::uint32_t* size);

    void SendWriteCompletion(std::uint32_t status, std::uint32_t count);
    void SendReadCompletion(std::uint32_t status, const std::string& data);
    // Sends what is queued; false when the socket failed.
    bool Flush();
    bool WantsOutput() const { return !m_output.empty(); }
    bool Failed() const { return m_failed; }

    HeldWrite& Held() { return m_held; }

private:
    void Queue(const std::string& bytes);

    int m_fd;
    PipeKind m_kind;
    std::string m_input;
    std::string m_output;
    bool m_failed = false;
    HeldWrite m_held;
};
