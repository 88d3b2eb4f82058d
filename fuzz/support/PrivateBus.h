// A private simulated bus for the fuzz targets: a temporary bus directory with
// one device's two pipe sockets listening, and the device's end of each
// connection that the program makes.
#pragma once

#include <string>

#include "platform/PlatformTypes.h"

class PrivateBus {
public:
    // Creates the directory, points TRELOX_USB_BUS at it and listens on both
    // pipes; aborts when the system refuses.
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // The pipe path the program opens, e.g. "...#{class}\PIPE02".
    std::string PipePath(PipeAccess access) const;
    // The device's end of the connection the program has just made to that
    // pipe, non-blocking; -1 when there is none.
    int Accept(PipeAccess access);

private:
    std::string m_directory;
    int m_listening[2] = {-1, -1};
};
