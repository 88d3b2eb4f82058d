// The program's single application object: its title, its main window, its
// start-up, and the entry the program's main() calls.
#pragma once

#include "framework/AfxTypes.h"
#include "framework/CCmdTarget.h"
#include "framework/CString.h"
#include "framework/CWindowSystem.h"
#include "platform/CPlatform.h"

class CCommandLineInfo;
class CWnd;

class CWinApp : public CCmdTarget {
public:
    // Without a name the title becomes the executable's file name without
    // its extension, once the entry has seen the command line.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Start-up; FALSE ends the run at once (no message loop of the
    // application's own follows).
    virtual BOOL InitInstance();
    // The process's exit status; SetExitCode chooses it.
    virtual int ExitInstance();

    // Hands the command line's arguments to `info`, one at a time.
    void ParseCommandLine(CCommandLineInfo& info);

    void SetExitCode(int exitCode) { m_nExitCode = exitCode; }
    int GetExitCode() const { return m_nExitCode; }

    // The title shown as every message box's caption.
    const char* m_pszAppName = nullptr;
    CWnd* m_pMainWnd = nullptr;

    // Called by the entry: the arguments and, when no name was given, the
    // title from the executable's file as the platform tells it, else from
    // the name the program was started with (argv[0]).
    void SetCommandLine(int argc, char* argv[]);

private:
    CString m_strAppName;
    int m_argc = 0;
    char** m_argv = nullptr;
    int m_nExitCode = 0;
};

// The application object; null before it is constructed and after its end.
CWinApp* AfxGetApp();
// The title of the program: the application's, or "Trelox" before there is one.
CString AfxGetAppTitle();
// The application's main window, or null.
CWnd* AfxGetMainWnd();

// Runs the application object's start-up on `windows` and `platform`
// (installed for the run) and returns the exit status it chose.
int AfxRunApplicationWith(CWindowSystem& windows, CPlatform& platform, int argc, char* argv[]);

// The entry the program's main() calls, on the build's backends. Defined in
// the header so that the program's own object names the backends, and the
// linker takes them ahead of the framework and platform that call them.
inline int AfxRunApplication(int argc, char* argv[])
{
    return AfxRunApplicationWith(BuildWindowSystem(), BuildPlatform(), argc, argv);
}

// Takes every window message waiting now, translates and dispatches it, and
// returns when none is waiting. No dialog-keyboard processing.
void AfxPumpWaitingMessages();

// Leaves `text` as the run's closing line where the window system shows one.
void AfxShowClosingLine(const CString& text);

// Registers the common control classes `classes` (ICC_...) for the dialogs.
BOOL AfxInitCommonControls(DWORD classes);
