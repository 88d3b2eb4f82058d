// Trelox.exe as the end-to-end tests start it.
#include "TreloxProcess.h"

#include <vector>

#include "TestPaths.h"

TreloxProcess::TreloxProcess(const std::string& arguments) : TreloxProcess(TreloxExecutable(), arguments) {}

TreloxProcess::TreloxProcess(const std::string& program, const std::string& arguments)
{
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessA(program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &info)) {
        ::CloseHandle(info.hThread);
        m_process = info.hProcess;
        m_id = info.dwProcessId;
    }
}

TreloxProcess::~TreloxProcess()
{
    if (m_process == nullptr) {
        return;
    }
    if (::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_process, 99);
        ::WaitForSingleObject(m_process, 5000);
    }
    ::CloseHandle(m_process);
}

bool TreloxProcess::WaitForExit(DWORD timeoutMs)
{
    return m_process != nullptr && ::WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0;
}

DWORD TreloxProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (m_process != nullptr) {
        ::GetExitCodeProcess(m_process, &code);
    }
    return code;
}

std::string TreloxExecutable()
{
    return SystemPathOf(TRELOX_EXE_PATH);
}
