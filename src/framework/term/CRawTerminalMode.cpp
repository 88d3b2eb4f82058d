// The terminal's raw mode while a message box waits for one key.
#include "framework/term/CRawTerminalMode.h"

#include <csignal>
#include <cstdlib>
#include <initializer_list>
#include <termios.h>
#include <unistd.h>

namespace {
struct termios g_saved;
volatile sig_atomic_t g_savedFor = -1;  // the descriptor whose mode is saved

void RestoreSaved()
{
    if (g_savedFor >= 0) {
        tcsetattr(g_savedFor, TCSANOW, &g_saved);
        g_savedFor = -1;
    }
}

void RestoreAndDie(int signalNumber)
{
    RestoreSaved();
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

void InstallRestorers()
{
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    std::atexit(RestoreSaved);
    // SIGTERM is not among them: the window system ends the run in order.
    for (const int signalNumber : {SIGHUP, SIGQUIT}) {
        struct sigaction action {};
        action.sa_handler = RestoreAndDie;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        sigaction(signalNumber, &action, nullptr);
    }
}
}  // namespace

CRawTerminalMode::CRawTerminalMode(int descriptor) : m_descriptor(descriptor)
{
    struct termios mode;
    if (tcgetattr(descriptor, &mode) != 0) {
        return;
    }
    InstallRestorers();
    g_saved = mode;
    g_savedFor = descriptor;
    mode.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | ISIG | IEXTEN));
    mode.c_iflag &= static_cast<tcflag_t>(~(IXON | ICRNL));
    mode.c_cc[VMIN] = 1;
    mode.c_cc[VTIME] = 0;
    m_active = tcsetattr(descriptor, TCSANOW, &mode) == 0;
    if (!m_active) {
        g_savedFor = -1;
    }
}

CRawTerminalMode::~CRawTerminalMode()
{
    if (m_active && g_savedFor == m_descriptor) {
        RestoreSaved();
    }
}
