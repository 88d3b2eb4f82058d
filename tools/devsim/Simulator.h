// All devices of one run and the single-threaded poll loop that serves
// them, on the simulated bus or as USB gadgets alike.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "EventLog.h"
#include "PlayedDevice.h"
#include "SignalPipe.h"
#include "SimConfig.h"

class Simulator {
public:
    Simulator(const SimConfig& config, std::vector<std::unique_ptr<PlayedDevice>> devices, EventLog& log);

    // Puts every device on its bus. Once every device is ready (at once on
    // the simulated bus, a gadget when the host has configured it) it logs
    // "ready" and writes the ready file. On failure the devices already
    // present leave again.
    bool Start(std::string* error);
    // Serves the devices until a signal arrives on `signals`, then every
    // device leaves the bus. False when polling failed.
    bool Run(SignalPipe& signals);
    void LeaveAll();

private:
    // Logs "ready" and writes the ready file the first time every device is ready.
    bool AnnounceReady(std::string* error);
    bool WriteReadyFile(std::string* error) const;
    int PollTimeoutMs() const;

    SimConfig m_config;
    EventLog& m_log;
    std::vector<std::unique_ptr<PlayedDevice>> m_devices;
    bool m_announced = false;
};
