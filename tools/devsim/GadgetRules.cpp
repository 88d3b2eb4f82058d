// The options and rules a USB gadget refuses, and the ids it takes from a path.
#include "GadgetRules.h"

#include <cctype>
#include <cstdlib>

namespace {

// Why a fault rule cannot be played by a USB device; empty when it can.
std::string RefusalOf(const FaultRule& rule)
{
    switch (rule.Action()) {
    case FaultAction::StallWrite:
        return "a USB device takes a write when its data arrive, so it cannot hold the write's completion "
               "(stall-read holds the answer)";
    case FaultAction::ShortWrite:
        return "the host, not a USB device, says how many bytes a write took";
    case FaultAction::WriteError:
        return "a USB device cannot fail a write it has already taken";
    case FaultAction::ReadError:
        if (rule.Argument() != 32) {
            return "a USB device can fail a read only by halting its endpoint, which the host sees as "
                   "error 32 (read-error=32)";
        }
        return std::string();
    default:
        return std::string();
    }
}

bool HexField(const std::string& text, std::string::size_type at, unsigned* value)
{
    if (at + 4 > text.size()) return false;
    for (std::string::size_type i = at; i < at + 4; ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    *value = static_cast<unsigned>(std::strtoul(text.substr(at, 4).c_str(), nullptr, 16));
    return true;
}

std::string Lower(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

bool GadgetRules::Check(const SimConfig& config, std::string* error)
{
    if (!config.busDirectory.empty()) {
        *error = "--bus: a gadget is a USB device of this machine, not on the simulated bus";
        return false;
    }
    for (const DeviceConfig& device : config.devices) {
        unsigned vendor = 0;
        unsigned product = 0;
        if (!UsbIds(device.interfacePath, &vendor, &product)) {
            *error = "as a gadget the interface path must name the USB ids as vid_XXXX&pid_YYYY: " +
                     device.interfacePath;
            return false;
        }
        if (device.refuseOutputPipe || device.refuseInputPipe) {
            *error = "--refuse-pipe: a USB device has no sockets to refuse; it exists on the simulated bus only";
            return false;
        }
        if (device.afterReport == AfterReport::Rearrive) {
            *error = "--after-report=rearrive: a USB device cannot announce itself again without leaving the bus";
            return false;
        }
        for (const FaultRule& rule : device.faults) {
            const std::string refusal = RefusalOf(rule);
            if (!refusal.empty()) {
                *error = std::string("--fault=...,") + rule.ActionName() + " as a gadget: " + refusal;
                return false;
            }
        }
    }
    return true;
}

bool GadgetRules::UsbIds(const std::string& interfacePath, unsigned* vendor, unsigned* product)
{
    const std::string path = Lower(interfacePath);
    const std::string::size_type vid = path.find("#vid_");
    if (vid == std::string::npos || path.compare(vid + 9, 5, "&pid_") != 0) return false;
    return HexField(path, vid + 5, vendor) && HexField(path, vid + 14, product);
}
