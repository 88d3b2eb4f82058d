// The device end of one pipe of the simulated bus, for tests of the POSIX
// platform: it listens on the pipe's socket (through /proc/self/fd when the
// address is long) and runs a script on its own thread with the connection
// the program opens. Written from the bus's rules alone, so that it checks the
// platform rather than mirrors it.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

class PosixScriptedPipe {
public:
    using Script = std::function<void(PosixScriptedPipe& device)>;

    // Binds and listens on `<busPath>/<pipePath>`; the bus folder must exist.
    PosixScriptedPipe(const std::string& busPath, const std::string& pipePath);
    ~PosixScriptedPipe();
    PosixScriptedPipe(const PosixScriptedPipe&) = delete;
    PosixScriptedPipe& operator=(const PosixScriptedPipe&) = delete;

    // Accepts one connection on a thread and runs `script` with it.
    void Serve(Script script);
    // Waits for the script to end.
    void Join();
    // Stops listening but leaves the socket file: connecting is refused.
    void StopListening();

    // ---- For the script. A read that times out or meets the end fails the
    // test and ends the script.
    std::uint32_t ReadWord();
    std::string ReadBytes(std::size_t count);
    void WriteWord(std::uint32_t value);
    void WriteBytes(const std::string& bytes);
    // The device goes: its end of the connection closes.
    void CloseConnection();

private:
    struct ScriptEnded {};

    void Run(const Script& script);
    void ReadExactly(char* out, std::size_t count);

    int m_listenFd = -1;
    std::atomic<int> m_connectionFd{-1};
    std::thread m_thread;
};
