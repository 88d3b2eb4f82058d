// The window system of the Linux build.
#include "framework/term/CTerminalWindowSystem.h"

#include <cerrno>
#include <climits>
#include <iostream>
#include <memory>
#include <poll.h>
#include <string>
#include <unistd.h>

#include "framework/screen/CLineRenderer.h"
#include "framework/screen/CMessageBoxAnswers.h"
#include "framework/screen/CScreenFilePrompt.h"
#include "framework/screen/CScreenMessageBox.h"
#include "framework/screen/ScreenKey.h"
#include "framework/term/CRawTerminalMode.h"
#include "platform/CPlatform.h"

namespace {
int PollTimeout(DWORD milliseconds)
{
    return milliseconds == INFINITE || milliseconds > static_cast<DWORD>(INT_MAX) ? -1
                                                                                 : static_cast<int>(milliseconds);
}

// A terminal that has gone sends no more keys.
bool KeysGone(short keyEvents)
{
    return (keyEvents & (POLLHUP | POLLERR | POLLNVAL)) != 0 && (keyEvents & POLLIN) == 0;
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

void CTerminalWindowSystem::ShowClosingLine(const CString& text)
{
    m_renderer->ShowClosingLine(text);
}

void CTerminalWindowSystem::PollInput()
{
    for (int count = m_interrupts.TakeInterrupts(); count > 0; --count) {
        // Taken when its turn comes, for the dialog in front at that time.
        QueueInput([this] { CarryOut(InputRequest::PressButton(ActiveDialog(), IDCANCEL)); });
    }
    if (!m_fullScreen) {
        return;
    }
    for (int key = m_fullScreen->ReadKey(); key != skNone; key = m_fullScreen->ReadKey()) {
        if (key != skResize) {  // a new size shows with the next paint
            QueueInput([this, key] {
                if (m_fullScreen) {
                    CarryOut(m_fullScreen->HandleKey(key));
                }
            });
        }
    }
}

bool CTerminalWindowSystem::MainWindowShown() const
{
    for (const WindowState* dialog : VisibleDialogs()) {
        if ((dialog->flags & dlgAppWindow) != 0) {
            return true;
        }
    }
    return false;
}

void CTerminalWindowSystem::UpdateScreenMode()
{
    if (m_fullScreen || m_fullScreenRefused || !MainWindowShown()) {
        return;
    }
    m_fullScreen = std::make_unique<CFullScreenFrontEnd>(View());
    if (!m_fullScreen->Start()) {
        m_fullScreen.reset();
        m_fullScreenRefused = true;
        std::cerr << "Der Dialog braucht ein Terminal als Ein- und Ausgabe." << std::endl;
    }
}

bool CTerminalWindowSystem::WaitForInput(DWORD milliseconds)
{
    if (m_fullScreenRefused && MainWindowShown()) {
        return false;  // nobody can work the main window
    }
    short keyEvents = 0;
    // Interrupted by a signal or not, the caller looks again at everything.
    PollSources(m_fullScreen != nullptr, true, PollTimeout(milliseconds), &keyEvents);
    // Without keys the loop gives up.
    return !KeysGone(keyEvents);
}

int CTerminalWindowSystem::PollSources(bool watchKeys, bool watchInterrupts, int timeoutMs, short* keyEvents)
{
    pollfd watched[3];
    nfds_t count = 0;
    if (watchKeys) {
        watched[count++] = pollfd{STDIN_FILENO, POLLIN, 0};
    }
    if (watchInterrupts && m_interrupts.Descriptor() >= 0) {
        watched[count++] = pollfd{m_interrupts.Descriptor(), POLLIN, 0};
    }
    const int notices = Platform().DeviceNoticeDescriptor();
    if (notices >= 0) {
        watched[count++] = pollfd{notices, POLLIN, 0};
    }
    const int result = poll(watched, count, timeoutMs);
    *keyEvents = 0;
    if (watchKeys && result >= 0) {
        *keyEvents = watched[0].revents;
    }
    return result;
}

void CTerminalWindowSystem::Present()
{
    UpdateScreenMode();
    if (m_fullScreen) {
        CarryOut(m_fullScreen->FocusToRestore());
        // What the focus reports may have ended the full screen.
        if (m_fullScreen) {
            m_fullScreen->Paint();
        }
        return;
    }
    // Under a message box the dialogs wait; they show again after it. A main
    // window nobody can work is not shown at all.
    if (!m_inMessageBox && !(m_fullScreenRefused && MainWindowShown())) {
        m_renderer->ShowDialogs(View(), VisibleDialogs());
    }
}

void CTerminalWindowSystem::OnWindowDestroying(const WindowState& window)
{
    if (!window.isDialog) {
        return;
    }
    if ((window.flags & dlgAppWindow) != 0) {
        // The main window goes: the terminal is the shell's again.
        m_fullScreen.reset();
    }
    if (!m_fullScreen) {
        m_renderer->DialogGone(View(), window);
    }
}

void CTerminalWindowSystem::BeginWaitCursor()
{
    CPortableWindowSystem::BeginWaitCursor();
    Present();
}

void CTerminalWindowSystem::EndWaitCursor()
{
    CPortableWindowSystem::EndWaitCursor();
    Present();
}

int CTerminalWindowSystem::WaitForScreenKey()
{
    for (;;) {
        const int key = m_fullScreen->ReadKey();
        if (key == skResize) {
            m_fullScreen->Paint();
            continue;
        }
        if (key != skNone) {
            return key;
        }
        if (m_interrupts.TakeInterrupts() > 0) {
            return skInterrupt;
        }
        // The program's timers and device notices go on while a box waits.
        while (DispatchOneWaiting()) {
        }
        if (!m_fullScreen) {
            return -1;
        }
        m_fullScreen->Paint();
        short keyEvents = 0;
        if (PollSources(true, true, PollTimeout(TimeUntilNextTimer()), &keyEvents) < 0 && errno != EINTR) {
            return -1;
        }
        if (KeysGone(keyEvents)) {
            return -1;
        }
    }
}

int CTerminalWindowSystem::AskMessageBoxOnScreen(const CString& text, const CString& caption, UINT type)
{
    CScreenMessageBox box(caption, text, type);
    m_fullScreen->SetMessageBox(&box);
    int answer = 0;
    while (answer == 0) {
        m_fullScreen->Paint();
        const int key = WaitForScreenKey();
        answer = key < 0 ? CMessageBoxAnswers::Unattended(type) : box.HandleKey(key);
    }
    if (m_fullScreen) {
        m_fullScreen->SetMessageBox(nullptr);
    }
    return answer;
}

bool CTerminalWindowSystem::AskOpenFileNameOnScreen(const CString& initialFile, CString* path)
{
    // On the heap: the screen may end while the prompt is open, and then it
    // is gone with the pointer it keeps.
    auto prompt = std::make_unique<CScreenFilePrompt>(initialFile);
    m_fullScreen->SetFilePrompt(prompt.get());
    CScreenFilePrompt::Outcome outcome = CScreenFilePrompt::Outcome::Waiting;
    while (outcome == CScreenFilePrompt::Outcome::Waiting) {
        m_fullScreen->Paint();
        const int key = WaitForScreenKey();
        outcome = key < 0 ? CScreenFilePrompt::Outcome::Cancelled : prompt->HandleKey(key);
    }
    if (m_fullScreen) {
        m_fullScreen->SetFilePrompt(nullptr);
    }
    if (outcome != CScreenFilePrompt::Outcome::Chosen) {
        return false;
    }
    *path = FullPath(prompt->Path().Bytes());
    return true;
}

int CTerminalWindowSystem::WaitForKey()
{
    for (;;) {
        // The program's timers and device notices go on while a box waits,
        // as under any modal loop.
        while (DispatchOneWaiting()) {
        }
        // The terminal is raw: Ctrl-C comes as a key. A SIGINT from elsewhere
        // is taken after the box.
        short keyEvents = 0;
        if (PollSources(true, false, PollTimeout(TimeUntilNextTimer()), &keyEvents) < 0 && errno != EINTR) {
            return -1;
        }
        if ((keyEvents & (POLLIN | POLLHUP | POLLERR)) == 0) {
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
    if (m_fullScreen) {
        return AskMessageBoxOnScreen(text, caption, type);
    }
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
    if (m_fullScreen) {
        return AskOpenFileNameOnScreen(initialFile, path);
    }
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
