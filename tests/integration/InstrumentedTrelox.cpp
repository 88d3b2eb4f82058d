// The test build of the program as a child process.
#include "InstrumentedTrelox.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const int kPollMs = 5;

long NowMs()
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count());
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

InstrumentedTrelox::InstrumentedTrelox(std::string busDirectory, std::string lockDirectory, std::string workDirectory)
    : m_bus(std::move(busDirectory)),
      m_locks(std::move(lockDirectory)),
      m_outputPath(workDirectory + "/trelox.out"),
      m_reportPath(workDirectory + "/trelox.fds")
{
}

InstrumentedTrelox::~InstrumentedTrelox()
{
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

bool InstrumentedTrelox::Start(const std::vector<std::string>& arguments)
{
    std::vector<std::string> all = {TRELOX_FD_REPORT_PATH};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) argv.push_back(&argument[0]);
    argv.push_back(nullptr);
    unlink(m_reportPath.c_str());
    m_elapsedMs = m_maxResidentKiB = -1;
    m_startMs = NowMs();
    m_pid = fork();
    if (m_pid == 0) {
        const int input = open("/dev/null", O_RDONLY);
        const int output = open(m_outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (input < 0 || output < 0) _exit(126);
        dup2(input, STDIN_FILENO);
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        // Nothing of the test's own may be counted against the program.
        if (syscall(SYS_close_range, 3U, ~0U, 0U) != 0) {
            for (int fd = 3; fd < 1024; ++fd) close(fd);
        }
        setenv("TRELOX_USB_BUS", m_bus.c_str(), 1);
        setenv("TRELOX_LOCK_DIR", m_locks.c_str(), 1);
        setenv("TRELOX_TEST_FD_REPORT", m_reportPath.c_str(), 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return m_pid > 0;
}

int InstrumentedTrelox::Wait(int timeoutMs)
{
    if (m_pid <= 0) return -1;
    int status = 0;
    rusage usage = {};
    const long deadline = NowMs() + timeoutMs;
    pid_t ended = 0;
    while ((ended = wait4(m_pid, &status, WNOHANG, &usage)) == 0 && NowMs() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    if (ended != m_pid) {
        kill(m_pid, SIGKILL);
        wait4(m_pid, &status, 0, &usage);
        status = -1;
    }
    m_pid = -1;
    m_elapsedMs = NowMs() - m_startMs;
    m_maxResidentKiB = usage.ru_maxrss;
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int InstrumentedTrelox::Run(const std::vector<std::string>& arguments, int timeoutMs)
{
    return Start(arguments) ? Wait(timeoutMs) : -1;
}

void InstrumentedTrelox::Interrupt()
{
    if (m_pid > 0) kill(m_pid, SIGINT);
}

std::string InstrumentedTrelox::Output() const
{
    return ReadFile(m_outputPath);
}

std::vector<std::string> InstrumentedTrelox::DescriptorsAtEnd() const
{
    std::vector<std::string> lines;
    std::istringstream report(ReadFile(m_reportPath));
    for (std::string line; std::getline(report, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> InstrumentedTrelox::LeftOpen(const std::string& flashFile) const
{
    std::vector<std::string> leaks;
    for (const std::string& line : DescriptorsAtEnd()) {
        const std::string target = line.substr(line.find(' ') + 1);
        if (target.rfind("socket:", 0) == 0 || target.rfind(m_locks + "/", 0) == 0 || target == flashFile) {
            leaks.push_back(line);
        }
    }
    return leaks;
}
