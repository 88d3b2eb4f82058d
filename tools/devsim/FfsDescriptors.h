// The blocks a FunctionFS function writes to its ep0 before it can be bound:
// interface 0 (vendor class) with four bulk endpoints, at full and at high
// speed, and an empty string table. In descriptor order the endpoints are
// IN, OUT, OUT, IN: the pipe to the device is the one at index 2, the pipe
// from it the one at index 3, as the device's driver counts them.
#pragma once

#include <string>

class FfsDescriptors {
public:
    static constexpr int kEndpoints = 4;
    static constexpr int kOutputIndex = 2;  // the pipe to the device, file ep3
    static constexpr int kInputIndex = 3;   // the pipe from the device, file ep4

    // The v2 descriptor block (little-endian, as the kernel reads it).
    static std::string Descriptors();
    // The string block: no strings, no languages.
    static std::string Strings();
    // Whether the endpoint at `index` sends to the host (IN).
    static bool IsInput(int index);
};
