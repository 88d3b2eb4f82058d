// What a simulated device makes of each write it receives: identity queries
// and records, their replies, and the scripted faults aimed at them. No I/O.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "FaultRule.h"

// A reply waiting for the read that carries it.
struct DeviceReply {
    std::string bytes;
    std::uint32_t status = 0;  // non-zero: the read fails with this code
    bool stall = false;        // the read that carries it is held
    long stallMs = -1;         // how long; -1: until the next read
    bool programmingReport = false;  // a record answered 0x10 0x04
};

// The device's answer to one write.
struct WritePlan {
    std::string what;   // "query=S" or "record=N send=K", for the log
    std::string fault;  // the fault's action name, empty when none
    std::uint32_t status = 0;
    std::uint32_t count = 0;
    bool holdCompletion = false;
    long holdMs = -1;
    bool leave = false;
    long returnMs = -1;  // -1: never
    bool hasReply = false;
    DeviceReply reply;
};

class DeviceFirmware {
public:
    DeviceFirmware(std::map<char, std::string> identity, std::vector<FaultRule> faults);

    WritePlan HandleWrite(const std::string& data);
    // The device has come back on the bus: records count from 1 again.
    void Restart();

    // A record that ends a firmware image: S7, S8 or S9, or Intel HEX type 01.
    static bool EndsImage(const std::string& record);
    static bool IsQuery(const std::string& data);

private:
    void ApplyFault(const FaultRule& rule, WritePlan* plan) const;

    std::map<char, std::string> m_identity;
    std::vector<FaultRule> m_faults;
    long m_record = 0;
    long m_send = 0;
    std::string m_lastRecord;
    bool m_lastRefused = false;
};
