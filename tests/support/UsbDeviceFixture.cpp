// The fixture with one fake device and a device object.
#include "support/UsbDeviceFixture.h"

const char UsbDeviceFixture::kDevicePath[] = "\\\\?\\usb#vid_1234&pid_5678#ABC123#{c0558574-212d-4625-8877-fe9c2e8ed396}";
const char UsbDeviceFixture::kInstanceId[] = "ABC123";

UsbDeviceFixture::UsbDeviceFixture()
{
    platform.Install();
    platform.AddDevice(kDevicePath);
}

void UsbDeviceFixture::OpenLink()
{
    ASSERT_EQ(0, device.Open());
}

void UsbDeviceFixture::ScriptReplies(std::initializer_list<std::string> replies)
{
    for (const std::string& reply : replies) {
        platform.ScriptRead(kDevicePath, FakeTransfer::Reply(reply));
    }
}
