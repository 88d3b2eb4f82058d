// The program itself as a child process on a test's private bus and lock
// directories: started with its arguments, standard input from /dev/null
// (nobody at the keys) and its output into a file, interrupted like Ctrl-C,
// and waited for with a deadline.
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

class TreloxProcess {
public:
    TreloxProcess(std::string busDirectory, std::string lockDirectory, std::string workDirectory);
    TreloxProcess(const TreloxProcess&) = delete;
    TreloxProcess& operator=(const TreloxProcess&) = delete;
    // Kills the program if it still runs.
    ~TreloxProcess();

    bool Start(const std::vector<std::string>& arguments);
    // The exit status; -1 when it ended by a signal or had to be killed
    // after `timeoutMs`.
    int Wait(int timeoutMs);
    // Start, then Wait.
    int Run(const std::vector<std::string>& arguments, int timeoutMs);
    // SIGINT, as Ctrl-C on its terminal sends it.
    void Interrupt();

    // Everything it wrote to standard output and standard error.
    std::string Output() const;

private:
    std::string m_bus;
    std::string m_locks;
    std::string m_outputPath;
    pid_t m_pid = -1;
};
