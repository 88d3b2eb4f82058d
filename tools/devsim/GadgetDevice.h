// One device played as a real USB device of this machine: a configfs gadget
// with one FunctionFS function, bound to a USB device controller. It answers
// on the same firmware as a device on the simulated bus (DeviceFirmware,
// PresenceTimer); only the carriage differs. The host writes to it through
// the endpoint at index 2 (file ep3) and reads its answers from the one at
// index 3 (file ep4); leaving the bus is unbinding from the controller.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "ConfigfsGadget.h"
#include "DeviceConfig.h"
#include "DeviceFirmware.h"
#include "EndpointAio.h"
#include "EventLog.h"
#include "FunctionFsFiles.h"
#include "PlayedDevice.h"
#include "PresenceTimer.h"

class GadgetDevice : public PlayedDevice {
public:
    // `udc` is the controller it binds to (GadgetHost chose it).
    GadgetDevice(int number, const DeviceConfig& config, std::string udc, EventLog& log);

    // The first arrival makes the gadget and registers its function; every
    // arrival binds it. False with *error.
    bool Arrive(std::string* error) override;
    // Unbinds; the gadget stays made until the object is destroyed.
    void Leave(const char* reason) override;
    // Bound and configured by the host.
    bool Ready() const override { return m_present && m_enabled; }

    void CollectPoll(int index, std::vector<PollItem>* items) const override;
    void HandlePoll(const PollItem& item, short revents) override;
    long NextDueMs() const override;
    void RunDue(long nowMs) override;

    // The gadget's name in configfs for an instance id: "trelox-" and the id,
    // with every byte but letters, digits, '-' and '_' as '_'.
    static std::string GadgetName(const std::string& instanceId);

private:
    struct HeldReply {
        long dueMs = -1;
        DeviceReply reply;
    };

    bool Create(std::string* error);
    void TakeEvents();
    void TakeCompletions();
    void Disable();
    void StartRead();
    void OnWriteReceived(const std::string& data);
    void SendNextReply();
    void OnReplyTaken(long long result);
    void Halt();
    void Log(const std::string& text);

    int m_number;
    DeviceConfig m_config;
    std::string m_udc;
    EventLog& m_log;
    DeviceFirmware m_firmware;
    PresenceTimer m_presence;
    ConfigfsGadget m_gadget;
    FunctionFsFiles m_files;
    // The kernel fills and drains these until the transfers end: they are
    // declared before m_aio, which waits for its transfers when destroyed.
    std::vector<char> m_readBuffer;
    std::string m_sendBuffer;
    EndpointAio m_aio;
    bool m_created = false;
    bool m_present = false;
    bool m_enabled = false;
    bool m_reading = false;
    bool m_sending = false;
    bool m_sendingReport = false;
    // Counts disables: completions of transfers from before one are stale.
    std::uint64_t m_generation = 0;
    std::deque<DeviceReply> m_replies;
    std::vector<HeldReply> m_held;
    // A fault's leave: when, and after how long the device comes back (-1: never).
    long m_faultLeaveAtMs = -1;
    long m_faultReturnMs = -1;
};
