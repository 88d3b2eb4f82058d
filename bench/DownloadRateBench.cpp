// Records per second of a whole download of a 200,000-record flash file
// against a device that answers at once, with SendLine alone over the same
// records in the same run as the baseline: what the progress window, the
// message pump and the file reading add to the exchanges themselves.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "BenchDevice.h"
#include "flash/CFlashFileReader.h"
#include "framework/CWindowSystem.h"
#include "platform/CPlatform.h"
#include "usb/CUsbDevice.h"

namespace {
const int kRecords = 200000;

// S1 records of 16 data bytes, as a firmware image has them; no end record,
// so that the device stays on the bus.
std::string WriteFlashFile(const std::string& path)
{
    std::ofstream file(path, std::ios::binary);
    char line[64];
    for (int record = 0; record < kRecords; ++record) {
        std::snprintf(line, sizeof line, "S113%04X00112233445566778899AABBCCDDEEFF%02X\r\n", record & 0xFFFF,
                      record & 0xFF);
        file << line;
    }
    return path;
}

std::vector<CString> ReadRecords(const std::string& path)
{
    std::vector<CString> records;
    CFlashFileReader reader;
    reader.Open(path.c_str());
    CString record;
    while (reader.NextRecord(&record) == CFlashFileReader::Result::Record) {
        records.push_back(record);
    }
    return records;
}

double Seconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}
}  // namespace

int main()
{
    // The build's own window system (the terminal) and platform, as the
    // program has them; its windows go where nobody reads or answers.
    const int savedOutput = dup(STDOUT_FILENO);
    const int nowhere = open("/dev/null", O_RDWR);
    dup2(nowhere, STDIN_FILENO);
    SetWindowSystem(&BuildWindowSystem());

    BenchDevice bench;
    // After the bench device has named its bus: the build picks the
    // simulated bus only when TRELOX_USB_BUS is set.
    SetPlatform(&BuildPlatform());
    const std::string path = WriteFlashFile(bench.File("rate.s19"));
    const std::vector<CString> records = ReadRecords(path);

    CUsbDevice device;
    if (device.Open() != 0) {
        std::fprintf(stderr, "no device\n");
        return 1;
    }
    // Alternating rounds, the best of each kept, so that a slow moment of the
    // machine does not fall on one side only.
    const int rounds = 2;
    double sendSeconds = 1e9;
    double downloadSeconds = 1e9;
    DownloadReport report;
    for (int round = 0; round < rounds; ++round) {
        const auto sendStart = std::chrono::steady_clock::now();
        for (const CString& record : records) {
            device.SendLine(record);
        }
        sendSeconds = std::min(sendSeconds, Seconds(std::chrono::steady_clock::now() - sendStart));

        std::fflush(stdout);
        dup2(nowhere, STDOUT_FILENO);
        const auto downloadStart = std::chrono::steady_clock::now();
        report = device.DownloadFlashFile(path.c_str());
        downloadSeconds = std::min(downloadSeconds, Seconds(std::chrono::steady_clock::now() - downloadStart));
        std::fflush(stdout);
        dup2(savedOutput, STDOUT_FILENO);
    }

    const double sendRate = records.size() / sendSeconds;
    const double downloadRate = static_cast<double>(records.size()) / downloadSeconds;
    std::printf("download rate: %zu records; SendLine alone %.0f records/s (%.2f s); "
                "whole download %.0f records/s (%.2f s); download/SendLine time %.2f (target <= 1.30)\n",
                records.size(), sendRate, sendSeconds, downloadRate, downloadSeconds, downloadSeconds / sendSeconds);
    return report.recordsTaken == kRecords ? 0 : 1;
}
