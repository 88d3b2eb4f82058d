// The program as a child process of a test.
#include "TreloxProcess.h"

#include <utility>

namespace {

ChildProcess::Environment BusEnvironment(const std::string& busDirectory, const std::string& lockDirectory,
                                         ChildProcess::Environment more)
{
    more.insert(more.begin(), {{"TRELOX_USB_BUS", busDirectory}, {"TRELOX_LOCK_DIR", lockDirectory}});
    return more;
}

}  // namespace

TreloxProcess::TreloxProcess(const std::string& busDirectory, const std::string& lockDirectory,
                             const std::string& workDirectory)
    : TreloxProcess(TRELOX_PATH, busDirectory, lockDirectory, workDirectory, {})
{
}

TreloxProcess::TreloxProcess(std::string executable, const std::string& busDirectory,
                             const std::string& lockDirectory, const std::string& workDirectory, Environment more)
    : ChildProcess(std::move(executable), BusEnvironment(busDirectory, lockDirectory, std::move(more)),
                   workDirectory + "/trelox.out")
{
}
