// The records of the sample firmware that the tests program, in order, as
// the download sends them: its lines without their line ends, blank lines
// left out.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> ReadSampleRecords();
