// Set-up reports about real devices on standard error, each once a run.
#include "platform/libusb/CDeviceSetupReport.h"

#include <cstdio>

namespace {
const char kRuleFile[] = "/etc/udev/rules.d/70-trelox.rules";
const char kGroup[] = "plugdev";
const char kApply[] =
    "trelox: then, as root: udevadm control --reload && udevadm trigger (or plug the device in again).";

std::string RuleMatch(std::uint16_t vendorId, std::uint16_t productId)
{
    char match[112];
    std::snprintf(match, sizeof match,
                  "SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", ATTR{idVendor}==\"%04x\", "
                  "ATTR{idProduct}==\"%04x\"",
                  vendorId, productId);
    return match;
}
}  // namespace

std::string CDeviceSetupReport::DeviceId(std::uint16_t vendorId, std::uint16_t productId)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04x:%04x", vendorId, productId);
    return text;
}

void CDeviceSetupReport::NoTable(const std::string& places)
{
    SayOnce("trelox: no device table, so no USB device is used. Looked at " + places +
            ".\ntrelox: list the device there as VID:PID (lsusb shows it as ID vvvv:pppp).");
}

void CDeviceSetupReport::NothingListedAttached(const std::string& source, std::size_t entries)
{
    SayOnce(entries == 0 ? "trelox: the device table " + source + " lists no device."
                         : "trelox: none of the devices listed in " + source + " is attached.");
}

void CDeviceSetupReport::NoPermission(const std::string& node, std::uint16_t vendorId, std::uint16_t productId,
                                      bool tagged)
{
    const std::string group = "trelox:   " + UdevGroupRule(vendorId, productId) + "\ntrelox: and put the user in " +
                              "that group (as root: adduser USER " + kGroup + "; it counts from the next login).\n";
    if (tagged) {
        SayOnce("trelox: no permission to use " + node + " (" + DeviceId(vendorId, productId) +
                "); skipped.\ntrelox: its udev rule tags it \"uaccess\", which gives access only to a user logged "
                "in at this machine's own screen or console, not over the network.\ntrelox: for any other login, "
                "let a group use it instead, in " + kRuleFile + ":\n" + group + kApply);
        return;
    }
    SayOnce("trelox: no permission to use " + node + " (" + DeviceId(vendorId, productId) +
            "); skipped.\ntrelox: the udev rule that gives the user logged in at this machine access, in " + kRuleFile +
            ":\ntrelox:   " + UdevRule(vendorId, productId) +
            "\ntrelox: or, for logins over the network, the rule that lets a group use it:\n" + group + kApply);
}

void CDeviceSetupReport::Skipped(const std::string& node, std::uint16_t vendorId, std::uint16_t productId,
                                 const std::string& reason)
{
    SayOnce("trelox: " + node + " (" + DeviceId(vendorId, productId) + ") skipped: " + reason + ".");
}

void CDeviceSetupReport::Using(std::uint16_t vendorId, std::uint16_t productId, const std::string& serial,
                               const std::string& port, std::size_t attached)
{
    std::string line = "trelox: using " + DeviceId(vendorId, productId) + ", serial " +
                       (serial.empty() ? std::string("none") : serial) + ", port " + port;
    if (attached > 1) {
        line += " (the first of " + std::to_string(attached) +
                " listed devices; trelox --list shows them, serial= in the device table chooses one)";
    }
    SayOnce(line);
}

std::string CDeviceSetupReport::UdevRule(std::uint16_t vendorId, std::uint16_t productId)
{
    return RuleMatch(vendorId, productId) + ", TAG+=\"uaccess\"";
}

std::string CDeviceSetupReport::UdevGroupRule(std::uint16_t vendorId, std::uint16_t productId)
{
    return RuleMatch(vendorId, productId) + ", MODE=\"0660\", GROUP=\"" + kGroup + "\"";
}

void CDeviceSetupReport::SayOnce(const std::string& text)
{
    if (m_said.insert(text).second) {
        m_stream << text << std::endl;
    }
}
