// TRELOX_USB_BUS and TRELOX_LOCK_DIR of this process pointed at a test's own
// bus and lock directories while the object lives, for the program's code
// that runs inside the test; what they were before comes back after.
#pragma once

#include <string>

class BusEnvironment {
public:
    BusEnvironment(const std::string& busDirectory, const std::string& lockDirectory);
    ~BusEnvironment();
    BusEnvironment(const BusEnvironment&) = delete;
    BusEnvironment& operator=(const BusEnvironment&) = delete;

private:
    struct SavedVariable {
        const char* name;
        bool wasSet;
        std::string value;
    };
    static SavedVariable Replace(const char* name, const std::string& value);
    static void Restore(const SavedVariable& saved);

    SavedVariable m_bus;
    SavedVariable m_locks;
};
