// Starting, waiting for and ending a test's child process.
#include "ChildProcess.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TempDirectory.h"

namespace {

const int kPollMs = 5;

long NowMs()
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count());
}

}  // namespace

ChildProcess::ChildProcess(std::string executable, Environment environment, std::string outputPath)
    : m_executable(std::move(executable)), m_environment(std::move(environment)), m_outputPath(std::move(outputPath))
{
}

ChildProcess::~ChildProcess()
{
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        Collect(true);
    }
}

bool ChildProcess::Start(const std::vector<std::string>& arguments)
{
    std::vector<std::string> all = {m_executable};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) argv.push_back(&argument[0]);
    argv.push_back(nullptr);
    m_exitStatus = -1;
    m_elapsedMs = m_maxResidentKiB = -1;
    m_startMs = NowMs();
    m_pid = fork();
    if (m_pid == 0) ExecInChild(argv);
    return m_pid > 0;
}

void ChildProcess::ExecInChild(std::vector<char*>& argv) const
{
    const int input = open("/dev/null", O_RDONLY);
    if (input < 0) _exit(126);
    dup2(input, STDIN_FILENO);
    if (!m_outputPath.empty()) {
        const int output = open(m_outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (output < 0) _exit(126);
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
    }
    // Nothing of the test's own may be counted against the program.
    if (syscall(SYS_close_range, 3U, ~0U, 0U) != 0) {
        for (int fd = 3; fd < 1024; ++fd) close(fd);
    }
    for (const auto& variable : m_environment) setenv(variable.first.c_str(), variable.second.c_str(), 1);
    execv(argv[0], argv.data());
    _exit(127);
}

bool ChildProcess::Collect(bool blocking)
{
    int status = 0;
    rusage usage = {};
    if (wait4(m_pid, &status, blocking ? 0 : WNOHANG, &usage) != m_pid) return false;
    m_pid = -1;
    m_exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    m_elapsedMs = NowMs() - m_startMs;
    m_maxResidentKiB = usage.ru_maxrss;
    return true;
}

bool ChildProcess::HasEnded()
{
    return m_pid <= 0 || Collect(false);
}

int ChildProcess::Wait(int timeoutMs)
{
    if (m_pid <= 0) return m_exitStatus;
    const long deadline = NowMs() + timeoutMs;
    while (!Collect(false)) {
        if (NowMs() >= deadline) {
            kill(m_pid, SIGKILL);
            Collect(true);
            m_exitStatus = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    return m_exitStatus;
}

int ChildProcess::Run(const std::vector<std::string>& arguments, int timeoutMs)
{
    return Start(arguments) ? Wait(timeoutMs) : -1;
}

void ChildProcess::Signal(int signalNumber)
{
    if (m_pid > 0) kill(m_pid, signalNumber);
}

void ChildProcess::Interrupt()
{
    Signal(SIGINT);
}

std::string ChildProcess::Output() const
{
    return TempDirectory::Read(m_outputPath);
}
