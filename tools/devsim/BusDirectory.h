// The directory of the simulated USB bus: where markers and pipe sockets live,
// and how a pipe's socket address is formed.
#pragma once

#include <string>

#include <sys/socket.h>
#include <sys/un.h>

class BusDirectory {
public:
    BusDirectory() = default;
    BusDirectory(const BusDirectory&) = delete;
    BusDirectory& operator=(const BusDirectory&) = delete;
    ~BusDirectory();

    // Uses `configured`, else $TRELOX_USB_BUS when set and not empty, else
    // /tmp/trelox-usb-<uid>; creates it with mode 0700 when missing and keeps
    // it open. False with a reason in *error.
    bool Open(const std::string& configured, std::string* error);
    const std::string& Path() const { return m_path; }
    // Whether the user named the bus (option or variable); trelox reaches
    // a bus only when TRELOX_USB_BUS names it.
    bool Named() const { return m_named; }

    // The address of the socket named `name` in the directory: the plain path
    // when it fits 107 bytes, else /proc/self/fd/<fd>/name. False when neither fits.
    bool SocketAddress(const std::string& name, sockaddr_un* address, socklen_t* length) const;

    bool Exists(const std::string& name) const;
    // Whether a socket of that name accepts a connection (which is closed at once).
    bool Answers(const std::string& name) const;
    // Creates the marker atomically: writes ".name", renames it to "name".
    bool CreateMarker(const std::string& name, const std::string& content, std::string* error) const;
    // Removes an entry; a missing entry is no failure.
    void Remove(const std::string& name) const;

private:
    std::string m_path;
    bool m_named = false;
    int m_fd = -1;
};
