// The attached listed devices, their interface paths, serial numbers and ports.
#include "platform/libusb/CListedDevices.h"

#include <libusb.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "platform/libusb/CLibusbContext.h"
#include "platform/libusb/CUsbInterfacePath.h"

namespace {

// Windows asks for the serial number in this language, whatever the device
// offers; so does this backend, so that both see the same instance id.
constexpr std::uint16_t kSerialLanguage = 0x0409;
constexpr int kMaxPorts = 7;

// The serial number's UTF-16 code units; false when the device has none or
// cannot be asked (`asked` false then).
bool ReadSerial(libusb_device* device, std::uint8_t index, std::vector<std::uint16_t>* serial, bool* asked)
{
    *asked = false;
    libusb_device_handle* handle = nullptr;
    if (libusb_open(device, &handle) != LIBUSB_SUCCESS) {
        return false;
    }
    unsigned char descriptor[255];
    const int length = libusb_get_string_descriptor(handle, index, kSerialLanguage, descriptor, sizeof descriptor);
    libusb_close(handle);
    *asked = length >= 0;
    if (length < 2 || descriptor[1] != LIBUSB_DT_STRING || descriptor[0] > length) {
        return false;
    }
    for (int offset = 2; offset + 1 < descriptor[0]; offset += 2) {
        serial->push_back(static_cast<std::uint16_t>(descriptor[offset] | (descriptor[offset + 1] << 8)));
    }
    return true;
}

// UTF-16 code units as UTF-8 (those of one plane; a lone surrogate as "?").
std::string Utf8Of(const std::vector<std::uint16_t>& units)
{
    std::string text;
    for (const std::uint16_t unit : units) {
        if (unit < 0x80) {
            text += static_cast<char>(unit);
        } else if (unit < 0x800) {
            text += static_cast<char>(0xC0 | (unit >> 6));
            text += static_cast<char>(0x80 | (unit & 0x3F));
        } else if (unit >= 0xD800 && unit < 0xE000) {
            text += '?';
        } else {
            text += static_cast<char>(0xE0 | (unit >> 12));
            text += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return text;
}

// The first line of a small text file; false when it cannot be read.
bool ReadLine(const std::string& path, std::string* line)
{
    std::ifstream file(path);
    return static_cast<bool>(std::getline(file, *line));
}

}  // namespace

CListedDevices::~CListedDevices()
{
    ForgetAllBut({});
}

int CListedDevices::List(std::vector<Device>* devices)
{
    devices->clear();
    libusb_device** all = nullptr;
    const ssize_t count = libusb_get_device_list(m_context.Get(), &all);
    if (count < 0) {
        return static_cast<int>(CLibusbContext::ErrorCode(static_cast<int>(count)));
    }
    std::vector<libusb_device*> attached;
    for (ssize_t index = 0; index < count; ++index) {
        const DeviceTableEntry* entry = EntryOf(all[index]);
        if (entry != nullptr) {
            libusb_device* device = libusb_ref_device(all[index]);
            const Identity identity = IdentityOf(device);
            devices->push_back(Device{identity.path, std::shared_ptr<libusb_device>(device, libusb_unref_device), entry,
                                      identity.serial, PortOf(device)});
            attached.push_back(device);
        }
    }
    if (m_forgetGoneOnList) {
        ForgetAllBut(attached);
    }
    libusb_free_device_list(all, 1);
    std::sort(devices->begin(), devices->end(), [](const Device& a, const Device& b) { return a.path < b.path; });
    return 0;
}

const DeviceTableEntry* CListedDevices::EntryOf(libusb_device* device)
{
    libusb_device_descriptor descriptor;
    if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS) {
        return nullptr;
    }
    // A serial number is read only when the table asks for one.
    if (!m_table.NamesSerial(descriptor.idVendor, descriptor.idProduct)) {
        return m_table.Find(descriptor.idVendor, descriptor.idProduct, nullptr);
    }
    // A device that has gone is what it was while attached.
    const auto known = m_known.find(device);
    std::string serial;
    const bool hasSerial = known != m_known.end() ? known->second.hasSerial : ReadSerialNumber(device, &serial);
    if (known != m_known.end()) {
        serial = known->second.serial;
    }
    return m_table.Find(descriptor.idVendor, descriptor.idProduct, hasSerial ? &serial : nullptr);
}

std::string CListedDevices::PathOf(libusb_device* device)
{
    return IdentityOf(device).path;
}

CListedDevices::Identity CListedDevices::IdentityOf(libusb_device* device)
{
    const auto found = m_known.find(device);
    if (found != m_known.end()) {
        return found->second;
    }
    bool keep = true;
    Identity identity;
    identity.path = WorkOutPath(device, &keep);
    identity.hasSerial = ReadSerialNumber(device, &identity.serial);
    if (keep) {
        libusb_ref_device(device);
        m_known.emplace(device, identity);
    }
    return identity;
}

void CListedDevices::Forget(libusb_device* device)
{
    const auto found = m_known.find(device);
    if (found != m_known.end()) {
        m_known.erase(found);
        libusb_unref_device(device);
    }
}

std::string CListedDevices::DeviceNode(libusb_device* device)
{
    char node[32];
    std::snprintf(node, sizeof node, "/dev/bus/usb/%03u/%03u", libusb_get_bus_number(device),
                  libusb_get_device_address(device));
    return node;
}

std::string CListedDevices::PortOf(libusb_device* device)
{
    std::uint8_t ports[kMaxPorts];
    const int count = libusb_get_port_numbers(device, ports, kMaxPorts);
    return CUsbInterfacePath::InstanceFromPorts(libusb_get_bus_number(device), ports, count);
}

std::string CListedDevices::SysfsSerialPath(libusb_device* device)
{
    return "/sys/bus/usb/devices/" + PortOf(device) + "/serial";
}

bool CListedDevices::ReadSerialNumber(libusb_device* device, std::string* serial)
{
    // The system has read it already, and shows it to users without the
    // permission to open the device.
    if (ReadLine(SysfsSerialPath(device), serial)) {
        return !serial->empty();
    }
    libusb_device_descriptor descriptor = {};
    libusb_get_device_descriptor(device, &descriptor);
    std::vector<std::uint16_t> units;
    bool asked = false;
    if (descriptor.iSerialNumber == 0 || !ReadSerial(device, descriptor.iSerialNumber, &units, &asked)) {
        return false;
    }
    *serial = Utf8Of(units);
    return !serial->empty();
}

std::string CListedDevices::WorkOutPath(libusb_device* device, bool* keep) const
{
    libusb_device_descriptor descriptor = {};
    if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS) {
        *keep = false;  // not asked: worked out again next time
    }
    std::string instance;
    if (descriptor.iSerialNumber != 0) {
        std::vector<std::uint16_t> serial;
        bool asked = false;
        if (ReadSerial(device, descriptor.iSerialNumber, &serial, &asked)) {
            instance = CUsbInterfacePath::InstanceFromSerial(serial);
        }
        std::string shown;
        if (!asked && ReadLine(SysfsSerialPath(device), &shown)) {
            // Not to be opened (no permission yet): the system's copy of the
            // serial number keeps the path the same as once it can be.
            instance = CUsbInterfacePath::InstanceFromSerial(std::vector<std::uint16_t>(shown.begin(), shown.end()));
            asked = true;
        }
        *keep = asked;
    }
    if (instance.empty()) {
        instance = PortOf(device);
    }
    return CUsbInterfacePath::Build(descriptor.idVendor, descriptor.idProduct, instance);
}

void CListedDevices::ForgetAllBut(const std::vector<libusb_device*>& attached)
{
    for (auto kept = m_known.begin(); kept != m_known.end();) {
        if (std::find(attached.begin(), attached.end(), kept->first) == attached.end()) {
            libusb_unref_device(kept->first);
            kept = m_known.erase(kept);
        } else {
            ++kept;
        }
    }
}
