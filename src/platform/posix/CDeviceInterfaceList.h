// A snapshot of the interfaces present on the bus, as a device list handle
// holds it: the interface paths in the bus's order.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/posix/CPosixObject.h"

class CDeviceInterfaceList : public CPosixObject {
public:
    explicit CDeviceInterfaceList(std::vector<std::string> paths) : m_paths(std::move(paths)) {}

    std::size_t Count() const { return m_paths.size(); }
    const std::string& PathAt(std::size_t index) const { return m_paths.at(index); }

private:
    std::vector<std::string> m_paths;
};
