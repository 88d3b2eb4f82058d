// One descriptor of the simulator's poll set and what it belongs to.
#pragma once

class PipeConnection;

enum class PollRole {
    OutputListener,    // simulated bus: a pipe's listening socket
    InputListener,
    Connection,        // simulated bus: a program's connection to a pipe
    GadgetControl,     // gadget: its function's ep0 (events from the kernel)
    GadgetCompletion,  // gadget: the eventfd of its endpoint transfers
    Signal
};

struct PollItem {
    int fd = -1;
    short events = 0;
    int device = -1;  // index of the device; -1 for the signal pipe
    PollRole role = PollRole::Signal;
    PipeConnection* connection = nullptr;
    // The device's epoch when the set was built: an item whose device has
    // since opened or closed descriptors is skipped until the next poll.
    unsigned epoch = 0;
};
