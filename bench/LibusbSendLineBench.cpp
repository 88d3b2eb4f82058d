// Records per second through CUsbDevice::SendLine on the libusb backend
// against an emulated device that answers at once, and the same frames
// exchanged by a bare loop of libusb_bulk_transfer pairs on the same device
// in the same run: what the device object and the backend's overlapped
// transfers add to libusb's own traffic. Runs itself under umockdev's
// preload library, which plays the device at the kernel interface.
#include <libusb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "BenchRecords.h"
#include "bed/EmulatedUsbBus.h"
#include "bed/MockEnvironment.h"
#include "framework/CWindowSystem.h"
#include "platform/libusb/CLibusbPlatform.h"
#include "usb/CUsbDevice.h"

namespace {
const int kRecords = 3000;
const int kRounds = 3;

// One round of SendLine on a link opened for it; the seconds it took.
double SendLineRound(const std::vector<CString>& lines)
{
    CUsbDevice device;
    if (device.Open() != 0) {
        throw std::runtime_error("the backend finds no device");
    }
    const auto start = std::chrono::steady_clock::now();
    for (const CString& line : lines) {
        if (device.SendLine(line) != ackAccepted) {
            throw std::runtime_error("unexpected acknowledge");
        }
    }
    return Seconds(std::chrono::steady_clock::now() - start);
}

// One round of bare write/read pairs on a handle of its own.
double BareRound(libusb_context* context, const std::vector<std::string>& records)
{
    libusb_device_handle* handle = libusb_open_device_with_vid_pid(context, 0x1234, 0x5678);
    if (handle == nullptr || libusb_claim_interface(handle, 0) != LIBUSB_SUCCESS) {
        throw std::runtime_error("the bare loop finds no device");
    }
    unsigned char reply[10];
    int count = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& record : records) {
        auto* bytes = reinterpret_cast<unsigned char*>(const_cast<char*>(record.data()));
        if (libusb_bulk_transfer(handle, 0x02, bytes, static_cast<int>(record.size()), &count, 5000) != 0 ||
            libusb_bulk_transfer(handle, 0x83, reply, sizeof reply, &count, 5000) != 0 || count != 2) {
            throw std::runtime_error("bare exchange failed");
        }
    }
    const double seconds = Seconds(std::chrono::steady_clock::now() - start);
    libusb_release_interface(handle, 0);
    libusb_close(handle);
    return seconds;
}
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

    const std::vector<std::string> records = BenchRecords(kRecords);
    const std::vector<CString> lines(records.begin(), records.end());
    // Alternating rounds, the best of each kept, so that a slow moment of
    // the machine does not fall on one side only.
    double sendLineBest = 1e9;
    double bareBest = 1e9;
    try {
        for (int round = 0; round < kRounds; ++round) {
            sendLineBest = std::min(sendLineBest, SendLineRound(lines));
            bareBest = std::min(bareBest, BareRound(context, records));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    libusb_exit(context);
    SetPlatform(nullptr);
    std::printf("libusb SendLine rate: %d records on an emulated device; SendLine %.0f records/s (%.2f s); bare "
                "libusb_bulk_transfer loop %.0f records/s (%.2f s); SendLine/bare time %.2f (target <= 1.30)\n",
                kRecords, kRecords / sendLineBest, sendLineBest, kRecords / bareBest, bareBest,
                sendLineBest / bareBest);
    return 0;
}
