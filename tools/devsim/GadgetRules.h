// What a device played as a USB gadget can do: the options and fault rules
// that only mean something on the simulated bus are refused up front, with
// the reason, instead of being silently ignored.
#pragma once

#include <string>

#include "SimConfig.h"

class GadgetRules {
public:
    // False with the first option or rule a gadget cannot carry out in *error.
    static bool Check(const SimConfig& config, std::string* error);
    // The USB ids in an interface path's "vid_XXXX&pid_YYYY"; false when it has none.
    static bool UsbIds(const std::string& interfacePath, unsigned* vendor, unsigned* product);
};
