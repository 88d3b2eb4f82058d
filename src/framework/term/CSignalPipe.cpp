// Ctrl-C and SIGTERM for the terminal backend, through a self-pipe.
#include "framework/term/CSignalPipe.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
volatile sig_atomic_t g_writeEnd = -1;

// The byte a signal writes: which one it was.
constexpr char kInterruptByte = 1;
constexpr char kTerminateByte = 2;
constexpr int kCaught[] = {SIGINT, SIGTERM};

void OnInterrupt(int signalNumber)
{
    const int savedErrno = errno;
    const char byte = signalNumber == SIGTERM ? kTerminateByte : kInterruptByte;
    if (g_writeEnd >= 0) {
        // A full pipe already says that an interrupt waits.
        [[maybe_unused]] const ssize_t written = write(g_writeEnd, &byte, 1);
    }
    errno = savedErrno;
}

bool MakeNonBlocking(int descriptor)
{
    const int flags = fcntl(descriptor, F_GETFL);
    return flags >= 0 && fcntl(descriptor, F_SETFL, flags | O_NONBLOCK) == 0 &&
           fcntl(descriptor, F_SETFD, FD_CLOEXEC) == 0;
}
}  // namespace

CSignalPipe::CSignalPipe()
{
    int ends[2];
    if (pipe(ends) != 0) {
        return;
    }
    if (!MakeNonBlocking(ends[0]) || !MakeNonBlocking(ends[1])) {
        close(ends[0]);
        close(ends[1]);
        return;
    }
    m_readEnd = ends[0];
    g_writeEnd = ends[1];
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kCaught) {
        sigaction(signalNumber, &action, nullptr);
    }
}

CSignalPipe::~CSignalPipe()
{
    if (m_readEnd < 0) {
        return;
    }
    for (const int signalNumber : kCaught) {
        signal(signalNumber, SIG_DFL);
    }
    close(g_writeEnd);
    g_writeEnd = -1;
    close(m_readEnd);
}

int CSignalPipe::TakeInterrupts()
{
    Collect();
    const int count = m_pending;
    m_pending = 0;
    return count;
}

bool CSignalPipe::Terminated()
{
    Collect();
    return m_terminated;
}

void CSignalPipe::Collect()
{
    if (m_readEnd < 0) {
        return;
    }
    char buffer[64];
    for (;;) {
        const ssize_t got = read(m_readEnd, buffer, sizeof buffer);
        if (got > 0) {
            m_pending += static_cast<int>(got);
            for (ssize_t index = 0; index < got; ++index) {
                m_terminated = m_terminated || buffer[index] == kTerminateByte;
            }
            continue;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        return;
    }
}
