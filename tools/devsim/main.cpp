// trelox-devsim: plays devices on the simulated USB bus for tests and demos,
// or as real USB devices of this machine's kernel (--gadget).
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BusDirectory.h"
#include "EventLog.h"
#include "GadgetDevice.h"
#include "GadgetHost.h"
#include "GadgetRules.h"
#include "OptionParser.h"
#include "SignalPipe.h"
#include "SimConfig.h"
#include "SimDevice.h"
#include "Simulator.h"

namespace {

int Fail(const std::string& message)
{
    std::fprintf(stderr, "trelox-devsim: %s\n", message.c_str());
    return 2;
}

// The devices on the simulated bus; false with *error when the bus cannot be used.
bool MakeBusDevices(const SimConfig& config, BusDirectory* bus, EventLog& log,
                    std::vector<std::unique_ptr<PlayedDevice>>* devices, std::string* error)
{
    if (!bus->Open(config.busDirectory, error)) return false;
    if (!bus->Named()) {
        // Without the variable trelox goes to real USB devices.
        std::fprintf(stderr,
                     "trelox-devsim: trelox uses this bus when the variable names it:\nexport TRELOX_USB_BUS=%s\n",
                     bus->Path().c_str());
    }
    for (std::size_t i = 0; i < config.devices.size(); ++i) {
        devices->push_back(std::make_unique<SimDevice>(static_cast<int>(i + 1), config.devices[i], *bus, log));
    }
    return true;
}

// The devices as USB gadgets, each on its controller; false with *error.
bool MakeGadgets(const SimConfig& config, EventLog& log, std::vector<std::unique_ptr<PlayedDevice>>* devices,
                 std::string* error)
{
    std::vector<std::string> controllers;
    if (!GadgetRules::Check(config, error) || !GadgetHost::CheckUsable(error) ||
        !GadgetHost::AssignControllers(config, &controllers, error)) {
        return false;
    }
    for (std::size_t i = 0; i < config.devices.size(); ++i) {
        devices->push_back(
            std::make_unique<GadgetDevice>(static_cast<int>(i + 1), config.devices[i], controllers[i], log));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    SimConfig config;
    std::string error;
    if (!OptionParser::Parse(argc - 1, argv + 1, &config, &error)) {
        return Fail(error + " (see --help)");
    }
    if (config.showHelp) {
        std::fputs(OptionParser::Usage(), stdout);
        return 0;
    }
    EventLog log;
    if (!log.Open(config.logPath, &error)) return Fail(error);
    BusDirectory bus;
    std::vector<std::unique_ptr<PlayedDevice>> devices;
    const bool made = config.gadget ? MakeGadgets(config, log, &devices, &error)
                                    : MakeBusDevices(config, &bus, log, &devices, &error);
    if (!made) return Fail(error);
    SignalPipe signals;
    if (!signals.Install()) return Fail("cannot install signal handlers");
    Simulator simulator(config, std::move(devices), log);
    if (!simulator.Start(&error)) return Fail(error);
    return simulator.Run(signals) ? 0 : 1;
}
