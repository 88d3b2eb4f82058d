// A device interface registered in the system's device list for the tests:
// a root-enumerated device with one interface
// of a test class, made present or absent through its "Linked" value.
// Only meant for a throw-away Wine prefix.
#pragma once

#include "platform/win32/Win32Api.h"

#include <string>

#include "platform/PlatformTypes.h"

class SimulatedDeviceInterface {
public:
    // `instance` is the last piece of the instance id ROOT\TRELOXTEST\<instance>.
    SimulatedDeviceInterface(const DeviceClassGuid& interfaceClass, const std::string& instance);
    ~SimulatedDeviceInterface();
    SimulatedDeviceInterface(const SimulatedDeviceInterface&) = delete;
    SimulatedDeviceInterface& operator=(const SimulatedDeviceInterface&) = delete;

    bool IsRegistered() const { return m_registered; }
    // Marks the interface present (linked) or absent.
    bool SetPresent(bool present);
    // The path the system gives the interface.
    std::string ExpectedPath() const;

private:
    std::string ClassText() const;

    DeviceClassGuid m_class;
    std::string m_instance;
    HDEVINFO m_set = INVALID_HANDLE_VALUE;
    bool m_registered = false;
};

// True when the tests run under Wine, where registering devices is harmless.
bool RunningUnderWine();
