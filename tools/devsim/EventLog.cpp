// Writing the simulator's log lines.
#include "EventLog.h"

#include <cerrno>
#include <cstring>

#include "Clock.h"

EventLog::~EventLog()
{
    if (m_owned && m_file != nullptr) std::fclose(m_file);
}

bool EventLog::Open(const std::string& path, std::string* error)
{
    if (path == "-") {
        m_file = stdout;
        m_owned = false;
        return true;
    }
    m_file = std::fopen(path.c_str(), "a");
    if (m_file == nullptr) {
        *error = "cannot open log " + path + ": " + std::strerror(errno);
        return false;
    }
    m_owned = true;
    return true;
}

void EventLog::Line(const std::string& text)
{
    if (m_file == nullptr) return;
    std::fprintf(m_file, "t=%ld %s\n", Clock::NowMs(), text.c_str());
    std::fflush(m_file);
}
