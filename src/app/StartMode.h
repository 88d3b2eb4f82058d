// What the program does after start-up has read its command line.
#pragma once

class CTreloxCommandLineInfo;

enum class StartMode {
    Dialog,  // run the main dialog
    Direct,  // download the named flash file at once
    None,    // neither: the run ends
};

// The first that holds: the switch "I" → Dialog; a file name → Direct; no
// identity string → Dialog; otherwise None.
StartMode ChooseStartMode(const CTreloxCommandLineInfo& info);
