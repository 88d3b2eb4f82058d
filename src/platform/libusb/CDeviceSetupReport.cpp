// Set-up reports about real devices on standard error, each once a run.
#include "platform/libusb/CDeviceSetupReport.h"

#include <cstdio>

namespace {
const char kRuleFile[] = "/etc/udev/rules.d/70-trelox.rules";

std::string DeviceId(std::uint16_t vendorId, std::uint16_t productId)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04x:%04x", vendorId, productId);
    return text;
}
}  // namespace

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

void CDeviceSetupReport::NoPermission(const std::string& node, std::uint16_t vendorId, std::uint16_t productId)
{
    SayOnce("trelox: no permission to use " + node + " (" + DeviceId(vendorId, productId) +
            "); skipped.\ntrelox: the udev rule that gives the logged-in user access, in " + kRuleFile +
            ":\ntrelox:   " + UdevRule(vendorId, productId) +
            "\ntrelox: then run: udevadm control --reload && udevadm trigger (as root), or plug the device in again.");
}

void CDeviceSetupReport::Skipped(const std::string& node, std::uint16_t vendorId, std::uint16_t productId,
                                 const std::string& reason)
{
    SayOnce("trelox: " + node + " (" + DeviceId(vendorId, productId) + ") skipped: " + reason + ".");
}

std::string CDeviceSetupReport::UdevRule(std::uint16_t vendorId, std::uint16_t productId)
{
    char rule[160];
    std::snprintf(rule, sizeof rule,
                  "SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", ATTR{idVendor}==\"%04x\", "
                  "ATTR{idProduct}==\"%04x\", TAG+=\"uaccess\"",
                  vendorId, productId);
    return rule;
}

void CDeviceSetupReport::SayOnce(const std::string& text)
{
    if (m_said.insert(text).second) {
        m_stream << text << std::endl;
    }
}
