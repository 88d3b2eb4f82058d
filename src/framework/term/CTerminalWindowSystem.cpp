// The window system of the Linux build.
#include "framework/term/CTerminalWindowSystem.h"

#include <cerrno>
#include <climits>
#include <iostream>
#include <poll.h>
#include <string>
#include <unistd.h>

#include "framework/CLineRenderer.h"
#include "framework/CMessageBoxAnswers.h"
#include "framework/term/CRawTerminalMode.h"
#include "platform/CPlatform.h"

namespace {
int PollTimeout(DWORD milliseconds)
{
    return milliseconds == INFINITE || milliseconds > static_cast<DWORD>(INT_MAX) ? -1
                                                                                 : static_cast<int>(milliseconds);
}

// A full path for what the user typed: relative names count from here.
CString FullPath(const std::string& typed)
{
    if (!typed.empty() && typed[0] == '/') {
        return CString(typed);
    }
    std::string directory(PATH_MAX, '\0');
    if (getcwd(&directory[0], directory.size()) == nullptr) {
        return CString(typed);
    }
    directory.resize(directory.find('\0'));
    return CString(directory + (directory.back() == '/' ? "" : "/") + typed);
}
}  // namespace

CTerminalWindowSystem::CTerminalWindowSystem()
    : m_renderer(std::make_unique<CLineRenderer>(std::cout, isatty(STDOUT_FILENO) != 0)),
      m_keysFromTerminal(isatty(STDIN_FILENO) != 0)
{
}

CTerminalWindowSystem::~CTerminalWindowSystem() = default;

void CTerminalWindowSystem::SetRenderer(std::unique_ptr<CTextRenderer> renderer)
{
    m_renderer = std::move(renderer);
}

void CTerminalWindowSystem::ShowClosingLine(const CString& text)
{
    m_renderer->ShowClosingLine(text);
}

void CTerminalWindowSystem::PollInput()
{
    for (int count = m_interrupts.TakeInterrupts(); count > 0; --count) {
        // Taken when its turn comes, for the dialog in front at that time.
        QueueInput([this] { PressButton(ActiveDialog(), IDCANCEL); });
    }
}

bool CTerminalWindowSystem::WaitForInput(DWORD milliseconds)
{
    pollfd watched[2];
    nfds_t count = 0;
    if (m_interrupts.Descriptor() >= 0) {
        watched[count++] = pollfd{m_interrupts.Descriptor(), POLLIN, 0};
    }
    const int notices = Platform().DeviceNoticeDescriptor();
    if (notices >= 0) {
        watched[count++] = pollfd{notices, POLLIN, 0};
    }
    // Interrupted by a signal or not, the caller looks again at everything.
    poll(watched, count, PollTimeout(milliseconds));
    return true;
}

void CTerminalWindowSystem::Present()
{
    // Under a message box the dialogs wait; they show again after it.
    if (!m_inMessageBox) {
        m_renderer->ShowDialogs(*this, VisibleDialogs());
    }
}

void CTerminalWindowSystem::OnWindowDestroying(const WindowState& window)
{
    if (window.isDialog) {
        m_renderer->DialogGone(*this, window);
    }
}

int CTerminalWindowSystem::WaitForKey()
{
    for (;;) {
        // The program's timers and device notices go on while a box waits,
        // as under any modal loop.
        while (DispatchOneWaiting()) {
        }
        pollfd watched[2];
        nfds_t count = 0;
        watched[count++] = pollfd{STDIN_FILENO, POLLIN, 0};
        const int notices = Platform().DeviceNoticeDescriptor();
        if (notices >= 0) {
            watched[count++] = pollfd{notices, POLLIN, 0};
        }
        if (poll(watched, count, PollTimeout(TimeUntilNextTimer())) < 0 && errno != EINTR) {
            return -1;
        }
        if ((watched[0].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
            continue;
        }
        unsigned char key = 0;
        const ssize_t got = read(STDIN_FILENO, &key, 1);
        if (got == 1) {
            return key;
        }
        if (got == 0 || errno != EINTR) {
            return -1;
        }
    }
}

int CTerminalWindowSystem::AskMessageBox(WindowHandle owner, const CString& text, const CString& caption, UINT type)
{
    (void)owner;
    m_inMessageBox = true;
    m_renderer->ShowMessageBox(caption, text, type, m_keysFromTerminal);
    int answer = 0;
    if (m_keysFromTerminal) {
        CRawTerminalMode raw(STDIN_FILENO);
        while (answer == 0) {
            const int key = WaitForKey();
            answer = key < 0 ? CMessageBoxAnswers::Unattended(type) : CMessageBoxAnswers::FromKey(type, key);
        }
    } else {
        answer = CMessageBoxAnswers::Unattended(type);
    }
    m_renderer->ShowAnswer(answer);
    m_inMessageBox = false;
    return answer;
}

bool CTerminalWindowSystem::AskOpenFileName(WindowHandle owner, const CString& initialFile, DWORD flags,
                                            CString* path)
{
    (void)owner;
    (void)flags;
    m_renderer->ShowFilePrompt(initialFile);
    std::string typed;
    if (!std::getline(std::cin, typed)) {
        std::cin.clear();
        std::cout << '\n';
        return false;
    }
    if (typed.empty()) {
        if (initialFile.IsEmpty()) {
            return false;
        }
        typed = initialFile.Bytes();
    }
    *path = FullPath(typed);
    return true;
}

CWindowSystem& BuildWindowSystem()
{
    // Never destroyed: windows of static objects still close at exit.
    static CTerminalWindowSystem* const windows = new CTerminalWindowSystem();
    return *windows;
}
