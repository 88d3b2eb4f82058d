// umockdev's test bed with one emulated USB bus.
#include "EmulatedUsbBus.h"

#include <umockdev.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

namespace {
// A hub's device descriptor and configuration (class 9), as sysfs has it.
const char kHubDescriptors[] = "12010002090000406b1d020000000000000109021900010100e0000904000001090000000705810304000c";

std::string Hex(const std::vector<std::uint8_t>& bytes)
{
    std::string text;
    char pair[3];
    for (const std::uint8_t byte : bytes) {
        std::snprintf(pair, sizeof pair, "%02x", byte);
        text += pair;
    }
    return text;
}

std::string NodeName(int address)
{
    char name[32];
    std::snprintf(name, sizeof name, "bus/usb/001/%03d", address);
    return name;
}

// "/devices/usb1/1-4/1-4.2" for port "1-4.2".
std::string SysfsPath(const std::string& port)
{
    std::string path = "/devices/usb1";
    for (std::size_t dot = port.find('.'); dot != std::string::npos; dot = port.find('.', dot + 1)) {
        path += "/" + port.substr(0, dot);
    }
    return path + "/" + port;
}
// The serial number as sysfs shows it; ASCII only here, which is what the
// tests' serial numbers that are read from sysfs hold.
std::string SerialAttribute(const DeviceDescription& description)
{
    std::string text;
    for (const char16_t unit : description.serial.value_or(u"")) {
        if (unit >= 0x80) {
            return std::string();
        }
        text += static_cast<char>(unit);
    }
    return text;
}
}  // namespace

EmulatedUsbBus::EmulatedUsbBus() : m_testbed(umockdev_testbed_new())
{
    if (m_testbed == nullptr) {
        throw std::runtime_error("no umockdev test bed (run under umockdev's preload library)");
    }
    gchar* root = umockdev_testbed_get_root_dir(m_testbed);
    m_root = root;
    g_free(root);
    AddEntry("/devices/usb1", 1, kHubDescriptors);
}

EmulatedUsbBus::~EmulatedUsbBus()
{
    for (const auto& plugged : m_plugged) {
        umockdev_testbed_detach_ioctl(m_testbed, ("/dev/" + NodeName(plugged.second.address)).c_str(), nullptr);
    }
    g_object_unref(m_testbed);
}

void EmulatedUsbBus::Plug(EmulatedDevice& device, const std::string& port)
{
    AddHubsFor(port);
    const int address = m_nextAddress++;
    // The handler first, so that the node answers once the device is seen.
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(m_testbed, ("/dev/" + NodeName(address)).c_str(), device.Handler(),
                                       &error)) {
        const std::string message = error != nullptr ? error->message : "unknown";
        g_clear_error(&error);
        throw std::runtime_error("cannot attach the device's handler: " + message);
    }
    const std::string sysfsPath = SysfsPath(port);
    AddEntry(sysfsPath, address, Hex(device.Description().Descriptors()), SerialAttribute(device.Description()));
    m_plugged[&device] = Plugged{port, sysfsPath, address, false};
}

const int EmulatedUsbBus::kDisconnected = -ESHUTDOWN;

void EmulatedUsbBus::Unplug(EmulatedDevice& device, int urbStatus)
{
    const auto found = m_plugged.find(&device);
    if (found == m_plugged.end()) {
        return;
    }
    if (found->second.unplugged) {
        return;
    }
    found->second.unplugged = true;
    device.Vanish(urbStatus);
    const std::string sysfs = "/sys" + found->second.sysfsPath;
    umockdev_testbed_uevent(m_testbed, sysfs.c_str(), "remove");
    umockdev_testbed_remove_device(m_testbed, sysfs.c_str());
}

void EmulatedUsbBus::PlugInAgain(EmulatedDevice& device)
{
    const auto found = m_plugged.find(&device);
    if (found == m_plugged.end()) {
        return;
    }
    const Plugged before = found->second;
    if (!found->second.unplugged) {
        Unplug(device);
    }
    umockdev_testbed_detach_ioctl(m_testbed, ("/dev/" + NodeName(before.address)).c_str(), nullptr);
    m_plugged.erase(found);
    device.Return();
    Plug(device, before.port);
}

std::string EmulatedUsbBus::DeviceNode(const EmulatedDevice& device) const
{
    const auto found = m_plugged.find(&device);
    return found == m_plugged.end() ? std::string() : "/dev/" + NodeName(found->second.address);
}

std::string EmulatedUsbBus::NodeFileInBed(const EmulatedDevice& device) const
{
    return m_root + DeviceNode(device);
}

void EmulatedUsbBus::AddEntry(const std::string& sysfsPath, int address, const std::string& descriptorsHex,
                              const std::string& serial)
{
    const std::string node = NodeName(address);
    const std::string entry = "P: " + sysfsPath + "\nN: " + node +
                              "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DRIVER=usb\nE: BUSNUM=001\nE: DEVNUM=" +
                              node.substr(node.size() - 3) + "\nE: DEVNAME=/dev/" + node +
                              "\nA: busnum=1\\n\nA: devnum=" + std::to_string(address) +
                              "\\n\nA: bConfigurationValue=1\\n\nA: speed=480\\n\n" +
                              (serial.empty() ? std::string() : "A: serial=" + serial + "\\n\n") +
                              "H: descriptors=" + descriptorsHex + "\n";
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(m_testbed, entry.c_str(), &error)) {
        const std::string message = error != nullptr ? error->message : "unknown";
        g_clear_error(&error);
        throw std::runtime_error("cannot add " + sysfsPath + ": " + message);
    }
}

void EmulatedUsbBus::AddHubsFor(const std::string& port)
{
    for (std::size_t dot = port.find('.'); dot != std::string::npos; dot = port.find('.', dot + 1)) {
        const std::string hub = port.substr(0, dot);
        if (m_hubs.insert(hub).second) {
            AddEntry(SysfsPath(hub), m_nextAddress++, kHubDescriptors);
        }
    }
}
