// FunctionFS descriptor and string blocks, built byte by byte.
#include "FfsDescriptors.h"

#include <linux/usb/ch9.h>
#include <linux/usb/functionfs.h>

#include <cstdint>

namespace {

void Put16(std::string* out, unsigned value)
{
    out->push_back(static_cast<char>(value & 0xFF));
    out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string* out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// One speed's set: the interface, then its endpoints with this packet size.
std::string SpeedSet(unsigned maxPacket)
{
    std::string set;
    const unsigned char interface[] = {USB_DT_INTERFACE_SIZE, USB_DT_INTERFACE, 0, 0,
                                       FfsDescriptors::kEndpoints, USB_CLASS_VENDOR_SPEC, 0, 0, 0};
    set.append(reinterpret_cast<const char*>(interface), sizeof interface);
    for (int index = 0; index < FfsDescriptors::kEndpoints; ++index) {
        set.push_back(static_cast<char>(USB_DT_ENDPOINT_SIZE));
        set.push_back(static_cast<char>(USB_DT_ENDPOINT));
        // Numbers from 1; FunctionFS and the controller give the real addresses.
        set.push_back(static_cast<char>((index + 1) | (FfsDescriptors::IsInput(index) ? USB_DIR_IN : USB_DIR_OUT)));
        set.push_back(static_cast<char>(USB_ENDPOINT_XFER_BULK));
        Put16(&set, maxPacket);
        set.push_back(0);
    }
    return set;
}

}  // namespace

bool FfsDescriptors::IsInput(int index)
{
    return index == 0 || index == kInputIndex;
}

std::string FfsDescriptors::Descriptors()
{
    const std::string fullSpeed = SpeedSet(64);
    const std::string highSpeed = SpeedSet(512);
    const std::uint32_t count = 1 + kEndpoints;
    std::string block;
    Put32(&block, FUNCTIONFS_DESCRIPTORS_MAGIC_V2);
    const std::size_t header = 5 * sizeof(std::uint32_t);
    Put32(&block, static_cast<std::uint32_t>(header + fullSpeed.size() + highSpeed.size()));
    Put32(&block, FUNCTIONFS_HAS_FS_DESC | FUNCTIONFS_HAS_HS_DESC);
    Put32(&block, count);
    Put32(&block, count);
    return block + fullSpeed + highSpeed;
}

std::string FfsDescriptors::Strings()
{
    std::string block;
    Put32(&block, FUNCTIONFS_STRINGS_MAGIC);
    Put32(&block, 16);
    Put32(&block, 0);  // strings
    Put32(&block, 0);  // languages
    return block;
}
