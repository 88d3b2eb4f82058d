// --help and --version of the Linux program.
#include "app/linux/InformationWords.h"

#include <cstring>

#include "TreloxVersion.h"

namespace {
const char kUsage[] =
    "Usage: trelox [/I] [/S SERIAL] [/P PRODUCT] [/M MANUFACTURER] [FLASHFILE]\n"
    "       trelox --list | --help | --version\n"
    "Programs FLASHFILE into the attached device at once (direct mode); without\n"
    "FLASHFILE, or with /I, shows the main dialog on the terminal (dialog mode).\n"
    "  /I              open the main dialog even when FLASHFILE is given\n"
    "  /S /P /M VALUE  a serial number, product designation or manufacturer to show\n"
    "                  in the dialog\n"
    "  --list          the attached devices of the device table, whether each is\n"
    "                  usable or why not; status 0 when one is usable, else 2\n"
    "  --help          this text\n"
    "  --version       the program's version\n"
    "Flags start with / or - and may be written in either case. Exit status 0:\n"
    "programmed, or the dialog closed. The other statuses, the keys, the\n"
    "environment, the device table (serial= chooses one of several devices),\n"
    "the permission to use a device and the error numbers: man trelox.\n";
}  // namespace

InformationWord FindInformationWord(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            return InformationWord::Help;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            return InformationWord::Version;
        }
        if (std::strcmp(argv[i], "--list") == 0) {
            return InformationWord::List;
        }
    }
    return InformationWord::None;
}

int WriteInformation(InformationWord word, std::FILE* out)
{
    const int written = word == InformationWord::Version ? std::fputs("trelox " TRELOX_VERSION_TEXT "\n", out)
                                                         : std::fputs(kUsage, out);
    // A closed or full output is an error the caller should see in the status.
    return written >= 0 && std::fflush(out) == 0 ? 0 : 1;
}
