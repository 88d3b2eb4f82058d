// The program itself as a child process on a test's private bus and lock
// directories: started with its arguments, standard input from /dev/null
// (nobody at the keys) and its output into a file, interrupted like Ctrl-C,
// and waited for with a deadline.
#pragma once

#include <string>

#include "ChildProcess.h"

class TreloxProcess : public ChildProcess {
public:
    // Its output goes to trelox.out in `workDirectory`.
    TreloxProcess(const std::string& busDirectory, const std::string& lockDirectory,
                  const std::string& workDirectory);

protected:
    // Another build of the program, `executable`, with the variables `more`
    // set as well.
    TreloxProcess(std::string executable, const std::string& busDirectory, const std::string& lockDirectory,
                  const std::string& workDirectory, Environment more);
};
