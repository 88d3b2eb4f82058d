// Puts the terminal back when the process ends in full-screen mode.
#include "framework/term/CTerminalRestore.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <termios.h>
#include <unistd.h>

namespace {
// Not SIGTERM: the window system takes it and ends the run in order.
const int kSignals[] = {SIGHUP, SIGQUIT, SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL};
constexpr std::size_t kSignalCount = sizeof kSignals / sizeof kSignals[0];

struct termios g_shellMode;
int g_modeOf = -1;
char g_leaveScreen[512];
std::size_t g_leaveLength = 0;
volatile sig_atomic_t g_armed = 0;
struct sigaction g_earlier[kSignalCount];

void RestoreNow()
{
    if (!g_armed) {
        return;
    }
    g_armed = 0;
    if (g_leaveLength > 0) {
        [[maybe_unused]] const ssize_t written = write(STDOUT_FILENO, g_leaveScreen, g_leaveLength);
    }
    if (g_modeOf >= 0) {
        tcsetattr(g_modeOf, TCSANOW, &g_shellMode);
    }
}

void OnEndingSignal(int signalNumber)
{
    RestoreNow();
    // The earlier course of the signal: its handler, or the default ending.
    for (std::size_t index = 0; index < kSignalCount; ++index) {
        if (kSignals[index] == signalNumber) {
            sigaction(signalNumber, &g_earlier[index], nullptr);
        }
    }
    raise(signalNumber);
}

void RestoreAtExit()
{
    RestoreNow();
}
}  // namespace

void CTerminalRestore::Prepare(int descriptor)
{
    if (tcgetattr(descriptor, &g_shellMode) == 0) {
        g_modeOf = descriptor;
    }
    for (std::size_t index = 0; index < kSignalCount; ++index) {
        sigaction(kSignals[index], nullptr, &g_earlier[index]);
    }
}

void CTerminalRestore::Arm(const std::string& leaveScreen)
{
    static bool exitHandlerInstalled = false;
    if (!exitHandlerInstalled) {
        std::atexit(RestoreAtExit);
        exitHandlerInstalled = true;
    }
    g_leaveLength = std::min(leaveScreen.size(), sizeof g_leaveScreen);
    std::memcpy(g_leaveScreen, leaveScreen.data(), g_leaveLength);
    for (std::size_t index = 0; index < kSignalCount; ++index) {
        struct sigaction action {};
        action.sa_handler = OnEndingSignal;
        sigemptyset(&action.sa_mask);
        sigaction(kSignals[index], &action, nullptr);
    }
    g_armed = 1;
}

void CTerminalRestore::Disarm()
{
    g_armed = 0;
    for (std::size_t index = 0; index < kSignalCount; ++index) {
        sigaction(kSignals[index], &g_earlier[index], nullptr);
    }
}
