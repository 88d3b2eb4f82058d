// Tags of USB device nodes in udev's database.
#include "platform/libusb/CUdevTags.h"

#include <libusb.h>

#include <fstream>

namespace {
// USB device nodes are character devices of this major number, one minor
// number per bus address.
constexpr int kUsbDeviceMajor = 189;
constexpr int kAddressesPerBus = 128;
}  // namespace

const char CUdevTags::kDataDirectory[] = "/run/udev/data";

bool CUdevTags::HasTag(libusb_device* device, const std::string& tag) const
{
    const int minor = (libusb_get_bus_number(device) - 1) * kAddressesPerBus + libusb_get_device_address(device) - 1;
    std::ifstream record(m_dataDirectory + "/c" + std::to_string(kUsbDeviceMajor) + ":" + std::to_string(minor));
    std::string line;
    while (std::getline(record, line)) {
        if (line == "G:" + tag || line == "Q:" + tag) {
            return true;
        }
    }
    return false;
}
