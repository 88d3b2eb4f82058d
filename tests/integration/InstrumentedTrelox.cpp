// The test build of the program as a child process, and its report of the
// descriptors left open.
#include "InstrumentedTrelox.h"

#include <sstream>
#include <utility>

#include <unistd.h>

#include "TempDirectory.h"

InstrumentedTrelox::InstrumentedTrelox(const std::string& busDirectory, std::string lockDirectory,
                                       const std::string& workDirectory)
    : TreloxProcess(TRELOX_FD_REPORT_PATH, busDirectory, lockDirectory, workDirectory,
                    {{"TRELOX_TEST_FD_REPORT", workDirectory + "/trelox.fds"}}),
      m_locks(std::move(lockDirectory)),
      m_reportPath(workDirectory + "/trelox.fds")
{
}

bool InstrumentedTrelox::Start(const std::vector<std::string>& arguments)
{
    unlink(m_reportPath.c_str());
    return TreloxProcess::Start(arguments);
}

std::vector<std::string> InstrumentedTrelox::DescriptorsAtEnd() const
{
    std::vector<std::string> lines;
    std::istringstream report(TempDirectory::Read(m_reportPath));
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
