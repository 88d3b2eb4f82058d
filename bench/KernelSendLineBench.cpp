// Records per second through CUsbDevice::SendLine on the libusb backend
// against a device on Linux's own USB stack (trelox-devsim --gadget on
// dummy_hcd, in the virtual machine of scripts/checks/kernel-usb.sh), and the
// same frames exchanged by a bare loop of libusb_bulk_transfer pairs on the
// same device in the same boot. scripts/bench.sh runs it there; on a
// machine without the device it says so and fails.
#include <libusb.h>

#include <cstdio>

#include "LibusbRateComparison.h"

namespace {
const int kRecords = 2000;
const int kRounds = 3;

// The addresses of the endpoints at index 2 and 3 of interface 0: the
// controller chooses them, so they are read, not assumed.
bool FindEndpoints(libusb_context* context, BulkEndpoints* endpoints)
{
    libusb_device_handle* handle = libusb_open_device_with_vid_pid(context, 0x1234, 0x5678);
    if (handle == nullptr) return false;
    libusb_config_descriptor* config = nullptr;
    bool found = false;
    if (libusb_get_active_config_descriptor(libusb_get_device(handle), &config) == LIBUSB_SUCCESS) {
        const libusb_interface_descriptor& setting = config->interface[0].altsetting[0];
        if (setting.bNumEndpoints >= 4) {
            endpoints->out = setting.endpoint[2].bEndpointAddress;
            endpoints->in = setting.endpoint[3].bEndpointAddress;
            found = true;
        }
        libusb_free_config_descriptor(config);
    }
    libusb_close(handle);
    return found;
}
}  // namespace

int main()
{
    BenchLibusb libusb;
    if (libusb.Context() == nullptr) {
        std::fprintf(stderr, "no libusb\n");
        return 1;
    }
    BulkEndpoints endpoints;
    if (!FindEndpoints(libusb.Context(), &endpoints)) {
        std::fprintf(stderr, "no device 1234:5678 with four endpoints (run by scripts/bench.sh in its machine)\n");
        return 1;
    }
    const bool measured = CompareSendLineWithBareLoop(libusb.Context(), kRecords, kRounds, endpoints,
                                                      "a gadget through Linux's own USB stack (dummy_hcd, qemu)");
    return measured ? 0 : 1;
}
