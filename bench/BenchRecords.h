// For the SendLine benchmarks: the flash-file records both sides of a
// comparison exchange, and the seconds of a measured stretch.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

// `count` records of the same length, each different.
inline std::vector<std::string> BenchRecords(int count)
{
    std::vector<std::string> records;
    char line[64];
    for (int record = 0; record < count; ++record) {
        std::snprintf(line, sizeof line, "S113%04X00112233445566778899AABBCCDDEEFF%02X", record & 0xFFFF,
                      record & 0xFF);
        records.emplace_back(line);
    }
    return records;
}

inline double Seconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}
