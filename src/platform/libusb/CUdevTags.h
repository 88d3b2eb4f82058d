// What udev has recorded about a USB device node: its tags, read from
// udev's database (one file per device, "G:TAG" and "Q:TAG" lines), where a
// technician's rule put them. Only read: nothing here asks the udev daemon.
#pragma once

#include <string>

struct libusb_device;

class CUdevTags {
public:
    // Where udev keeps its database on every system that runs it.
    static const char kDataDirectory[];

    explicit CUdevTags(std::string dataDirectory = kDataDirectory) : m_dataDirectory(std::move(dataDirectory)) {}

    // Whether udev tagged the node of `device` with `tag`; false when the
    // database has no record of it.
    bool HasTag(libusb_device* device, const std::string& tag) const;

private:
    std::string m_dataDirectory;
};
