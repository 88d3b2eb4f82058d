// A test fixture with the fake platform installed, one device of the class
// present and a device object: Open() gives a link to that device.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/FakePlatform.h"
#include "usb/CUsbDevice.h"

class UsbDeviceFixture : public ::testing::Test {
protected:
    // Prefix, hardware id, instance id "ABC123" and the class GUID.
    static const char kDevicePath[];
    static const char kInstanceId[];

    UsbDeviceFixture();

    // Opens the link to kDevicePath; the test fails if it does not open.
    void OpenLink();
    // Scripts the acknowledge bytes of the next reads, one reply each.
    void ScriptReplies(std::initializer_list<std::string> replies);

    FakePlatform platform;  // declared first: outlives the device object
    CUsbDevice device;
};
