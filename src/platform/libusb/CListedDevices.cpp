// The attached listed devices and their interface paths.
#include "platform/libusb/CListedDevices.h"

#include <libusb.h>

#include <algorithm>
#include <cstdio>

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
            devices->push_back(Device{PathOf(device), std::shared_ptr<libusb_device>(device, libusb_unref_device), entry});
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

const DeviceTableEntry* CListedDevices::EntryOf(libusb_device* device) const
{
    libusb_device_descriptor descriptor;
    if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS) {
        return nullptr;
    }
    return m_table.Find(descriptor.idVendor, descriptor.idProduct);
}

std::string CListedDevices::PathOf(libusb_device* device)
{
    const auto found = m_paths.find(device);
    if (found != m_paths.end()) {
        return found->second;
    }
    bool keep = true;
    std::string path = WorkOutPath(device, &keep);
    if (keep) {
        libusb_ref_device(device);
        m_paths.emplace(device, path);
    }
    return path;
}

void CListedDevices::Forget(libusb_device* device)
{
    const auto found = m_paths.find(device);
    if (found != m_paths.end()) {
        m_paths.erase(found);
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
        *keep = asked;
    }
    if (instance.empty()) {
        std::uint8_t ports[kMaxPorts];
        const int count = libusb_get_port_numbers(device, ports, kMaxPorts);
        instance = CUsbInterfacePath::InstanceFromPorts(libusb_get_bus_number(device), ports, count);
    }
    return CUsbInterfacePath::Build(descriptor.idVendor, descriptor.idProduct, instance);
}

void CListedDevices::ForgetAllBut(const std::vector<libusb_device*>& attached)
{
    for (auto kept = m_paths.begin(); kept != m_paths.end();) {
        if (std::find(attached.begin(), attached.end(), kept->first) == attached.end()) {
            libusb_unref_device(kept->first);
            kept = m_paths.erase(kept);
        } else {
            ++kept;
        }
    }
}
