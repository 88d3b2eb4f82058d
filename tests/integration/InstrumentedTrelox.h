// The test build of the program (trelox_fd_report) as a child process on a
// test's private bus and lock directories: started with nothing open but its
// standard streams (input from /dev/null, output into a file), waited for with
// a deadline, and afterwards asked what it left open at its end, how long it
// ran and how much memory it used at most.
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

class InstrumentedTrelox {
public:
    InstrumentedTrelox(std::string busDirectory, std::string lockDirectory, std::string workDirectory);
    InstrumentedTrelox(const InstrumentedTrelox&) = delete;
    InstrumentedTrelox& operator=(const InstrumentedTrelox&) = delete;
    // Kills the program if it still runs.
    ~InstrumentedTrelox();

    bool Start(const std::vector<std::string>& arguments);
    // The exit status; -1 when it ended by a signal or was killed after
    // `timeoutMs`.
    int Wait(int timeoutMs);
    int Run(const std::vector<std::string>& arguments, int timeoutMs);
    // SIGINT, as Ctrl-C on its terminal sends it.
    void Interrupt();
    bool Running() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }

    std::string Output() const;
    // From the start to the end of the process, in milliseconds.
    long ElapsedMs() const { return m_elapsedMs; }
    // Its peak resident memory, in KiB.
    long MaxResidentKiB() const { return m_maxResidentKiB; }
    // "<fd> <target>" for each descriptor open at the very end; empty when
    // the process did not end through exit (killed, or by a signal).
    std::vector<std::string> DescriptorsAtEnd() const;
    // The descriptors at the end that refer to a device's pipe (a socket),
    // to a lock file under `lockDirectory` or to `flashFile`.
    std::vector<std::string> LeftOpen(const std::string& flashFile) const;

private:
    std::string m_bus;
    std::string m_locks;
    std::string m_outputPath;
    std::string m_reportPath;
    pid_t m_pid = -1;
    long m_startMs = 0;
    long m_elapsedMs = -1;
    long m_maxResidentKiB = -1;
};
