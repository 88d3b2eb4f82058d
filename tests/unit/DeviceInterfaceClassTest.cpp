// The device interface class, defined once: its text, which ends every
// interface path of the Linux backends and trelox-devsim, is made from its
// bytes in the order a GUID's text has them.
#include <gtest/gtest.h>

#include <string>

#include "platform/DeviceInterfaceClass.h"

TEST(DeviceInterfaceClass, ItsSuffixIsTheDriversClassAsWindowsWritesIt)
{
    EXPECT_EQ("#{c0558574-212d-4625-8877-fe9c2e8ed396}", std::string(kDeviceInterfaceClassSuffix.text));
}

TEST(DeviceInterfaceClass, TheFirstThreeFieldsAreWrittenMostSignificantByteFirstAndTheRestInOrder)
{
    const DeviceClassGuid counting = {{0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C,
                                       0x0D, 0x0E, 0xF0}};
    EXPECT_EQ("#{03020100-0504-0706-0809-0a0b0c0d0ef0}",
              std::string(MakeDeviceInterfaceClassSuffix(counting).text));
}

TEST(DeviceInterfaceClass, OnlyTheSameSixteenBytesAreTheClass)
{
    EXPECT_TRUE(IsDeviceInterfaceClass(kDeviceInterfaceClass));
    for (int index = 0; index < 16; ++index) {
        DeviceClassGuid other = kDeviceInterfaceClass;
        other.bytes[index] ^= 0x01;
        EXPECT_FALSE(IsDeviceInterfaceClass(other)) << "byte " << index;
    }
}
