// The simulated USB bus: the directory where devices put their markers and
// pipe sockets. Its place is looked up each time it is used, so that a test
// can point TRELOX_USB_BUS at a private directory.
#pragma once

#include <string>
#include <vector>

#include "../PlatformTypes.h"

class CBusDirectory {
public:
    // TRELOX_USB_BUS when set and not empty, else /tmp/trelox-usb-<uid>.
    CBusDirectory();

    const std::string& Path() const { return m_path; }

    // The one interface class the bus carries.
    static const DeviceClassGuid& InterfaceClass();
    static bool IsInterfaceClass(const DeviceClassGuid& guid);
    // A marker names a present device: it ends in the class suffix (any
    // letter case) and does not start with a dot.
    static bool IsMarkerName(const std::string& name);

    // Creates the directory with mode 0700 when it is missing. 0 or an errno.
    int Create() const;
    // The interface paths of the present devices, in byte order; a missing
    // directory is an empty bus. 0 or an errno.
    int ListMarkers(std::vector<std::string>* names) const;
    // Connects a stream socket to the pipe `pipePath` of a device. 0 with the
    // non-blocking descriptor in *socketFd, or the connect's errno.
    int ConnectPipe(const std::string& pipePath, int* socketFd) const;

private:
    std::string m_path;
};
