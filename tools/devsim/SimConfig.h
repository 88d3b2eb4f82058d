// Everything the command line of trelox-devsim sets.
#pragma once

#include <string>
#include <vector>

#include "DeviceConfig.h"

struct SimConfig {
    std::string busDirectory;  // empty: TRELOX_USB_BUS, else /tmp/trelox-usb-<uid>
    std::string logPath = "-";  // "-": standard output
    std::string readyFile;      // empty: none
    std::vector<DeviceConfig> devices;
    // The devices are USB gadgets of this machine's kernel, not on the bus.
    bool gadget = false;
    bool showHelp = false;
};
