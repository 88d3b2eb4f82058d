// The simulator's log: one line per event, flushed at once so that a test can
// read it while the simulator runs.
#pragma once

#include <cstdio>
#include <string>

class EventLog {
public:
    EventLog() = default;
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;
    ~EventLog();

    // "-" is standard output. False with a reason in *error.
    bool Open(const std::string& path, std::string* error);
    // Writes "t=<ms> " and the text as one line.
    void Line(const std::string& text);

private:
    std::FILE* m_file = nullptr;
    bool m_owned = false;
};
