// The simulated USB bus: the directory where devices put their markers and
// pipe sockets. Its place is looked up each time it is used, so that a test
// can point TRELOX_USB_BUS at a private directory.
#pragma once

#include <string>
#include <vector>

#include "platform/PlatformTypes.h"

class CBusDirectory {
public:
    // TRELOX_USB_BUS when set and not empty, else /tmp/trelox-usb-<uid>.
    CBusDirectory();
    // The bus at `path`. `isDefault`: the default place in a folder shared
    // with other users, which is trusted only as the user's private folder.
    CBusDirectory(std::string path, bool isDefault);

    const std::string& Path() const { return m_path; }

    // A marker names a present device: it ends in the class suffix (any
    // letter case) and does not start with a dot.
    static bool IsMarkerName(const std::string& name);

    // Creates the directory with mode 0700 when it is missing; one that is
    // there must pass CheckFolder. 0 or an errno.
    int Create() const;
    // The interface paths of the present devices, in byte order; a missing
    // directory is an empty bus. 0 or an errno (EACCES: an untrusted folder).
    int ListMarkers(std::vector<std::string>* names) const;
    // Connects a stream socket to the pipe `pipePath` of a device. 0 with the
    // non-blocking descriptor in *socketFd, or the connect's errno (EACCES:
    // an untrusted folder).
    int ConnectPipe(const std::string& pipePath, int* socketFd) const;
    // Whether the folder may carry the user's devices: the default place
    // must be a real directory (no link) owned by the user with no access for
    // group or others, else EACCES, since another user may have made it
    // first; a folder the user named must be a directory, else ENOTDIR.
    // ENOENT when it is missing.
    int CheckFolder() const;

private:
    std::string m_path;
    bool m_isDefault = true;
};
