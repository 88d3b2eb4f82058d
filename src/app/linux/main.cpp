// The Linux program's entry: --help, --version and --list are answered
// before the application object's start-up, so that they touch neither the
// device in use nor the terminal; every other command line goes to the
// start-up as it is.
#include <cstdlib>
#include <iostream>

#include "app/CTreloxApp.h"
#include "app/linux/InformationWords.h"
#include "framework/CWinApp.h"
#include "platform/libusb/CDeviceListing.h"

namespace {
CTreloxApp theApp;
}  // namespace

int main(int argc, char* argv[])
{
    const InformationWord word = FindInformationWord(argc, argv);
    if (word == InformationWord::List) {
        const char* bus = std::getenv("TRELOX_USB_BUS");
        if (bus != nullptr && bus[0] != '\0') {
            std::cerr << "trelox: TRELOX_USB_BUS is set: trelox uses the simulated bus " << bus
                      << ", not the USB devices listed here." << std::endl;
        }
        return CDeviceListing().Run(std::cout, std::cerr);
    }
    if (word != InformationWord::None) {
        return WriteInformation(word, stdout);
    }
    return AfxRunApplication(argc, argv);
}
