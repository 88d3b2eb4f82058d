// Starting, watching and stopping the device simulator for a test.
#include "DevsimProcess.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const int kPollMs = 10;

bool Exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

bool ContainsAll(const std::string& line, const std::vector<std::string>& parts)
{
    for (const std::string& part : parts) {
        if (line.find(part) == std::string::npos) return false;
    }
    return true;
}

}  // namespace

DevsimProcess::DevsimProcess(std::string busDirectory, std::string workDirectory)
    : m_bus(std::move(busDirectory)),
      m_logPath(workDirectory + "/devsim.log"),
      m_readyPath(workDirectory + "/devsim.ready")
{
}

DevsimProcess::~DevsimProcess()
{
    Stop();
}

pid_t DevsimProcess::Spawn(const std::vector<std::string>& options)
{
    std::vector<std::string> arguments = {TRELOX_DEVSIM_PATH, "--bus=" + m_bus, "--log=" + m_logPath,
                                          "--ready-file=" + m_readyPath};
    arguments.insert(arguments.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(&argument[0]);
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

bool DevsimProcess::Start(const std::vector<std::string>& options)
{
    unlink(m_readyPath.c_str());
    m_pid = Spawn(options);
    if (m_pid < 0) return false;
    for (int waited = 0; waited < 5000; waited += kPollMs) {
        if (Exists(m_readyPath)) return true;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    Stop();
    return false;
}

int DevsimProcess::RunToExit(const std::vector<std::string>& options)
{
    m_pid = Spawn(options);
    if (m_pid < 0) return -1;
    int status = WaitForExit(5000);
    if (status < 0) Stop();
    return status;
}

int DevsimProcess::WaitForExit(int timeoutMs)
{
    for (int waited = 0; waited <= timeoutMs; waited += kPollMs) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    return -1;
}

int DevsimProcess::Stop()
{
    if (m_pid <= 0) return -1;
    kill(m_pid, SIGTERM);
    int status = WaitForExit(5000);
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    return status;
}

std::string DevsimProcess::Log() const
{
    std::ifstream file(m_logPath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> DevsimProcess::LogLines() const
{
    std::vector<std::string> lines;
    std::istringstream text(Log());
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> DevsimProcess::LinesWith(const std::vector<std::string>& parts) const
{
    std::vector<std::string> found;
    for (const std::string& line : LogLines()) {
        if (ContainsAll(line, parts)) found.push_back(line);
    }
    return found;
}

bool DevsimProcess::WaitForLine(const std::vector<std::string>& parts, int timeoutMs, std::size_t count) const
{
    for (int waited = 0; waited <= timeoutMs; waited += kPollMs) {
        if (LinesWith(parts).size() >= count) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    return false;
}
