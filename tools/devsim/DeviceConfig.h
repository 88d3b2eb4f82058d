// How one simulated device presents itself and behaves, as the command line
// set it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "FaultRule.h"

// What the device does once it has reported the programming (0x10 0x04).
enum class AfterReport {
    Cycle,     // leave after the leave delay, come back after the programming time
    Stay,      // neither leave nor come back
    Gone,      // leave after the leave delay and never come back
    Rearrive   // announce itself again after the leave delay, without leaving
};

struct DeviceConfig {
    std::string interfacePath;
    // Identity texts by query letter; an empty text is a reply of no bytes.
    std::map<char, std::string> identity;
    long leaveDelayMs = 300;
    long programTimeMs = 1500;
    AfterReport afterReport = AfterReport::Cycle;
    // A refused pipe has its socket bound but never listening: connects fail.
    bool refuseOutputPipe = false;
    bool refuseInputPipe = false;
    std::vector<FaultRule> faults;
    // As a gadget: the USB device controller to bind to; empty: the first free one.
    std::string udc;
};
