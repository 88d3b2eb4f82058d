// The two words a Linux user types to learn about the program without
// running it: --help and --version. Two dashes, which the program's own flags
// (a single letter after "/" or "-") never have, so every command line that
// worked before still means what it meant.
#pragma once

#include <cstdio>

enum class InformationWord {
    None,
    Help,
    Version,
};

// The first of "--help" and "--version" among the arguments after the
// program's name; None when neither is there.
InformationWord FindInformationWord(int argc, char* argv[]);

// Writes the usage or the version line to `out`; the exit status, 0 when it
// was written.
int WriteInformation(InformationWord word, std::FILE* out);
