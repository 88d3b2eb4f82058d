// A program as a child process of a test: started with its arguments and
// variables of its own on top of the test's environment, with nothing open
// but its standard streams (input from /dev/null, output into a file or the
// test's own), waited for with a deadline, and afterwards asked how long it
// ran and how much memory it used at most.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

class ChildProcess {
public:
    using Environment = std::vector<std::pair<std::string, std::string>>;

    // With an empty `outputPath` the child writes to the test's own output.
    ChildProcess(std::string executable, Environment environment, std::string outputPath);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // Kills the child if it still runs.
    virtual ~ChildProcess();

    virtual bool Start(const std::vector<std::string>& arguments);
    // Whether the child has ended (it is then collected); never waits.
    bool HasEnded();
    // The exit status (of the last run, when it has already been collected);
    // -1 when it ended by a signal, never started or had to be killed after
    // `timeoutMs`.
    int Wait(int timeoutMs);
    // Start, then Wait.
    int Run(const std::vector<std::string>& arguments, int timeoutMs);
    void Signal(int signalNumber);
    // SIGINT, as Ctrl-C on its terminal sends it.
    void Interrupt();
    bool Running() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }

    // Everything it wrote to standard output and standard error.
    std::string Output() const;
    // From the start to the end of the process, in milliseconds.
    long ElapsedMs() const { return m_elapsedMs; }
    // Its peak resident memory, in KiB.
    long MaxResidentKiB() const { return m_maxResidentKiB; }

private:
    // Collects the child when it has ended (`blocking`: waits for that).
    bool Collect(bool blocking);
    [[noreturn]] void ExecInChild(std::vector<char*>& argv) const;

    std::string m_executable;
    Environment m_environment;
    std::string m_outputPath;
    pid_t m_pid = -1;
    int m_exitStatus = -1;
    long m_startMs = 0;
    long m_elapsedMs = -1;
    long m_maxResidentKiB = -1;
};
