// The device interface paths of real USB devices, in the form Windows gives
// them, so that the device list, its order, the instance id and the names of
// the device's mutexes work as on Windows:
//   \\?\usb#vid_vvvv&pid_pppp#INSTANCE#{c0558574-212d-4625-8877-fe9c2e8ed396}
// INSTANCE is the serial number where Windows would take it as an instance
// id, else the bus and port path ("1-4.2"), which stays the same when the
// device comes back in the same port.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CUsbInterfacePath {
public:
    static std::string Build(std::uint16_t vendorId, std::uint16_t productId, const std::string& instance);

    // The serial number's characters (UTF-16 code units) as an instance id:
    // only printable ASCII other than the blank, "#", ",", "\" and "/" may
    // appear; empty when it cannot serve (then the port path does).
    static std::string InstanceFromSerial(const std::vector<std::uint16_t>& serial);
    // "BUS-P1.P2..." for a device, "usbBUS" for a root hub without ports.
    static std::string InstanceFromPorts(int bus, const std::uint8_t* ports, int count);

    // Splits a pipe path into the interface path and the pipe's number:
    // false unless it ends in "\PIPEnn" (two decimal digits).
    static bool SplitPipePath(const std::string& pipePath, std::string* interfacePath, int* pipeIndex);
};
