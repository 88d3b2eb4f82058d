// The end-to-end fixture: the simulated device interface registered in the
// test prefix (present or not), the device's request log written by the
// Linux side, flash files in the temporary folder, how long a step may take,
// the download's windows and the screenshots for the README.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "SimulatedDeviceInterface.h"
#include "TreloxProcess.h"

class EndToEndFixture : public ::testing::Test {
protected:
    // As the program and Wine name the simulated interface.
    static const char kInterfacePath[];

    EndToEndFixture();

    // The interface is registered once for the run: the system keeps it.
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // The requests the device has received so far, one hex string each.
    std::vector<std::string> DeviceRequests() const;
    // A flash file with `content` in the temporary folder; its path.
    std::string WriteFlashFile(const std::string& name, const std::string& content);
    static std::unique_ptr<SimulatedDeviceInterface> registered;
    SimulatedDeviceInterface& device;
    std::string deviceLog;
    std::size_t requestsBefore = 0;
};

// Start-up of the program in a fresh prefix can take some seconds.
constexpr DWORD kStartUpMs = 30000;
constexpr DWORD kStepMs = 10000;

// The progress window or the status window of a download. Read without
// waiting for the program, which takes messages only between two records.
bool IsProgressOrStatusWindow(HWND window);
// The hex form of text, as the device logs requests.
std::string Hex(const std::string& bytes);
