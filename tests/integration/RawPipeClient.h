// A bare client of one pipe socket on the simulated bus, speaking the
// transfer framing directly, so that tests can check a device byte for byte
// and send malformed or pipelined requests that the program never would.
#pragma once

#include <cstdint>
#include <string>

class RawPipeClient {
public:
    RawPipeClient() = default;
    RawPipeClient(const RawPipeClient&) = delete;
    RawPipeClient& operator=(const RawPipeClient&) = delete;
    ~RawPipeClient();

    // Connects to `<bus>/<pipePath>` (through /proc/self/fd when that is
    // longer than 107 bytes). 0, or the connect's errno.
    int Connect(const std::string& bus, const std::string& pipePath);

    // Sends bytes as they are (a frame, or a piece of one).
    bool SendRaw(const std::string& bytes);
    // A write request: length, then the bytes.
    bool SendWrite(const std::string& data);
    // A read request for a buffer of `size` bytes.
    bool SendReadRequest(std::uint32_t size);

    // Each waits up to `timeoutMs` for a whole completion; false when none came.
    bool ReceiveWriteCompletion(int timeoutMs, std::uint32_t* status, std::uint32_t* count);
    bool ReceiveReadCompletion(int timeoutMs, std::uint32_t* status, std::string* data);
    // Whether the device closed the connection within `timeoutMs`.
    bool WaitForClose(int timeoutMs);

    static std::string Word(std::uint32_t value);

private:
    // Reads exactly `count` bytes within `timeoutMs`; false on time-out or close.
    bool ReceiveExactly(std::size_t count, int timeoutMs, std::string* bytes);

    int m_fd = -1;
    std::string m_pending;
};
