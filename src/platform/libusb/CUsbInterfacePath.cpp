// Interface paths of real USB devices in the Windows form.
#include "platform/libusb/CUsbInterfacePath.h"

#include <cstdio>

#include "platform/DeviceInterfaceClass.h"

namespace {
const char kPipePrefix[] = "\\PIPE";
constexpr std::size_t kPipeSuffixLength = 7;  // "\PIPEnn"

bool CanServeAsInstance(std::uint16_t unit)
{
    return unit > 0x20 && unit < 0x7F && unit != '#' && unit != ',' && unit != '\\' && unit != '/';
}
}  // namespace

std::string CUsbInterfacePath::Build(std::uint16_t vendorId, std::uint16_t productId, const std::string& instance)
{
    char hardwareId[32];
    std::snprintf(hardwareId, sizeof hardwareId, "vid_%04x&pid_%04x", vendorId, productId);
    return std::string("\\\\?\\usb#") + hardwareId + "#" + instance + kDeviceInterfaceClassSuffix.text;
}

std::string CUsbInterfacePath::InstanceFromSerial(const std::vector<std::uint16_t>& serial)
{
    std::string instance;
    for (const std::uint16_t unit : serial) {
        if (!CanServeAsInstance(unit)) {
            return std::string();
        }
        instance += static_cast<char>(unit);
    }
    return instance;
}

std::string CUsbInterfacePath::InstanceFromPorts(int bus, const std::uint8_t* ports, int count)
{
    if (count <= 0) {
        return "usb" + std::to_string(bus);
    }
    std::string instance = std::to_string(bus) + "-";
    for (int index = 0; index < count; ++index) {
        instance += (index > 0 ? "." : "") + std::to_string(ports[index]);
    }
    return instance;
}

bool CUsbInterfacePath::SplitPipePath(const std::string& pipePath, std::string* interfacePath, int* pipeIndex)
{
    if (pipePath.size() <= kPipeSuffixLength) {
        return false;
    }
    const std::size_t suffix = pipePath.size() - kPipeSuffixLength;
    const char tens = pipePath[suffix + 5];
    const char ones = pipePath[suffix + 6];
    if (pipePath.compare(suffix, 5, kPipePrefix) != 0 || tens < '0' || tens > '9' || ones < '0' || ones > '9') {
        return false;
    }
    *interfacePath = pipePath.substr(0, suffix);
    *pipeIndex = (tens - '0') * 10 + (ones - '0');
    return true;
}
