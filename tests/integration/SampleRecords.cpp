// The records of the sample firmware.
#include "SampleRecords.h"

#include <fstream>

std::vector<std::string> ReadSampleRecords()
{
    std::vector<std::string> records;
    std::ifstream sample(TRELOX_SAMPLE_FLASH, std::ios::binary);
    for (std::string line; std::getline(sample, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty()) records.push_back(line);
    }
    return records;
}
