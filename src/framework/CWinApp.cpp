// The program's single application object and its entry.
#include "framework/CWinApp.h"

#include <string>

#include "framework/CCommandLineInfo.h"
#include "framework/CWindowSystem.h"

namespace {
CWinApp* g_application = nullptr;

// "C:\dir\Trelox.exe" and "/usr/bin/trelox" give "Trelox" and "trelox".
CString TitleFromExecutable(const char* path)
{
    const std::string full = path != nullptr ? path : "";
    const std::size_t slash = full.find_last_of("/\\");
    std::string name = slash == std::string::npos ? full : full.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return CString(name);
}
}  // namespace

CWinApp::CWinApp(const char* appName)
{
    if (appName != nullptr) {
        m_strAppName = appName;
        m_pszAppName = m_strAppName.GetString();
    }
    g_application = this;
}

CWinApp::~CWinApp()
{
    if (g_application == this) {
        g_application = nullptr;
    }
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return m_nExitCode;
}

void CWinApp::SetCommandLine(int argc, char* argv[])
{
    m_argc = argc;
    m_argv = argv;
    if (m_pszAppName != nullptr) {
        return;
    }
    // The file itself where the system tells it: on Windows the name typed
    // to start the program ("trelox") may differ from the file ("Trelox.exe").
    std::string module;
    if (Platform().GetModuleFileName(&module)) {
        m_strAppName = TitleFromExecutable(module.c_str());
    }
    if (m_strAppName.IsEmpty() && argc > 0 && argv != nullptr && argv[0] != nullptr) {
        m_strAppName = TitleFromExecutable(argv[0]);
    }
    if (!m_strAppName.IsEmpty()) {
        m_pszAppName = m_strAppName.GetString();
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    AfxParseCommandLine(info, m_argc, m_argv);
}

CWinApp* AfxGetApp()
{
    return g_application;
}

CString AfxGetAppTitle()
{
    // Only code that runs before the application object (or without one, as
    // in tests of single classes) sees the fallback.
    const CWinApp* app = AfxGetApp();
    if (app == nullptr || app->m_pszAppName == nullptr) {
        return CString("Trelox");
    }
    return CString(app->m_pszAppName);
}

CWnd* AfxGetMainWnd()
{
    const CWinApp* app = AfxGetApp();
    return app != nullptr ? app->m_pMainWnd : nullptr;
}

int AfxRunApplicationWith(CWindowSystem& windows, CPlatform& platform, int argc, char* argv[])
{
    SetWindowSystem(&windows);
    SetPlatform(&platform);
    CWinApp* app = AfxGetApp();
    int exitCode = 1;
    if (app != nullptr) {
        app->SetCommandLine(argc, argv);
        // FALSE from start-up ends the run as TRUE does: the program has no
        // message loop of the application's own.
        app->InitInstance();
        exitCode = app->ExitInstance();
    }
    return exitCode;
}

void AfxPumpWaitingMessages()
{
    WindowSystem().PumpWaitingMessages();
}

void AfxShowClosingLine(const CString& text)
{
    WindowSystem().ShowClosingLine(text);
}

BOOL AfxInitCommonControls(DWORD classes)
{
    WindowSystem().InitCommonControls(classes);
    return TRUE;
}
