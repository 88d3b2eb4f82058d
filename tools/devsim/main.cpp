// trelox-devsim: plays devices on the simulated USB bus for tests and demos.
#include <cstdio>
#include <string>

#include "BusDirectory.h"
#include "EventLog.h"
#include "OptionParser.h"
#include "SignalPipe.h"
#include "SimConfig.h"
#include "Simulator.h"

namespace {

int Fail(const std::string& message)
{
    std::fprintf(stderr, "trelox-devsim: %s\n", message.c_str());
    return 2;
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
    if (!bus.Open(config.busDirectory, &error)) return Fail(error);
    if (!bus.Named()) {
        // Without the variable trelox goes to real USB devices.
        std::fprintf(stderr, "trelox-devsim: trelox uses this bus when the variable names it:\nexport TRELOX_USB_BUS=%s\n",
                     bus.Path().c_str());
    }
    SignalPipe signals;
    if (!signals.Install()) return Fail("cannot install signal handlers");
    Simulator simulator(config, bus, log);
    if (!simulator.Start(&error)) return Fail(error);
    return simulator.Run(signals) ? 0 : 1;
}
