// One device that trelox-devsim plays, whatever carries it: the simulated
// bus (SimDevice) or a USB gadget of the kernel (GadgetDevice). The poll
// loop of Simulator drives every device through this interface alone.
#pragma once

#include <string>
#include <vector>

#include "PollItem.h"

class PlayedDevice {
public:
    virtual ~PlayedDevice() = default;

    // Puts the device on its bus. False with *error; nothing is left present.
    virtual bool Arrive(std::string* error) = 0;
    // Takes the device off its bus; `reason` goes to the log. Harmless when absent.
    virtual void Leave(const char* reason) = 0;
    // Whether a program can use the device now (a gadget: the host has
    // configured it). The ready file waits for every device.
    virtual bool Ready() const = 0;

    // Adds the descriptors to watch, tagged with `index`, the device's place.
    virtual void CollectPoll(int index, std::vector<PollItem>* items) const = 0;
    // One of its descriptors polled with `revents`.
    virtual void HandlePoll(const PollItem& item, short revents) = 0;
    // The earliest time a timed event is due, -1 when none is.
    virtual long NextDueMs() const = 0;
    virtual void RunDue(long nowMs) = 0;
};
