// The POSIX platform's device notices: arrival and removal of markers on the
// bus, as the window system takes them, and the broadcast record they carry;
// notices the system lost, and a bus folder that was removed and made again.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "PosixTestBus.h"
#include "platform/CPlatform.h"

namespace {

const BYTE kClassBytes[16] = {0x74, 0x85, 0x55, 0xC0, 0x2D, 0x21, 0x25, 0x46,
                              0x88, 0x77, 0xFE, 0x9C, 0x2E, 0x8E, 0xD3, 0x96};

class PosixDeviceNoticeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(&m_filter, 0, sizeof(m_filter));
        m_filter.dbcc_size = 32;
        m_filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        std::memcpy(m_filter.dbcc_classguid.bytes, kClassBytes, 16);
    }

    // The next notice, waiting up to `milliseconds` for the descriptor.
    bool NextNotice(DeviceNotice* notice, int milliseconds = 2000)
    {
        if (m_platform.TakeDeviceNotice(notice)) {
            return true;
        }
        pollfd watch = {m_platform.DeviceNoticeDescriptor(), POLLIN, 0};
        ::poll(&watch, 1, milliseconds);
        return m_platform.TakeDeviceNotice(notice);
    }

    void ExpectNotice(UINT eventType, const std::string& path)
    {
        DeviceNotice notice;
        ASSERT_TRUE(NextNotice(&notice)) << "no notice for " << path;
        EXPECT_EQ(m_window, notice.window);
        EXPECT_EQ(eventType, notice.eventType);
        ASSERT_GE(notice.record.size(), 28 + path.size() + 1);
        DevBroadcastHeader header;
        std::memcpy(&header, notice.record.data(), sizeof(header));
        EXPECT_EQ(28 + path.size() + 1, header.dbch_size);
        EXPECT_EQ(static_cast<DWORD>(DBT_DEVTYP_DEVICEINTERFACE), header.dbch_devicetype);
        EXPECT_EQ(0u, header.dbch_reserved);
        EXPECT_EQ(0, std::memcmp(notice.record.data() + 12, kClassBytes, 16));
        EXPECT_EQ(path, std::string(reinterpret_cast<const char*>(notice.record.data() + 28)));
    }

    PosixTestBus m_bus;
    CPlatform& m_platform = BuildPlatform();
    DevBroadcastDeviceInterface m_filter;
    WindowHandle m_window = reinterpret_cast<WindowHandle>(0x4711);
    const std::string m_suffix = PosixTestBus::kClassSuffix;
};

TEST_F(PosixDeviceNoticeTest, RegisteringCreatesTheBusPrivatelyWhateverTheUmask)
{
    const mode_t saved = ::umask(0277);
    const HANDLE registration = m_platform.RegisterDeviceNotification(m_window, m_filter);
    ::umask(saved);
    ASSERT_NE(nullptr, registration);
    struct stat info;
    ASSERT_EQ(0, ::stat(m_bus.BusPath().c_str(), &info));
    EXPECT_EQ(0700u, info.st_mode & 07777);
    EXPECT_TRUE(m_platform.UnregisterDeviceNotification(registration));
    EXPECT_EQ(-1, m_platform.DeviceNoticeDescriptor());
    EXPECT_FALSE(m_platform.UnregisterDeviceNotification(registration));
    EXPECT_EQ(static_cast<DWORD>(EBADF), m_platform.GetLastError());
}

TEST_F(PosixDeviceNoticeTest, MarkersComingAndGoingAreArrivalsAndRemovals)
{
    const HANDLE registration = m_platform.RegisterDeviceNotification(m_window, m_filter);
    ASSERT_NE(nullptr, registration);
    ASSERT_GE(m_platform.DeviceNoticeDescriptor(), 0);
    const std::string first = "\\\\?\\usb#vid_1234&pid_5678#A1" + m_suffix;
    const std::string second = "\\\\?\\usb#vid_1234&pid_5678#B2" + m_suffix;

    m_bus.PutMarker(first);  // written hidden, then renamed in
    ExpectNotice(DBT_DEVICEARRIVAL, first);
    m_bus.PutFile(second);  // created in place
    ExpectNotice(DBT_DEVICEARRIVAL, second);
    m_bus.RemoveMarker(first);
    ExpectNotice(DBT_DEVICEREMOVECOMPLETE, first);
    ASSERT_EQ(0, std::rename((m_bus.BusPath() + "/" + second).c_str(), (m_bus.Root() + "/away").c_str()));
    ExpectNotice(DBT_DEVICEREMOVECOMPLETE, second);
    ASSERT_EQ(0, std::rename((m_bus.Root() + "/away").c_str(), (m_bus.BusPath() + "/" + second).c_str()));
    ExpectNotice(DBT_DEVICEARRIVAL, second);

    DeviceNotice notice;
    EXPECT_FALSE(m_platform.TakeDeviceNotice(&notice));
    EXPECT_TRUE(m_platform.UnregisterDeviceNotification(registration));
}

TEST_F(PosixDeviceNoticeTest, ANoticeLeftWaitingKeepsTheDescriptorReadable)
{
    const HANDLE registration = m_platform.RegisterDeviceNotification(m_window, m_filter);
    ASSERT_NE(nullptr, registration);
    const std::string first = "\\\\?\\usb#vid_1234&pid_5678#A1" + m_suffix;
    const std::string second = "\\\\?\\usb#vid_1234&pid_5678#B2" + m_suffix;
    m_bus.PutFile(first);
    m_bus.PutFile(second);
    ExpectNotice(DBT_DEVICEARRIVAL, first);
    // The second was read from the system with the first: the descriptor
    // still says so to a caller that polls before taking.
    pollfd watch = {m_platform.DeviceNoticeDescriptor(), POLLIN, 0};
    EXPECT_EQ(1, ::poll(&watch, 1, 0));
    DeviceNotice notice;
    ASSERT_TRUE(m_platform.TakeDeviceNotice(&notice));
    EXPECT_FALSE(m_platform.TakeDeviceNotice(&notice));
    EXPECT_EQ(0, ::poll(&watch, 1, 0));
    EXPECT_TRUE(m_platform.UnregisterDeviceNotification(registration));
}

TEST_F(PosixDeviceNoticeTest, NamesThatAreNoMarkersBringNoNotices)
{
    const HANDLE registration = m_platform.RegisterDeviceNotification(m_window, m_filter);
    ASSERT_NE(nullptr, registration);
    m_bus.PutFile("notes.txt");
    m_bus.PutFile(".hidden" + m_suffix);
    m_bus.PutFile("x" + m_suffix + ".tmp");
    ASSERT_EQ(0, ::mkdir((m_bus.BusPath() + "/folder" + m_suffix).c_str(), 0700));
    m_bus.RemoveMarker("notes.txt");
    // A marker renamed to a name that is none is a removal, not an arrival.
    m_bus.PutMarker("m" + m_suffix);
    ExpectNotice(DBT_DEVICEARRIVAL, "m" + m_suffix);
    ASSERT_EQ(0, std::rename((m_bus.BusPath() + "/m" + m_suffix).c_str(), (m_bus.BusPath() + "/m.old").c_str()));
    ExpectNotice(DBT_DEVICEREMOVECOMPLETE, "m" + m_suffix);
    DeviceNotice notice;
    EXPECT_FALSE(NextNotice(&notice, 50));
    EXPECT_TRUE(m_platform.UnregisterDeviceNotification(registration));
}

TEST_F(PosixDeviceNoticeTest, AFilterForAnotherClassHearsNothing)
{
    m_filter.dbcc_classguid.bytes[15] ^= 0xFF;
    const HANDLE registration = m_platform.RegisterDeviceNotification(m_window, m_filter);
    ASSERT_NE(nullptr, registration);
    m_bus.PutMarker("m" + m_suffix);
    DeviceNotice notice;
    EXPECT_FALSE(m_platform.TakeDeviceNotice(&notice));
    EXPECT_TRUE(m_platform.CloseHandle(registration));
}

// More events than the system queues for one watcher; 0 when unknown.
long QueueLimit()
{
    std::FILE* limit = std::fopen("/proc/sys/fs/inotify/max_queued_events", "r");
    long events = 0;
    if (limit != nullptr) {
        if (std::fscanf(limit, "%ld", &events) != 1) {
            events = 0;
        }
        std::fclose(limit);
    }
    return events;
}

TEST_F(PosixDeviceNoticeTest, LostNoticesBecomeOneNoticeOfWhetherADeviceIsPresentNow)
{
    const long limit = QueueLimit();
    if (limit <= 0 || limit > 200000) {
        GTEST_SKIP() << "the notice queue's limit is unknown or too large to overflow here";
    }
    const HANDLE registration = m_platform.RegisterDeviceNotification(m_window, m_filter);
    ASSERT_NE(nullptr, registration);
    const std::string marker = "m" + m_suffix;

    // The device arrives behind more changes than the queue holds.
    for (long i = 0; i <= limit; ++i) {
        m_bus.PutFile("f" + std::to_string(i));
    }
    m_bus.PutMarker(marker);
    ExpectNotice(DBT_DEVICEARRIVAL, "");
    DeviceNotice notice;
    EXPECT_FALSE(NextNotice(&notice, 50));

    // And leaves behind them: the one notice is a removal.
    for (long i = 0; i <= limit; ++i) {
        ::unlink((m_bus.BusPath() + "/f" + std::to_string(i)).c_str());
    }
    m_bus.RemoveMarker(marker);
    ExpectNotice(DBT_DEVICEREMOVECOMPLETE, "");
    EXPECT_FALSE(NextNotice(&notice, 50));

    // The watch goes on as before.
    m_bus.PutMarker(marker);
    ExpectNotice(DBT_DEVICEARRIVAL, marker);
    EXPECT_TRUE(m_platform.UnregisterDeviceNotification(registration));
}

TEST_F(PosixDeviceNoticeTest, ABusFolderRemovedAndMadeAgainIsWatchedAgain)
{
    const HANDLE registration = m_platform.RegisterDeviceNotification(m_window, m_filter);
    ASSERT_NE(nullptr, registration);
    const std::string marker = "m" + m_suffix;
    m_bus.PutMarker(marker);
    ExpectNotice(DBT_DEVICEARRIVAL, marker);

    m_bus.RemoveMarker(marker);
    ASSERT_EQ(0, ::rmdir(m_bus.BusPath().c_str()));
    ExpectNotice(DBT_DEVICEREMOVECOMPLETE, marker);
    DeviceNotice notice;
    EXPECT_FALSE(NextNotice(&notice, 50));

    // Back empty: nothing to tell until a device comes.
    m_bus.CreateBus();
    EXPECT_FALSE(NextNotice(&notice, 200));
    m_bus.PutMarker(marker);
    ExpectNotice(DBT_DEVICEARRIVAL, marker);

    // Gone and back with a device in it before anyone looked: that device
    // is announced, without its path.
    m_bus.RemoveMarker(marker);
    ASSERT_EQ(0, ::rmdir(m_bus.BusPath().c_str()));
    ExpectNotice(DBT_DEVICEREMOVECOMPLETE, marker);
    m_bus.CreateBus();
    m_bus.PutMarker(marker);
    ExpectNotice(DBT_DEVICEARRIVAL, "");
    m_bus.RemoveMarker(marker);
    ExpectNotice(DBT_DEVICEREMOVECOMPLETE, marker);

    EXPECT_FALSE(NextNotice(&notice, 50));
    EXPECT_TRUE(m_platform.UnregisterDeviceNotification(registration));
    EXPECT_EQ(-1, m_platform.DeviceNoticeDescriptor());
}

}  // namespace
