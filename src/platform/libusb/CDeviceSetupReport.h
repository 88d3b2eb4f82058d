// What a technician setting up a machine needs to hear on standard error
// about the real devices: no device table, a table that lists nothing that
// is attached, a listed device without permission (with the udev rules that
// give it) or whose pipes do not fit, and which device the program uses.
// Each line is said once a run, however often the program looks for its
// device.
#pragma once

#include <cstdint>
#include <ostream>
#include <set>
#include <string>

class CDeviceSetupReport {
public:
    explicit CDeviceSetupReport(std::ostream& stream) : m_stream(stream) {}

    std::ostream& Stream() { return m_stream; }

    void NoTable(const std::string& places);
    void NothingListedAttached(const std::string& source, std::size_t entries);
    // The device node and the rules that grant access: the one for the user
    // at the machine and the one for a group. `tagged`: the device already
    // carries the tag for the user at the machine, so the user is not.
    void NoPermission(const std::string& node, std::uint16_t vendorId, std::uint16_t productId, bool tagged);
    // The device at `node` was skipped for `reason`.
    void Skipped(const std::string& node, std::uint16_t vendorId, std::uint16_t productId, const std::string& reason);
    // The device the program uses; `attached` listed devices are there.
    void Using(std::uint16_t vendorId, std::uint16_t productId, const std::string& serial, const std::string& port,
               std::size_t attached);

    // The rule lines for one device, as dist/linux/70-trelox.rules has them:
    // access for the user logged in at the machine, or for a group.
    static std::string UdevRule(std::uint16_t vendorId, std::uint16_t productId);
    static std::string UdevGroupRule(std::uint16_t vendorId, std::uint16_t productId);
    // "1234:5678", as lsusb shows the ids.
    static std::string DeviceId(std::uint16_t vendorId, std::uint16_t productId);

private:
    void SayOnce(const std::string& text);

    std::ostream& m_stream;
    std::set<std::string> m_said;
};
