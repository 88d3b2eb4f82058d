// The notice queue both Linux backends share, with real descriptors: its one
// descriptor is readable while a notice may be waiting (queued, or a source
// woke it) or a watched source is ready, so that the window system may poll
// it at any time, also with notices not yet taken.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/epoll.h>
#include <unistd.h>

#include "platform/posix/CDeviceNoticeQueue.h"

namespace {

const WindowHandle kWindow = reinterpret_cast<WindowHandle>(0x4711);

class PosixDeviceNoticeQueueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, m_queue.Open());
        ASSERT_EQ(0, ::pipe(m_pipe));
    }
    void TearDown() override
    {
        ::close(m_pipe[0]);
        ::close(m_pipe[1]);
    }

    bool Readable() const
    {
        pollfd watch = {m_queue.Descriptor(), POLLIN, 0};
        return ::poll(&watch, 1, 0) > 0;
    }

    CDeviceNoticeQueue m_queue;
    int m_pipe[2] = {-1, -1};
};

TEST_F(PosixDeviceNoticeQueueTest, ASourceWatchedAtAnyTimeMakesItReadableWhileReadyAndUntilUnwatched)
{
    EXPECT_FALSE(Readable());
    ASSERT_EQ(0, m_queue.Watch(m_pipe[0], EPOLLIN));
    EXPECT_FALSE(Readable());
    EXPECT_FALSE(m_queue.SourcesReady());
    ASSERT_EQ(1, ::write(m_pipe[1], "x", 1));
    EXPECT_TRUE(Readable());
    EXPECT_TRUE(m_queue.SourcesReady());
    // Watching it again only changes what it is watched for.
    EXPECT_EQ(0, m_queue.Watch(m_pipe[0], EPOLLIN));
    m_queue.Unwatch(m_pipe[0]);
    EXPECT_FALSE(Readable());
    EXPECT_FALSE(m_queue.SourcesReady());
}

TEST_F(PosixDeviceNoticeQueueTest, NoticesLeftWaitingKeepItReadableUntilATakeFindsNone)
{
    m_queue.Push(kWindow, DBT_DEVICEREMOVECOMPLETE, "first");
    m_queue.Push(kWindow, DBT_DEVICEARRIVAL, "second");
    DeviceNotice notice;
    ASSERT_TRUE(Readable());
    ASSERT_TRUE(m_queue.Take(&notice));
    EXPECT_EQ(static_cast<UINT>(DBT_DEVICEREMOVECOMPLETE), notice.eventType);
    EXPECT_TRUE(Readable()) << "the second waits";
    ASSERT_TRUE(m_queue.Take(&notice));
    EXPECT_EQ(kWindow, notice.window);
    EXPECT_EQ(static_cast<UINT>(DBT_DEVICEARRIVAL), notice.eventType);
    EXPECT_STREQ("second", reinterpret_cast<const char*>(notice.record.data() + 28));
    EXPECT_FALSE(m_queue.Take(&notice));
    EXPECT_FALSE(Readable());
}

TEST_F(PosixDeviceNoticeQueueTest, AWakeIsReadableWithoutASourceReadyAndEndsWithATakeOfNothing)
{
    m_queue.Wake();
    m_queue.Wake();
    EXPECT_TRUE(Readable());
    EXPECT_FALSE(m_queue.SourcesReady()) << "its own wake is no source";
    DeviceNotice notice;
    EXPECT_FALSE(m_queue.Take(&notice));
    EXPECT_FALSE(Readable());

    m_queue.Push(kWindow, DBT_DEVICEARRIVAL, "dropped");
    m_queue.Close();
    EXPECT_EQ(-1, m_queue.Descriptor());
    EXPECT_FALSE(m_queue.Take(&notice)) << "closing drops what waits";
}

}  // namespace
