// The test build of the program (trelox_fd_report) as a child process on a
// test's private bus and lock directories, asked afterwards what it left open
// at its end.
#pragma once

#include <string>
#include <vector>

#include "TreloxProcess.h"

class InstrumentedTrelox : public TreloxProcess {
public:
    // Its output and its report go to `workDirectory`.
    InstrumentedTrelox(const std::string& busDirectory, std::string lockDirectory, const std::string& workDirectory);

    // Removes the report of an earlier run first.
    bool Start(const std::vector<std::string>& arguments) override;

    // "<fd> <target>" for each descriptor open at the very end; empty when
    // the process did not end through exit (killed, or by a signal).
    std::vector<std::string> DescriptorsAtEnd() const;
    // The descriptors at the end that refer to a device's pipe (a socket),
    // to a lock file under `lockDirectory` or to `flashFile`.
    std::vector<std::string> LeftOpen(const std::string& flashFile) const;

private:
    std::string m_locks;
    std::string m_reportPath;
};
