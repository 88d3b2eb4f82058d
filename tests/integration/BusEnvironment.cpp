// Pointing this process at a test's bus and lock directories, and back.
#include "BusEnvironment.h"

#include <cstdlib>

BusEnvironment::BusEnvironment(const std::string& busDirectory, const std::string& lockDirectory)
    : m_bus(Replace("TRELOX_USB_BUS", busDirectory)), m_locks(Replace("TRELOX_LOCK_DIR", lockDirectory))
{
}

BusEnvironment::~BusEnvironment()
{
    Restore(m_locks);
    Restore(m_bus);
}

BusEnvironment::SavedVariable BusEnvironment::Replace(const char* name, const std::string& value)
{
    const char* before = std::getenv(name);
    SavedVariable saved{name, before != nullptr, before != nullptr ? before : ""};
    ::setenv(name, value.c_str(), 1);
    return saved;
}

void BusEnvironment::Restore(const SavedVariable& saved)
{
    if (saved.wasSet) {
        ::setenv(saved.name, saved.value.c_str(), 1);
    } else {
        ::unsetenv(saved.name);
    }
}
