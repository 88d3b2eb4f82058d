// Parsing of the trelox-devsim command line and its help text.
#include "OptionParser.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ByteText.h"
#include "platform/DeviceInterfaceClass.h"

namespace {

// The class the devices' interfaces have, as the program's platform has it.
const char* const kClassSuffix = kDeviceInterfaceClassSuffix.text;

// The help text, in two parts around an interface path's class suffix.
const char kUsage[] =
    "Usage: trelox-devsim [GLOBAL OPTIONS] [DEVICE OPTIONS] [--device[=PATH] [DEVICE OPTIONS]]...\n"
    "\n"
    "Plays one or more devices on the simulated USB bus. Device options before the\n"
    "first --device are defaults for every device; after a --device they apply to\n"
    "that device only. Without --device there is one device, SIM0001.\n"
    "\n"
    "Global options:\n"
    "  --bus=DIR            bus directory (default: $TRELOX_USB_BUS, else /tmp/trelox-usb-<uid>)\n"
    "  --log=FILE           transfer log, '-' for standard output (default)\n"
    "  --ready-file=FILE    written once every device is on the bus (a gadget: once\n"
    "                       the host has configured it)\n"
    "  --gadget             play the devices as real USB devices through the kernel's\n"
    "                       USB gadget framework (Linux, root), not on the bus\n"
    "  --help               this text\n"
    "\n"
    "Devices:\n"
    "  --device             a device with instance id SIM000<n> (n counts from 1)\n"
    "  --device=PATH        a device with this interface path\n"
    "  --device-id=ID       a device with instance id ID:\n"
    "                       \\\\?\\usb#vid_1234&pid_5678#ID";
const char kUsageAfterSuffix[] =
    "\n"
    "\n"
    "Device options:\n"
    "  --ident L=TEXT       identity text for query letter L (S P M V E); empty: no bytes\n"
    "  --ident-hex L=HEX    the same, given as hex bytes (e.g. 41004243)\n"
    "  --leave-delay=MS     after the programming report, time until leaving (300)\n"
    "  --program-time=MS    time away from the bus while programming (1500)\n"
    "  --after-report=MODE  cycle (leave, come back), stay (do neither),\n"
    "                       gone (leave for good), rearrive (announce again, not leaving)\n"
    "  --refuse-pipe=02|03  bind that pipe's socket but never listen: connects fail\n"
    "  --fault=RULE         a scripted fault (repeatable; the first unspent rule wins)\n"
    "  --udc=NAME           as a gadget: the USB device controller (default: the first\n"
    "                       free one in /sys/class/udc)\n"
    "\n"
    "RULE: TARGET,ACTION[,times=K]\n"
    "  TARGET  record=N     the N-th record (writes other than queries, from 1; the\n"
    "                       resend of a refused record is the same record)\n"
    "          query=L      the identity query ?L\n"
    "  ACTION  refuse[=K]   reply 10 15, on K sends (default 1)\n"
    "          reply=HEX    reply with these bytes; reply= is a reply of no bytes\n"
    "          long=LEN     the normal reply padded with '.' to LEN bytes\n"
    "          stall-write[=MS]  hold the write completion; only with MS is the\n"
    "                       write acted on (replied to) when it completes\n"
    "          stall-read[=MS]   hold the read that carries the reply\n"
    "          short=C      the write reports C bytes taken (no reply follows)\n"
    "          write-error=CODE  the write fails with status CODE (no reply follows)\n"
    "          read-error=CODE   the read that carries the reply fails with CODE\n"
    "          leave[=MS]   leave the bus on this write; come back after MS (never)\n"
    "  times=K  act on K matching writes (default 1; 0: on every one)\n"
    "\n"
    "A held (stalled) completion is sent late: just before the completion of the\n"
    "next transfer on that pipe, or after MS when given. Leaving drops it.\n"
    "SIGTERM or SIGINT: every device leaves the bus, then the program ends.\n"
    "\n"
    "As a gadget (--gadget) the device is VID:PID of its interface path (1234:5678)\n"
    "with its instance id as serial number, interface 0 with four bulk endpoints\n"
    "(the pipe to it at index 2, from it at index 3). Leaving is unbinding from the\n"
    "controller. stall-read without MS never answers, with MS answers MS late;\n"
    "read-error=32 halts the endpoint. --bus, --refuse-pipe, --after-report=rearrive,\n"
    "stall-write, short and write-error exist on the simulated bus only.\n";

bool ParseMilliseconds(const std::string& text, long* value)
{
    if (text.empty() || text.size() > 9) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    *value = std::strtol(text.c_str(), nullptr, 10);
    return true;
}

bool ParseIdentity(const std::string& value, bool hex, DeviceConfig* device, std::string* error)
{
    if (value.size() < 2 || value[1] != '=') {
        *error = "--ident needs L=TEXT";
        return false;
    }
    std::string bytes = value.substr(2);
    if (hex && !ByteText::ParseHex(value.substr(2), &bytes)) {
        *error = "--ident-hex needs L=HEX with pairs of hex digits";
        return false;
    }
    device->identity[value[0]] = bytes;
    return true;
}

bool ParseAfterReport(const std::string& value, AfterReport* mode)
{
    if (value == "cycle") *mode = AfterReport::Cycle;
    else if (value == "stay") *mode = AfterReport::Stay;
    else if (value == "gone") *mode = AfterReport::Gone;
    else if (value == "rearrive") *mode = AfterReport::Rearrive;
    else return false;
    return true;
}

// A device option for `device`; false with *error when it is not one or is wrong.
bool ApplyDeviceOption(const std::string& name, const std::string& value, DeviceConfig* device,
                       std::string* error)
{
    if (name == "--ident" || name == "--ident-hex") {
        return ParseIdentity(value, name == "--ident-hex", device, error);
    }
    if (name == "--leave-delay" || name == "--program-time") {
        long* target = name == "--leave-delay" ? &device->leaveDelayMs : &device->programTimeMs;
        if (!ParseMilliseconds(value, target)) {
            *error = name + " needs milliseconds";
            return false;
        }
        return true;
    }
    if (name == "--after-report") {
        if (!ParseAfterReport(value, &device->afterReport)) {
            *error = "--after-report takes cycle, stay, gone or rearrive";
            return false;
        }
        return true;
    }
    if (name == "--refuse-pipe") {
        if (value == "02" || value == "PIPE02") device->refuseOutputPipe = true;
        else if (value == "03" || value == "PIPE03") device->refuseInputPipe = true;
        else {
            *error = "--refuse-pipe takes 02 or 03";
            return false;
        }
        return true;
    }
    if (name == "--udc") {
        if (value.empty() || value.find('/') != std::string::npos) {
            *error = "--udc needs the name of a controller in /sys/class/udc";
            return false;
        }
        device->udc = value;
        return true;
    }
    if (name == "--fault") {
        FaultRule rule;
        if (!FaultRule::Parse(value, &rule, error)) return false;
        device->faults.push_back(rule);
        return true;
    }
    *error = "unknown option " + name;
    return false;
}

bool TakesValue(const std::string& name)
{
    return name != "--help" && name != "--device" && name != "--gadget";
}

void FillDefaultIdentity(DeviceConfig* device)
{
    const std::map<char, std::string> defaults = {
        {'S', OptionParser::InstanceIdOf(device->interfacePath)},
        {'P', "DEVSIM-1"},
        {'M', "Trelox devsim"},
        {'V', "1.00"},
        {'E', "0"},
    };
    for (const auto& entry : defaults) {
        device->identity.emplace(entry.first, entry.second);
    }
}

bool CheckDevices(const std::vector<DeviceConfig>& devices, std::string* error)
{
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (!OptionParser::IsInterfacePath(devices[i].interfacePath)) {
            *error = "not an interface path of the device class: " + devices[i].interfacePath;
            return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (devices[j].interfacePath == devices[i].interfacePath) {
                *error = "two devices with the path " + devices[i].interfacePath;
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool OptionParser::Parse(int argc, const char* const* argv, SimConfig* config, std::string* error)
{
    SimConfig result;
    DeviceConfig defaults;
    std::vector<DeviceConfig> devices;
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "-h") arg = "--help";
        if (arg.compare(0, 2, "--") != 0) {
            *error = "unexpected argument " + arg;
            return false;
        }
        std::string::size_type equals = arg.find('=');
        std::string name = arg.substr(0, equals);
        bool hasValue = equals != std::string::npos;
        std::string value = hasValue ? arg.substr(equals + 1) : std::string();
        if (!hasValue && TakesValue(name)) {
            if (i + 1 >= argc) {
                *error = name + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        DeviceConfig* current = devices.empty() ? &defaults : &devices.back();
        if (name == "--help") {
            result.showHelp = true;
        } else if (name == "--gadget") {
            result.gadget = true;
        } else if (name == "--bus") {
            result.busDirectory = value;
        } else if (name == "--log") {
            result.logPath = value;
        } else if (name == "--ready-file") {
            result.readyFile = value;
        } else if (name == "--device" || name == "--device-id") {
            devices.push_back(defaults);
            char instance[32];
            std::snprintf(instance, sizeof instance, "SIM%04u", static_cast<unsigned>(devices.size()));
            devices.back().interfacePath = name == "--device-id" ? InterfacePathFor(value)
                                           : hasValue            ? value
                                                                 : InterfacePathFor(instance);
        } else if (!ApplyDeviceOption(name, value, current, error)) {
            return false;
        }
    }
    if (devices.empty()) {
        devices.push_back(defaults);
        devices.back().interfacePath = InterfacePathFor("SIM0001");
    }
    if (!CheckDevices(devices, error)) return false;
    for (DeviceConfig& device : devices) FillDefaultIdentity(&device);
    result.devices = devices;
    *config = result;
    return true;
}

const char* OptionParser::Usage()
{
    static const std::string usage = std::string(kUsage) + kClassSuffix + kUsageAfterSuffix;
    return usage.c_str();
}

std::string OptionParser::InterfacePathFor(const std::string& instanceId)
{
    return "\\\\?\\usb#vid_1234&pid_5678#" + instanceId + kClassSuffix;
}

std::string OptionParser::InstanceIdOf(const std::string& interfacePath)
{
    std::string::size_type first = interfacePath.find('#');
    if (first == std::string::npos) return std::string();
    std::string::size_type second = interfacePath.find('#', first + 1);
    if (second == std::string::npos) return std::string();
    std::string::size_type third = interfacePath.find('#', second + 1);
    return interfacePath.substr(second + 1, third == std::string::npos ? std::string::npos : third - second - 1);
}

bool OptionParser::IsInterfacePath(const std::string& path)
{
    const std::string suffix = kClassSuffix;
    // The pipe sockets' names, the path and "\\PIPE02", must fit 255 bytes.
    if (path.empty() || path[0] == '.' || path.find('/') != std::string::npos || path.size() > 248) return false;
    if (path.size() < suffix.size()) return false;
    std::string tail = path.substr(path.size() - suffix.size());
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == suffix;
}
