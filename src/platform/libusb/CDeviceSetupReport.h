// What a technician setting up a machine needs to hear on standard error
// about the real devices: no device table, a table that lists nothing that
// is attached, a listed device without permission (with the udev rule that
// gives it) or whose pipes do not fit. Each line is said once a run, however
// often the program looks for its device.
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
    // The device node and the rule that grants the logged-in user access.
    void NoPermission(const std::string& node, std::uint16_t vendorId, std::uint16_t productId);
    // The device at `node` was skipped for `reason`.
    void Skipped(const std::string& node, std::uint16_t vendorId, std::uint16_t productId, const std::string& reason);

    // The rule line for one device, as dist/linux/70-trelox.rules has it.
    static std::string UdevRule(std::uint16_t vendorId, std::uint16_t productId);

private:
    void SayOnce(const std::string& text);

    std::ostream& m_stream;
    std::set<std::string> m_said;
};
