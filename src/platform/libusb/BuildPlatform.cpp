// The Linux build's platform, chosen once at start-up: the simulated bus
// when TRELOX_USB_BUS names one (tests, demos, trelox-devsim), real USB
// devices through libusb otherwise.
#include <cstdlib>
#include <iostream>

#include "platform/libusb/CLibusbPlatform.h"
#include "platform/posix/CPosixPlatform.h"

CPlatform& BuildPlatform()
{
    // Never destroyed: the application object is a static that outlives
    // function statics, and its device closes its pipes when it goes.
    static CPlatform* const platform = [] {
        const char* bus = std::getenv("TRELOX_USB_BUS");
        if (bus != nullptr && bus[0] != '\0') {
            return static_cast<CPlatform*>(new CPosixPlatform());
        }
        return static_cast<CPlatform*>(new CLibusbPlatform(CDeviceTableLoader(), std::cerr));
    }();
    return *platform;
}
