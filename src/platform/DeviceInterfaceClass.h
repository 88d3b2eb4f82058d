// The device interface class that the device's driver registers its
// interfaces under, {C0558574-212D-4625-8877-FE9C2E8ED396}: the class the
// program looks for and registers its device notices for, and the one class
// the Linux backends present, standing in for the driver (the simulated bus,
// trelox-devsim and the devices of the device table). Defined here once; its
// text, which ends every interface path, is made from it.
#pragma once

#include <cstring>

#include "platform/PlatformTypes.h"

// The class, in the usual in-memory order of a GUID.
inline constexpr DeviceClassGuid kDeviceInterfaceClass = {
    {0x74, 0x85, 0x55, 0xC0, 0x2D, 0x21, 0x25, 0x46, 0x88, 0x77, 0xFE, 0x9C, 0x2E, 0x8E, 0xD3, 0x96}};

inline bool IsDeviceInterfaceClass(const DeviceClassGuid& guid)
{
    return std::memcmp(guid.bytes, kDeviceInterfaceClass.bytes, sizeof guid.bytes) == 0;
}

// The end of an interface path of the class: "#{c0558574-...}", in lower
// case as Windows writes it (readers compare it in any case).
struct DeviceInterfaceClassSuffix {
    char text[40];  // "#{", 32 digits, 4 dashes, "}", the terminator
};

constexpr DeviceInterfaceClassSuffix MakeDeviceInterfaceClassSuffix(const DeviceClassGuid& guid)
{
    // The first three fields are stored least significant byte first.
    constexpr int kTextOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    constexpr char kDigits[] = "0123456789abcdef";
    DeviceInterfaceClassSuffix suffix = {};
    int at = 0;
    suffix.text[at++] = '#';
    suffix.text[at++] = '{';
    for (int index = 0; index < 16; ++index) {
        if (index == 4 || index == 6 || index == 8 || index == 10) {
            suffix.text[at++] = '-';
        }
        const BYTE value = guid.bytes[kTextOrder[index]];
        suffix.text[at++] = kDigits[value >> 4];
        suffix.text[at++] = kDigits[value & 0x0F];
    }
    suffix.text[at++] = '}';
    suffix.text[at] = '\0';
    return suffix;
}

inline constexpr DeviceInterfaceClassSuffix kDeviceInterfaceClassSuffix =
    MakeDeviceInterfaceClassSuffix(kDeviceInterfaceClass);
