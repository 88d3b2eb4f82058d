// One simulated device on the bus: its presence (marker and pipe sockets),
// its connections, the transfers on them in order, and its timed events.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "BusDirectory.h"
#include "DeviceConfig.h"
#include "DeviceFirmware.h"
#include "EventLog.h"
#include "PipeConnection.h"
#include "PipeListener.h"
#include "PlayedDevice.h"
#include "PollItem.h"
#include "PresenceTimer.h"

class SimDevice : public PlayedDevice {
public:
    SimDevice(int number, const DeviceConfig& config, const BusDirectory& bus, EventLog& log);
    SimDevice(const SimDevice&) = delete;
    SimDevice& operator=(const SimDevice&) = delete;

    // Listens on both pipes, then creates the marker. False with *error.
    bool Arrive(std::string* error) override;
    // Removes the marker, then closes the connections and removes the sockets.
    void Leave(const char* reason) override;
    // A device on the simulated bus can be used as soon as its marker is there.
    bool Ready() const override { return m_present; }

    void CollectPoll(int index, std::vector<PollItem>* items) const override;
    void HandlePoll(const PollItem& item, short revents) override;
    long NextDueMs() const override;
    void RunDue(long nowMs) override;

private:
    // A read request on the input pipe, in arrival order.
    struct PendingRead {
        PipeConnection* connection = nullptr;
        std::uint32_t size = 0;
        bool assigned = false;  // `reply` is the one it carries
        bool late = false;      // it had to wait or was held
        long dueMs = -1;        // end of a timed stall
        DeviceReply reply;
    };

    void Accept(PipeListener& listener, PipeKind kind);
    void ServiceConnection(PipeConnection* connection, short revents);
    void HandleWrite(PipeConnection* connection, const std::string& data);
    void HandleReadRequest(PipeConnection* connection, std::uint32_t size);
    // Sends a held write completion; `actOn` queues the write's reply too.
    void SendHeldWrite(PipeConnection* connection, bool actOn);
    void ReleaseHeldRead();
    void ServeReads();
    void CompleteRead(const PendingRead& read);
    void CloseConnection(PipeConnection* connection);
    void Rearrive();
    void Log(const std::string& text);

    int m_number;
    DeviceConfig m_config;
    const BusDirectory& m_bus;
    EventLog& m_log;
    DeviceFirmware m_firmware;
    PipeListener m_outputListener;
    PipeListener m_inputListener;
    std::vector<std::unique_ptr<PipeConnection>> m_connections;
    std::deque<DeviceReply> m_replies;
    std::deque<PendingRead> m_reads;
    bool m_present = false;
    unsigned m_epoch = 0;
    PresenceTimer m_presence;
};
