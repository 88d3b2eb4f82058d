// The end-to-end fixture.
#include "EndToEndFixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "TestPaths.h"
#include "WindowProbe.h"
#include "usb/DeviceContract.h"

const char EndToEndFixture::kInterfacePath[] = "\\\\?\\root#treloxtest#sim0#{c0558574-212d-4625-8877-fe9c2e8ed396}";

namespace {
std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}
}  // namespace

std::unique_ptr<SimulatedDeviceInterface> EndToEndFixture::registered;

void EndToEndFixture::SetUpTestSuite()
{
    registered = std::make_unique<SimulatedDeviceInterface>(kDeviceInterfaceClass, "SIM0");
}

void EndToEndFixture::TearDownTestSuite()
{
    registered.reset();
}

EndToEndFixture::EndToEndFixture()
    : device(*registered), deviceLog(SystemPathOf(Environment("TRELOX_E2E_DEVICE_LOG")))
{
}

void EndToEndFixture::SetUp()
{
    ASSERT_FALSE(Environment("TRELOX_E2E_DEVICE_LOG").empty()) << "run through scripts/wine/run-e2e.sh";
    ASSERT_TRUE(device.IsRegistered());
    ASSERT_EQ(device.ExpectedPath(), kInterfacePath);
    requestsBefore = DeviceRequests().size();
}

std::vector<std::string> EndToEndFixture::DeviceRequests() const
{
    std::vector<std::string> requests;
    std::ifstream log(deviceLog);
    std::string line;
    while (std::getline(log, line)) {
        requests.push_back(line);
    }
    return requests;
}

std::string EndToEndFixture::WriteFlashFile(const std::string& name, const std::string& content)
{
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + name;
    std::ofstream file(path, std::ios::binary);
    file << content;
    return path;
}

bool IsProgressOrStatusWindow(HWND window)
{
    const std::string title = WindowProbe::StoredTextOf(window);
    return WindowProbe::ClassOf(window) == "#32770" &&
           (title == "Fortschrittsanzeige" || title == "Flash-Programmierung");
}

std::string Hex(const std::string& bytes)
{
    std::string hex;
    char pair[3];
    for (unsigned char byte : bytes) {
        std::snprintf(pair, sizeof pair, "%02x", byte);
        hex += pair;
    }
    return hex;
}
