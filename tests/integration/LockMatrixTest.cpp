// The device lock in direct mode against another program that holds, has
// released or has abandoned the lock files: held names end the run at the
// prompt (answered Abbrechen without a terminal) before any device traffic;
// free names, however they became free, let the download run.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "LockHolderProcess.h"
#include "MatrixFixture.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const int kRunMs = 30000;

class LockMatrix : public MatrixFixture {
protected:
    void MakeLockFolders() const
    {
        mkdir((m_locks + "/local-" + std::to_string(getuid())).c_str(), 0700);
        mkdir((m_locks + "/global").c_str(), 01777);
    }
};

TEST_F(LockMatrix, EachHeldNameEndsTheRunAtThePromptWithoutDeviceTraffic)
{
    const std::string flash = SampleCopy();
    StartDevice();
    MakeLockFolders();
    for (const std::string& lockFile : LockFiles()) {
        SCOPED_TRACE(lockFile);
        LockHolderProcess holder;
        ASSERT_TRUE(holder.Hold({lockFile}));
        EXPECT_EQ(m_trelox.Run({flash}, kRunMs), 4);
        EXPECT_THAT(m_trelox.Output(), HasSubstr(kLockPrompt));
        EXPECT_THAT(m_trelox.Output(), Not(HasSubstr("Download")));
        EXPECT_EQ(RecordsReceived(), 0u);
        ExpectNothingLeftOpen(flash);
        // What the program took before it met the held name, it gave back.
        for (const std::string& other : LockFiles()) {
            if (other != lockFile) {
                EXPECT_TRUE(LockHolderProcess::IsFree(other)) << other;
            }
        }
    }
}

TEST_F(LockMatrix, AnotherDevicesMachineWideNameIsNoConflict)
{
    const std::string flash = SampleCopy();
    StartDevice();
    MakeLockFolders();
    LockHolderProcess holder;
    ASSERT_TRUE(holder.Hold({LockFiles("SIM0002")[2]}));
    EXPECT_EQ(m_trelox.Run({flash}, kRunMs), 0) << m_trelox.Output();
    ExpectNothingLeftOpen(flash);
}

TEST_F(LockMatrix, NamesReleasedByTheirHolderAreTaken)
{
    const std::string flash = SampleCopy();
    StartDevice();
    MakeLockFolders();
    std::vector<int> held;
    for (const std::string& lockFile : LockFiles()) {
        const int fd = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
        held.push_back(fd);
    }
    for (int fd : held) {
        flock(fd, LOCK_UN);
        close(fd);
    }
    EXPECT_EQ(m_trelox.Run({flash}, kRunMs), 0) << m_trelox.Output();
    EXPECT_THAT(m_trelox.Output(), Not(HasSubstr(kLockPrompt)));
    ExpectNothingLeftOpen(flash);
}

TEST_F(LockMatrix, NamesAbandonedByAHolderThatDiedAreTaken)
{
    const std::string flash = SampleCopy();
    StartDevice();
    MakeLockFolders();
    LockHolderProcess holder;
    ASSERT_TRUE(holder.Hold(LockFiles()));
    holder.EndWithoutUnlocking();
    EXPECT_EQ(m_trelox.Run({flash}, kRunMs), 0) << m_trelox.Output();
    EXPECT_THAT(m_trelox.Output(), Not(HasSubstr(kLockPrompt)));
    EXPECT_EQ(RecordsReceived(), static_cast<std::size_t>(SampleRecordCount()));
    ExpectNothingLeftOpen(flash);
}

}  // namespace
