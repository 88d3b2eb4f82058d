// The libusb backend of this process against a test's emulated bus.
#include "BackendFixture.h"

#include "usb/DeviceContract.h"

BackendFixture::BackendFixture()
{
    m_bus.Plug(m_device, "1-3");
}

BackendFixture::~BackendFixture()
{
    m_link.Close();
    SetPlatform(nullptr);
}

CLibusbPlatform& BackendFixture::UsePlatform(const std::string& table, CLibusbNotices::Source notices)
{
    return UsePlatform(CDeviceTableLoader(table, "", ""), notices);
}

CLibusbPlatform& BackendFixture::UsePlatform(CDeviceTableLoader loader, CLibusbNotices::Source notices,
                                             CUdevTags udevTags)
{
    m_link.Close();
    SetPlatform(nullptr);
    m_platform.reset();
    m_platform = std::make_unique<CLibusbPlatform>(std::move(loader), m_report, notices, std::move(udevTags));
    SetPlatform(m_platform.get());
    return *m_platform;
}

int BackendFixture::OpenLink(const std::string& table)
{
    UsePlatform(table);
    return m_link.Open();
}

std::vector<std::string> BackendFixture::ListedPaths()
{
    std::vector<std::string> paths;
    CPlatform& platform = *m_platform;
    HANDLE list = platform.GetClassDevs(kDeviceInterfaceClass);
    if (list == INVALID_HANDLE_VALUE) {
        return paths;
    }
    for (DWORD index = 0; platform.EnumDeviceInterface(list, kDeviceInterfaceClass, index); ++index) {
        char path[kDetailRecordSize] = {};
        DWORD required = 0;
        if (platform.GetDeviceInterfacePath(list, index, path, sizeof path, &required)) {
            paths.emplace_back(path);
        }
    }
    platform.DestroyDeviceInfoList(list);
    return paths;
}
