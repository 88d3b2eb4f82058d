// Test fixture: a private bus directory with trelox-devsim on it, and bare
// pipe clients that talk to its devices.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DevsimProcess.h"
#include "RawPipeClient.h"
#include "TempDirectory.h"

class DevsimFixture : public ::testing::Test {
protected:
    DevsimFixture();

    // The interface path that trelox-devsim builds for an instance id.
    static std::string InterfacePath(const std::string& instanceId);

    // Starts the simulator with `options`; the test fails when it does not get ready.
    void StartDevsim(const std::vector<std::string>& options);
    // Connects both pipes of the device `instanceId`; the test fails if one does not open.
    void Connect(const std::string& instanceId = "SIM0001");
    // One write on the output pipe; its completion's count, or -1 when none
    // came or it failed.
    long Write(const std::string& data);
    // One read on the input pipe with a buffer of `size` bytes; the reply, or
    // "<no completion>" when none came, "<status N>" on a failed read.
    std::string Read(std::uint32_t size);
    // Write, then read: what a command costs the program.
    std::string Exchange(const std::string& data, std::uint32_t size = 10);
    bool MarkerPresent(const std::string& instanceId = "SIM0001") const;
    // Whether the bus directory becomes empty within `timeoutMs`.
    bool BusEmptiesWithin(int timeoutMs) const;

    static const std::string kAccepted;
    static const std::string kRefused;
    static const std::string kProgrammed;
    static const int kWaitMs = 3000;   // for answers that must come
    static const int kQuietMs = 200;   // for answers that must not come

    TempDirectory m_temp;
    std::string m_bus;
    DevsimProcess m_devsim;
    std::unique_ptr<RawPipeClient> m_output;
    std::unique_ptr<RawPipeClient> m_input;
};
