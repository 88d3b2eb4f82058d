// Starts and ends the mutex-holding helper process.
#include "MutexHolderProcess.h"

#include "TestPaths.h"

#include <atomic>
#include <vector>

namespace {

std::atomic<int> g_serial{0};

std::string UniqueEventName(const char* purpose)
{
    return "trelox-test-" + std::string(purpose) + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(++g_serial);
}

}  // namespace

MutexHolderProcess::MutexHolderProcess(const std::string& mutexName, Ending ending)
{
    const std::string readyName = UniqueEventName("ready");
    const std::string finishName = UniqueEventName("finish");
    m_ready = ::CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
    m_finish = ::CreateEventA(nullptr, TRUE, FALSE, finishName.c_str());
    const std::string program = SiblingOfTestProgram("trelox_mutex_holder.exe");
    std::string command = "\"" + program + "\" \"" + mutexName + "\" " +
                          (ending == Ending::Release ? "release " : "abandon ") + readyName + " " + finishName;
    std::vector<char> commandLine(command.begin(), command.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &m_process)) {
        return;
    }
    HANDLE waitFor[2] = {m_ready, m_process.hProcess};
    m_holding = ::WaitForMultipleObjects(2, waitFor, FALSE, 20000) == WAIT_OBJECT_0;
}

int MutexHolderProcess::Finish()
{
    if (m_process.hProcess == nullptr || m_finished) {
        return -1;
    }
    m_finished = true;
    ::SetEvent(m_finish);
    if (::WaitForSingleObject(m_process.hProcess, 20000) != WAIT_OBJECT_0) {
        ::TerminateProcess(m_process.hProcess, 99);
        return -1;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    return static_cast<int>(code);
}

MutexHolderProcess::~MutexHolderProcess()
{
    Finish();
    if (m_process.hProcess != nullptr) {
        ::CloseHandle(m_process.hProcess);
        ::CloseHandle(m_process.hThread);
    }
    ::CloseHandle(m_ready);
    ::CloseHandle(m_finish);
}
