// The four named mutexes shared with the test-system software: names, all or
// none, release and close on every path, and names the system refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flash/CDeviceLock.h"
#include "framework/CResourceException.h"
#include "support/FakePlatform.h"

namespace {

const std::vector<std::string> kNamesForAbc = {"ORB812MUTEX", "Local\\ORB812MUTEX_ABC",
                                               "Global\\ORB812MUTEX_ABC", "ORB812SynchronizerMutex"};

}  // namespace

class DeviceLock : public ::testing::Test {
protected:
    DeviceLock() { platform.Install(); }

    void ExpectNoneHeldHere()
    {
        for (const std::string& name : kNamesForAbc) {
            EXPECT_FALSE(platform.IsMutexHeldHere(name)) << name;
        }
    }

    FakePlatform platform;
};

TEST_F(DeviceLock, CreatesTheFourNamesInSlotOrderWithoutTakingThem)
{
    CDeviceLock lock;
    lock.Create("ABC");
    EXPECT_EQ(kNamesForAbc, platform.MutexesCreated());
    EXPECT_FALSE(lock.IsLocked());
    ExpectNoneHeldHere();
    EXPECT_EQ(4, platform.OpenHandles(FakePlatform::HandleKind::Mutex));
}

TEST_F(DeviceLock, EmptyInstanceIdGivesNamesEndingInTheSeparator)
{
    EXPECT_EQ("Local\\ORB812MUTEX_", CDeviceLock::MutexName(1, "").Bytes());
    EXPECT_EQ("Global\\ORB812MUTEX_", CDeviceLock::MutexName(2, "").Bytes());
}

TEST_F(DeviceLock, FreeNamesAreAllTakenAtOnceWithoutWaiting)
{
    {
        CDeviceLock lock;
        lock.Create("ABC");
        EXPECT_TRUE(lock.TryLockAll());
        EXPECT_TRUE(lock.IsLocked());
        for (const std::string& name : kNamesForAbc) {
            EXPECT_TRUE(platform.IsMutexHeldHere(name)) << name;
        }
        EXPECT_EQ(std::vector<DWORD>(4, 0), platform.MutexWaits());
        // A second attempt while locked does not take them twice.
        EXPECT_TRUE(lock.TryLockAll());
        lock.UnlockAll();
        EXPECT_FALSE(lock.IsLocked());
        ExpectNoneHeldHere();
    }
    EXPECT_EQ(0, platform.OpenHandles());
}

TEST_F(DeviceLock, OneNameHeldElsewhereMeansNoneIsKept)
{
    platform.HoldMutexElsewhere("ORB812SynchronizerMutex");
    CDeviceLock lock;
    lock.Create("ABC");
    EXPECT_FALSE(lock.TryLockAll());
    EXPECT_FALSE(lock.IsLocked());
    ExpectNoneHeldHere();
    EXPECT_FALSE(lock.TryLockAll());
    ExpectNoneHeldHere();

    platform.HoldMutexElsewhere("ORB812SynchronizerMutex", false);
    EXPECT_TRUE(lock.TryLockAll());
}

TEST_F(DeviceLock, OnlyTheNamesOfThisDeviceConflict)
{
    platform.HoldMutexElsewhere("Global\\ORB812MUTEX_OTHER");
    CDeviceLock lock;
    lock.Create("ABC");
    EXPECT_TRUE(lock.TryLockAll());
}

TEST_F(DeviceLock, AbandonedNameCountsAsTaken)
{
    platform.AbandonMutex("Local\\ORB812MUTEX_ABC");
    CDeviceLock lock;
    lock.Create("ABC");
    EXPECT_TRUE(lock.TryLockAll());
    EXPECT_TRUE(platform.IsMutexHeldHere("Local\\ORB812MUTEX_ABC"));
}

TEST_F(DeviceLock, SecondCopyOfTheProgramIsKeptOffEvenForAnotherDevice)
{
    CDeviceLock first;
    first.Create("ABC");
    ASSERT_TRUE(first.TryLockAll());
    // What the first copy holds, another copy finds held.
    FakePlatform secondProgram;
    secondProgram.Install();
    secondProgram.HoldMutexElsewhere("ORB812MUTEX");
    secondProgram.HoldMutexElsewhere("ORB812SynchronizerMutex");
    CDeviceLock second;
    second.Create("XYZ");
    EXPECT_FALSE(second.TryLockAll());
}

TEST_F(DeviceLock, DestructionReleasesHeldNamesAndClosesAll)
{
    {
        CDeviceLock lock;
        lock.Create("ABC");
        ASSERT_TRUE(lock.TryLockAll());
    }
    ExpectNoneHeldHere();
    EXPECT_EQ(0, platform.OpenHandles());
    EXPECT_EQ(0, platform.BadCloses());
}

TEST_F(DeviceLock, CreatingAgainClosesTheOldMutexesAndReleasesThemFirst)
{
    CDeviceLock lock;
    lock.Create("ABC");
    ASSERT_TRUE(lock.TryLockAll());
    lock.Create("XYZ");
    ExpectNoneHeldHere();
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_EQ(4, platform.OpenHandles(FakePlatform::HandleKind::Mutex));
    EXPECT_EQ(1, platform.OpenMutexHandles("Local\\ORB812MUTEX_XYZ"));
    EXPECT_EQ(0, platform.OpenMutexHandles("Local\\ORB812MUTEX_ABC"));
}

TEST_F(DeviceLock, RefusedNameStopsCreateAndKeepsTheSlotsBefore)
{
    platform.RefuseMutexName("Global\\ORB812MUTEX_ABC", 5);
    {
        CDeviceLock lock;
        try {
            lock.Create("ABC");
            FAIL() << "a refused name passed";
        } catch (const CResourceException& error) {
            EXPECT_EQ(5u, error.GetError());
        }
        EXPECT_EQ(2, platform.OpenHandles(FakePlatform::HandleKind::Mutex));
        EXPECT_EQ(3u, platform.MutexesCreated().size());
        // The empty slots keep the lock from ever being taken.
        EXPECT_FALSE(lock.TryLockAll());
        ExpectNoneHeldHere();
    }
    EXPECT_EQ(0, platform.OpenHandles());
}

TEST_F(DeviceLock, InstanceIdsOfAnyContentAreUsedAsTheyAre)
{
    const std::string odd = "a\\b/c%d\x01\xFF" + std::string(255, 'z');
    CDeviceLock lock;
    lock.Create(CString(odd));
    EXPECT_EQ("Global\\ORB812MUTEX_" + odd, platform.MutexesCreated()[2]);
    EXPECT_TRUE(lock.TryLockAll());

    // A zero byte would shorten the name to another mutex's: refused instead.
    CDeviceLock zero;
    EXPECT_THROW(zero.Create(CString(std::string("AB\0CD", 5))), CResourceException);
    EXPECT_EQ("ORB812MUTEX", platform.MutexesCreated().back());
}
