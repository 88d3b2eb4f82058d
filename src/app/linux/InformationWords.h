// The words a Linux user types to learn about the program or the attached
// devices without programming anything: --help, --version and --list. Two
// dashes, which the program's own flags (a single letter after "/" or "-")
// never have, so every command line that worked before still means what it
// meant.
#pragma once

#include <cstdio>

enum class InformationWord {
    None,
    Help,
    Version,
    List,
};

// The first of "--help", "--version" and "--list" among the arguments after
// the program's name; None when none is there.
InformationWord FindInformationWord(int argc, char* argv[]);

// Writes the usage or the version line to `out` (not for List, which the
// entry hands to the device listing); the exit status, 0 when it was written.
int WriteInformation(InformationWord word, std::FILE* out);
