// The device table: the USB devices the program may use, by vendor and
// product id, each with its interface and, where they differ from the pipe
// convention, its endpoints. Sending firmware records to any other device
// could damage it, so a device that is not listed is never touched.
//
// An entry is "VID:PID" (four hex digits each, as lsusb shows them), then
// optionally "serial=TEXT", "interface=N", "out=0xEP" and "in=0xEP",
// separated by blanks. With serial= the entry is the one device whose USB
// serial number is TEXT, so that a technician can name the device meant
// when several of one kind are attached.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DeviceTableEntry {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint8_t interfaceNumber = 0;
    // The endpoint addresses given for the pipes to and from the device;
    // -1: the endpoint at the pipe's index.
    int outEndpoint = -1;
    int inEndpoint = -1;
    // The serial number the device must have; empty: any.
    std::string serial;
};

class CDeviceTable {
public:
    // No table at all: nothing was found in any of the places looked at.
    CDeviceTable() = default;
    // A table read from `source` (a file, or the environment variable).
    explicit CDeviceTable(std::string source) : m_source(std::move(source)), m_exists(true) {}

    // Parses one entry. False with what is wrong in *problem; *entry is then
    // left as it was.
    static bool ParseEntry(const std::string& text, DeviceTableEntry* entry, std::string* problem);

    bool Exists() const { return m_exists; }
    const std::string& Source() const { return m_source; }
    const std::vector<DeviceTableEntry>& Entries() const { return m_entries; }
    void Add(const DeviceTableEntry& entry) { m_entries.push_back(entry); }
    // The first entry for the device with `serial` (null: it has none, or
    // it cannot be read); null when it is not listed.
    const DeviceTableEntry* Find(std::uint16_t vendorId, std::uint16_t productId,
                                 const std::string* serial = nullptr) const;
    // Whether some entry for the ids names a serial number: only then must
    // the device's be read before it counts as listed.
    bool NamesSerial(std::uint16_t vendorId, std::uint16_t productId) const;

private:
    std::string m_source;
    bool m_exists = false;
    std::vector<DeviceTableEntry> m_entries;
};
