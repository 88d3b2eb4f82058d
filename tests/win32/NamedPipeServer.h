// The far end of a pipe for the transfer tests: a named-pipe server that
// plays the device, sending and taking bytes on the test's command.
#pragma once

#include "platform/win32/Win32Api.h"

#include <string>

class NamedPipeServer {
public:
    NamedPipeServer();
    ~NamedPipeServer();
    NamedPipeServer(const NamedPipeServer&) = delete;
    NamedPipeServer& operator=(const NamedPipeServer&) = delete;

    // The path a client opens, "\\.\pipe\...", unique to this server.
    const std::string& Path() const { return m_path; }
    // Completes the connection of the client that opened Path().
    bool AcceptClient();
    // Sends the bytes to the client; true when all of them went.
    bool Send(const std::string& bytes);
    // Takes up to `size` bytes the client sent, waiting at most `milliseconds`.
    std::string Receive(DWORD size, DWORD milliseconds);
    // Ends the server's side, as a device that leaves the bus.
    void Close();

private:
    bool Finish(BOOL started, DWORD* transferred, DWORD milliseconds);

    std::string m_path;
    HANDLE m_pipe = INVALID_HANDLE_VALUE;
    HANDLE m_event = nullptr;
    OVERLAPPED m_overlapped{};
};
