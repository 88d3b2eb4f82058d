// Records per second through CUsbDevice::SendLine on the libusb backend
// against an emulated device that answers at once, and the same frames
// exchanged by a bare loop of libusb_bulk_transfer pairs on the same device
// in the same run: what the device object and the backend's overlapped
// transfers add to libusb's own traffic. Runs itself under umockdev's
// preload library, which plays the device at the kernel interface.
#include <libusb.h>

#include <cstdio>

#include "LibusbRateComparison.h"
#include "bed/EmulatedUsbBus.h"
#include "bed/MockEnvironment.h"

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
    BenchLibusb libusb;
    if (libusb.Context() == nullptr) {
        std::fprintf(stderr, "no libusb\n");
        return 1;
    }
    const bool measured =
        CompareSendLineWithBareLoop(libusb.Context(), kRecords, kRounds, BulkEndpoints(), "an emulated device");
    return measured ? 0 : 1;
}
