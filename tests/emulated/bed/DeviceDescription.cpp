// The descriptors of an emulated USB device.
#include "DeviceDescription.h"

namespace {
void PutWord(std::vector<std::uint8_t>& bytes, std::uint16_t word)
{
    bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(word >> 8));
}
}  // namespace

std::vector<std::vector<EndpointDescription>> DeviceDescription::DefaultAlternates()
{
    return {{{0x81, 3}, {0x01, 2}, {0x02, 2}, {0x83, 2}}};
}

std::vector<std::uint8_t> DeviceDescription::Descriptors() const
{
    std::vector<std::uint8_t> bytes = {18, 1, 0x00, 0x02, 0, 0, 0, 64};
    PutWord(bytes, vendorId);
    PutWord(bytes, productId);
    PutWord(bytes, 0x0100);
    bytes.insert(bytes.end(), {1, 2, static_cast<std::uint8_t>(serial ? 3 : 0), 1});

    std::vector<std::uint8_t> config = {9, 2, 0, 0, 1, 1, 0, 0x80, 50};
    for (std::size_t setting = 0; setting < alternates.size(); ++setting) {
        const auto& endpoints = alternates[setting];
        config.insert(config.end(), {9, 4, interfaceNumber, static_cast<std::uint8_t>(setting),
                                     static_cast<std::uint8_t>(endpoints.size()), 0xFF, 0, 0, 0});
        for (const EndpointDescription& endpoint : endpoints) {
            config.insert(config.end(), {7, 5, endpoint.address, endpoint.attributes});
            PutWord(config, maxPacketSize);
            config.push_back(endpoint.attributes == 3 ? 1 : 0);
        }
    }
    config[2] = static_cast<std::uint8_t>(config.size() & 0xFF);
    config[3] = static_cast<std::uint8_t>(config.size() >> 8);
    bytes.insert(bytes.end(), config.begin(), config.end());
    return bytes;
}
