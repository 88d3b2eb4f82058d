// What an emulated USB device is: its ids, serial number, the endpoints of
// its interface in descriptor order (per alternate setting), the kernel
// driver bound to that interface, and the descriptors all this makes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct EndpointDescription {
    std::uint8_t address;
    std::uint8_t attributes;  // 2: bulk, 3: interrupt
};

struct DeviceDescription {
    std::uint16_t vendorId = 0x1234;
    std::uint16_t productId = 0x5678;
    // UTF-16 code units of the serial number; none: no serial string at all.
    std::optional<std::u16string> serial = std::u16string(u"EMU0001");
    std::uint8_t interfaceNumber = 0;
    // Per alternate setting, from 0; index 2 is PIPE02, index 3 PIPE03.
    std::vector<std::vector<EndpointDescription>> alternates = DefaultAlternates();
    std::uint8_t currentAlternate = 0;
    std::uint16_t maxPacketSize = 64;
    // The kernel driver bound to the interface; empty: none.
    std::string boundDriver;

    // The device descriptor and its one configuration, as sysfs shows them.
    std::vector<std::uint8_t> Descriptors() const;

    // One setting: an interrupt IN endpoint, then bulk OUT 0x01 and 0x02 and
    // bulk IN 0x83. Made in one place, not where each description is: a
    // braced list of endpoints in the default initializer was copied from a
    // constant in every constructor, and GCC at -O3 took its bytes for
    // uninitialized there.
    static std::vector<std::vector<EndpointDescription>> DefaultAlternates();
};
