// The files of one mounted FunctionFS function: ep0, through which the
// function registers its descriptors and receives the kernel's events, and
// ep1..ep4, one per endpoint in descriptor order. The function is alive
// while ep0 is open: closing it takes the device off the bus.
#pragma once

#include <linux/usb/functionfs.h>

#include <string>

#include "FfsDescriptors.h"

class FunctionFsFiles {
public:
    FunctionFsFiles() = default;
    FunctionFsFiles(const FunctionFsFiles&) = delete;
    FunctionFsFiles& operator=(const FunctionFsFiles&) = delete;
    ~FunctionFsFiles();

    // Opens ep0 in `mountPoint`, writes the descriptor and string blocks and
    // opens the endpoint files (non-blocking). False with *error; nothing open.
    bool Open(const std::string& mountPoint, std::string* error);
    void Close();

    int Control() const { return m_control; }
    // The file of the endpoint at `index` (0..3).
    int Endpoint(int index) const { return m_endpoints[index]; }

    // The next waiting event of ep0; false when none waits.
    bool TakeEvent(usb_functionfs_event* event) const;
    // Refuses a control request that reached the function: ep0 stalls it.
    void RefuseSetup(const usb_ctrlrequest& setup) const;
    // Halts the endpoint at `index` (an I/O against its direction, as
    // FunctionFS takes it). 0, or the reason as an errno value.
    int Halt(int index) const;

private:
    int m_control = -1;
    int m_endpoints[FfsDescriptors::kEndpoints] = {-1, -1, -1, -1};
};
