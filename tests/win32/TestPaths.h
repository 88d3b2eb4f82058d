// Where the Windows tests find the programs and modules they use.
#pragma once

#include <string>

// A file in the folder of the running test program.
std::string SiblingOfTestProgram(const char* fileName);
// A path the build named, usable by the system: a Linux path from a cross
// build is reached under Wine through drive Z:.
std::string SystemPathOf(const std::string& buildPath);
