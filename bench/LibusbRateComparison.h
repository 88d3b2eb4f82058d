// For the libusb SendLine benchmarks: records per second through
// CUsbDevice::SendLine on the libusb backend against the same frames
// exchanged by a bare loop of libusb_bulk_transfer pairs, on one device in
// one run, in alternating rounds (the best of each kept, so that a slow
// moment of the machine does not fall on one side only).
#pragma once

#include <libusb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchRecords.h"
#include "framework/CWindowSystem.h"
#include "platform/libusb/CLibusbPlatform.h"
#include "usb/CUsbDevice.h"

// The program's libusb backend installed for 1234:5678, and a libusb
// context of the bare loop's own, for the time of a benchmark.
class BenchLibusb {
public:
    BenchLibusb() : m_platform(CDeviceTableLoader(std::string("1234:5678"), "", ""), std::cerr)
    {
        SetWindowSystem(&BuildWindowSystem());
        SetPlatform(&m_platform);
        if (libusb_init(&m_context) != LIBUSB_SUCCESS) m_context = nullptr;
    }
    BenchLibusb(const BenchLibusb&) = delete;
    BenchLibusb& operator=(const BenchLibusb&) = delete;
    ~BenchLibusb()
    {
        if (m_context != nullptr) libusb_exit(m_context);
        SetPlatform(nullptr);
    }
    // Null when libusb could not be started.
    libusb_context* Context() const { return m_context; }

private:
    CLibusbPlatform m_platform;
    libusb_context* m_context = nullptr;
};

struct BulkEndpoints {
    unsigned char out = 0x02;  // the pipe to the device
    unsigned char in = 0x83;   // the pipe from it
};

// One round of SendLine on a link opened for it; the seconds it took.
inline double SendLineRound(const std::vector<CString>& lines)
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
inline double BareRound(libusb_context* context, const std::vector<std::string>& records, BulkEndpoints endpoints)
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
        if (libusb_bulk_transfer(handle, endpoints.out, bytes, static_cast<int>(record.size()), &count, 5000) != 0 ||
            libusb_bulk_transfer(handle, endpoints.in, reply, sizeof reply, &count, 5000) != 0 || count != 2) {
            throw std::runtime_error("bare exchange failed");
        }
    }
    const double seconds = Seconds(std::chrono::steady_clock::now() - start);
    libusb_release_interface(handle, 0);
    libusb_close(handle);
    return seconds;
}

// Runs `rounds` of each and prints one line of figures; false (with the
// reason on standard error) when an exchange failed.
inline bool CompareSendLineWithBareLoop(libusb_context* context, int records, int rounds, BulkEndpoints endpoints,
                                        const char* where)
{
    const std::vector<std::string> frames = BenchRecords(records);
    const std::vector<CString> lines(frames.begin(), frames.end());
    double sendLineBest = 1e9;
    double bareBest = 1e9;
    try {
        for (int round = 0; round < rounds; ++round) {
            sendLineBest = std::min(sendLineBest, SendLineRound(lines));
            bareBest = std::min(bareBest, BareRound(context, frames, endpoints));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return false;
    }
    std::printf("libusb SendLine rate: %d records on %s; SendLine %.0f records/s (%.2f s); bare "
                "libusb_bulk_transfer loop %.0f records/s (%.2f s); SendLine/bare time %.2f (target <= 1.30)\n",
                records, where, records / sendLineBest, sendLineBest, records / bareBest, bareBest,
                sendLineBest / bareBest);
    return true;
}
