// All simulated devices of one run and the single-threaded poll loop that
// serves them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "BusDirectory.h"
#include "EventLog.h"
#include "SignalPipe.h"
#include "SimConfig.h"
#include "SimDevice.h"

class Simulator {
public:
    Simulator(const SimConfig& config, const BusDirectory& bus, EventLog& log);

    // Puts every device on the bus, then logs "ready" and writes the ready
    // file. On failure the devices already present leave again.
    bool Start(std::string* error);
    // Serves the devices until a signal arrives on `signals`, then every
    // device leaves the bus. False when polling failed.
    bool Run(SignalPipe& signals);
    void LeaveAll();

private:
    bool WriteReadyFile(std::string* error) const;
    int PollTimeoutMs() const;

    SimConfig m_config;
    EventLog& m_log;
    std::vector<std::unique_ptr<SimDevice>> m_devices;
};
