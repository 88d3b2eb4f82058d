// A named-pipe server standing in for the device in the transfer tests.
#include "NamedPipeServer.h"

#include <atomic>

namespace {
std::atomic<int> g_serial{0};
}

NamedPipeServer::NamedPipeServer()
    : m_path("\\\\.\\pipe\\trelox-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
             std::to_string(++g_serial))
{
    m_pipe = ::CreateNamedPipeA(m_path.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
    m_event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

NamedPipeServer::~NamedPipeServer()
{
    Close();
    if (m_event != nullptr) {
        ::CloseHandle(m_event);
    }
}

bool NamedPipeServer::Finish(BOOL started, DWORD* transferred, DWORD milliseconds)
{
    if (started) {
        return true;
    }
    if (::GetLastError() != ERROR_IO_PENDING) {
        return false;
    }
    if (::WaitForSingleObject(m_event, milliseconds) != WAIT_OBJECT_0) {
        ::CancelIoEx(m_pipe, &m_overlapped);
        ::GetOverlappedResult(m_pipe, &m_overlapped, transferred, TRUE);
        return false;
    }
    return ::GetOverlappedResult(m_pipe, &m_overlapped, transferred, FALSE) != FALSE;
}

bool NamedPipeServer::AcceptClient()
{
    m_overlapped = OVERLAPPED{};
    m_overlapped.hEvent = m_event;
    ::ResetEvent(m_event);
    if (::ConnectNamedPipe(m_pipe, &m_overlapped)) {
        return true;
    }
    if (::GetLastError() == ERROR_PIPE_CONNECTED) {
        return true;
    }
    DWORD ignored = 0;
    return Finish(FALSE, &ignored, 5000);
}

bool NamedPipeServer::Send(const std::string& bytes)
{
    m_overlapped = OVERLAPPED{};
    m_overlapped.hEvent = m_event;
    ::ResetEvent(m_event);
    DWORD written = 0;
    const BOOL started =
        ::WriteFile(m_pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &m_overlapped);
    return Finish(started, &written, 5000) && written == bytes.size();
}

std::string NamedPipeServer::Receive(DWORD size, DWORD milliseconds)
{
    std::string buffer(size, '\0');
    m_overlapped = OVERLAPPED{};
    m_overlapped.hEvent = m_event;
    ::ResetEvent(m_event);
    DWORD read = 0;
    const BOOL started = ::ReadFile(m_pipe, &buffer[0], size, &read, &m_overlapped);
    if (!Finish(started, &read, milliseconds)) {
        return std::string();
    }
    buffer.resize(read);
    return buffer;
}

void NamedPipeServer::Close()
{
    if (m_pipe != INVALID_HANDLE_VALUE) {
        ::CloseHandle(m_pipe);
        m_pipe = INVALID_HANDLE_VALUE;
    }
}
