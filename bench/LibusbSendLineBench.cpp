// Records per second through CUsbDevice::SendLine on the libusb backend
// against an emulated device that answers at once, and the same frames
// exchanged by a bare loop of libusb_bulk_transfer pairs on the same device
// in the same run: what the device object and the backend's overlapped
// transfers add to libusb's own traffic. Runs itself under umockdev's
// preload library, which plays the device at the kernel interface.
#include <libusb.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "LibusbRateComparison.h"
#include "bed/EmulatedUsbBus.h"
#include "bed/MockEnvironment.h"
#include "framework/CWindowSystem.h"
#include "platform/libusb/CLibusbPlatform.h"

namespace {
const int kRecords = 3000;
const int kRounds = 3;
}  // namespace

int main(int /*argc*/, char** argv)
{
    RunUnderUmockdev(argv);
    EmulatedUsbBus bus;
    EmulatedDevice device;
    bus.Plug(device, "1-3");
    SetWindowSystem(&BuildWindowSystem());
    CLibusbPlatform platform(CDeviceTableLoader(std::string("1234:5678"), "", ""), std::cerr);
    SetPlatform(&platform);
    libusb_context* context = nullptr;
    if (libusb_init(&context) != LIBUSB_SUCCESS) {
        std::fprintf(stderr, "no libusb\n");
        return 1;
    }

    const bool measured = CompareSendLineWithBareLoop(context, kRecords, kRounds, BulkEndpoints(), "an emulated device");
    libusb_exit(context);
    SetPlatform(nullptr);
    return measured ? 0 : 1;
}
