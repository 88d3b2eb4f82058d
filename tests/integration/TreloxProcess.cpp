// The program as a child process of a test.
#include "TreloxProcess.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const int kPollMs = 10;
}  // namespace

TreloxProcess::TreloxProcess(std::string busDirectory, std::string lockDirectory, std::string workDirectory)
    : m_bus(std::move(busDirectory)), m_locks(std::move(lockDirectory)), m_outputPath(workDirectory + "/trelox.out")
{
}

TreloxProcess::~TreloxProcess()
{
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

bool TreloxProcess::Start(const std::vector<std::string>& arguments)
{
    std::vector<std::string> all = {TRELOX_PATH};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) argv.push_back(&argument[0]);
    argv.push_back(nullptr);
    m_pid = fork();
    if (m_pid == 0) {
        const int input = open("/dev/null", O_RDONLY);
        const int output = open(m_outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (input < 0 || output < 0) _exit(126);
        dup2(input, STDIN_FILENO);
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        setenv("TRELOX_USB_BUS", m_bus.c_str(), 1);
        setenv("TRELOX_LOCK_DIR", m_locks.c_str(), 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return m_pid > 0;
}

int TreloxProcess::Wait(int timeoutMs)
{
    if (m_pid <= 0) return -1;
    for (int waited = 0; waited <= timeoutMs; waited += kPollMs) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
    return -1;
}

int TreloxProcess::Run(const std::vector<std::string>& arguments, int timeoutMs)
{
    return Start(arguments) ? Wait(timeoutMs) : -1;
}

void TreloxProcess::Interrupt()
{
    if (m_pid > 0) kill(m_pid, SIGINT);
}

std::string TreloxProcess::Output() const
{
    std::ifstream file(m_outputPath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
