// Starting, watching and stopping the device simulator for a test.
#include "DevsimProcess.h"

#include <chrono>
#include <csignal>
#include <sstream>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include "TempDirectory.h"

namespace {

const int kPollMs = 10;
const int kStartStopMs = 5000;

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

DevsimProcess::DevsimProcess(std::string busDirectory, const std::string& workDirectory)
    : m_bus(std::move(busDirectory)),
      m_logPath(workDirectory + "/devsim.log"),
      m_readyPath(workDirectory + "/devsim.ready"),
      m_process(TRELOX_DEVSIM_PATH, {}, "")
{
}

DevsimProcess::~DevsimProcess()
{
    Stop();
}

std::vector<std::string> DevsimProcess::Arguments(const std::vector<std::string>& options) const
{
    std::vector<std::string> arguments = {"--bus=" + m_bus, "--log=" + m_logPath, "--ready-file=" + m_readyPath};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
}

bool DevsimProcess::Start(const std::vector<std::string>& options)
{
    unlink(m_readyPath.c_str());
    if (!m_process.Start(Arguments(options))) return false;
    for (int waited = 0; waited < kStartStopMs; waited += kPollMs) {
        if (Exists(m_readyPath)) return true;
        if (m_process.HasEnded()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    Stop();
    return false;
}

int DevsimProcess::RunToExit(const std::vector<std::string>& options)
{
    return m_process.Run(Arguments(options), kStartStopMs);
}

int DevsimProcess::Stop()
{
    if (!m_process.Running()) return -1;
    m_process.Signal(SIGTERM);
    return m_process.Wait(kStartStopMs);
}

std::string DevsimProcess::Log() const
{
    return TempDirectory::Read(m_logPath);
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
