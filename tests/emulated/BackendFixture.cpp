// The libusb backend of this process against a test's emulated bus.
#include "BackendFixture.h"

#include <poll.h>

#include <chrono>
#include <cstring>

#include "usb/DeviceContract.h"

const WindowHandle BackendFixture::kNoticeWindow = reinterpret_cast<WindowHandle>(0x4711);

BackendFixture::BackendFixture()
{
    m_bus.Plug(m_device, "1-3");
}

BackendFixture::~BackendFixture()
{
    ClosePipes();
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
    ClosePipes();
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

int BackendFixture::TimesReported(const std::string& text) const
{
    const std::string report = Report();
    int times = 0;
    for (std::size_t at = report.find(text); at != std::string::npos; at = report.find(text, at + 1)) {
        ++times;
    }
    return times;
}

void BackendFixture::OpenPipes()
{
    const std::vector<std::string> paths = ListedPaths();
    ASSERT_EQ(1u, paths.size()) << Report();
    m_write = m_platform->OpenPipe((paths[0] + kWritePipeSuffix).c_str(), PipeAccess::Write);
    m_read = m_platform->OpenPipe((paths[0] + kReadPipeSuffix).c_str(), PipeAccess::Read);
    ASSERT_NE(INVALID_HANDLE_VALUE, m_write) << Report();
    ASSERT_NE(INVALID_HANDLE_VALUE, m_read) << Report();
    m_overlapped.hEvent = m_event = m_platform->CreateEvent();
}

void BackendFixture::ClosePipes()
{
    if (!m_platform || m_event == nullptr) {
        return;
    }
    m_platform->CloseHandle(m_write);
    m_platform->CloseHandle(m_read);
    m_platform->CloseHandle(m_event);
    m_write = m_read = INVALID_HANDLE_VALUE;
    m_event = nullptr;
}

void BackendFixture::StartRead(void* buffer, DWORD size)
{
    DWORD count = 0;
    ASSERT_FALSE(m_platform->ReadFile(m_read, buffer, size, &count, &m_overlapped));
    ASSERT_EQ(static_cast<DWORD>(ERROR_IO_PENDING), m_platform->GetLastError());
}

void BackendFixture::RegisterNotices()
{
    DevBroadcastDeviceInterface filter = {};
    filter.dbcc_size = 32;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kDeviceInterfaceClass;
    m_registration = m_platform->RegisterDeviceNotification(kNoticeWindow, filter);
    ASSERT_NE(nullptr, m_registration);
    ASSERT_GE(m_platform->DeviceNoticeDescriptor(), 0);
}

bool BackendFixture::NextNotice(DeviceNotice* notice, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!m_platform->TakeDeviceNotice(notice)) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd watch = {m_platform->DeviceNoticeDescriptor(), POLLIN, 0};
        ::poll(&watch, 1, static_cast<int>(left.count()));
    }
    return true;
}

std::string BackendFixture::PathOf(const DeviceNotice& notice)
{
    const auto* record = reinterpret_cast<const DevBroadcastDeviceInterface*>(notice.record.data());
    EXPECT_EQ(0, std::memcmp(&record->dbcc_classguid, &kDeviceInterfaceClass, sizeof kDeviceInterfaceClass));
    return record->dbcc_name;
}
