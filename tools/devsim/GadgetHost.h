// This machine as the host of USB gadgets: whether gadgets can be made
// here (root, configfs with the gadget framework), its USB device
// controllers, and which controller each played device takes. Every refusal
// says what to do about it.
#pragma once

#include <string>
#include <vector>

#include "SimConfig.h"

class GadgetHost {
public:
    // False with the reason and its remedy in *error.
    static bool CheckUsable(std::string* error);
    // The controllers of /sys/class/udc, sorted by name.
    static std::vector<std::string> Controllers();
    // The gadget of configfs bound to `udc`; empty when none is.
    static std::string HolderOf(const std::string& udc);
    // One controller for each device, in order: the one its --udc names, or
    // the first free one no earlier device took. False with *error.
    static bool AssignControllers(const SimConfig& config, std::vector<std::string>* controllers, std::string* error);
};
