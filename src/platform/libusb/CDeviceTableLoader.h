// Where the device table comes from, first found first: the environment
// variable TRELOX_USB_DEVICES when it is set and not empty (entries separated
// by ";"), else the user's file $XDG_CONFIG_HOME/trelox/devices (by default
// ~/.config/trelox/devices), else /etc/trelox/devices; in a file one entry a
// line, "#" starts a comment. A malformed entry is reported with its place
// and skipped; the rest still count.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "platform/libusb/CDeviceTable.h"

class CDeviceTableLoader {
public:
    // The program's own places, looked up when the table is loaded.
    CDeviceTableLoader() = default;
    // Other places: `variable` stands for the variable's value (none: not
    // set), then the two files.
    CDeviceTableLoader(std::optional<std::string> variable, std::string userFile, std::string systemFile);

    // Reads the first source there is. Problems go to `report`, one line
    // each: "PLACE: what is wrong; entry skipped".
    CDeviceTable Load(std::ostream& report) const;
    // The places in the order they are looked at, for a technician who
    // has no table yet.
    std::string Places() const;

    // $XDG_CONFIG_HOME/trelox/devices when it is an absolute path, else
    // $HOME/.config/trelox/devices; empty without either.
    static std::string UserFileFromEnvironment();

private:
    std::optional<std::string> Variable() const;
    std::string UserFile() const;
    std::string SystemFile() const;

    bool m_ownPlaces = true;
    std::optional<std::string> m_variable;
    std::string m_userFile;
    std::string m_systemFile;
};
