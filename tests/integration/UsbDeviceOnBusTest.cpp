// The device object and the device lock of the program against trelox-devsim
// as a real process on a private bus, and against a real lock-holding process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "BusEnvironment.h"
#include "DevsimFixture.h"
#include "LockHolderProcess.h"
#include "flash/CDeviceLock.h"
#include "protocol/CTreloxExceptionReadTimeout.h"
#include "protocol/SendRecordWithRepeats.h"
#include "support/MemoryWindowSystem.h"
#include "usb/CUsbDevice.h"

namespace {

class UsbDeviceOnBusTest : public DevsimFixture {
protected:
    UsbDeviceOnBusTest() : m_locks(m_temp.File("locks")), m_environment(m_bus, m_locks) {}

    // The device's writes to its output pipe that carried `text`, from the log.
    std::size_t WritesOf(const std::string& text) const
    {
        return m_devsim.LinesWith({"pipe=PIPE02 write", "text=\"" + text + "\""}).size();
    }

    std::string m_locks;
    BusEnvironment m_environment;
    MemoryWindowSystem m_windows;
};

TEST_F(UsbDeviceOnBusTest, QueriesAllFiveIdentityItems)
{
    StartDevsim({"--ident", "S=SN-4711", "--ident", "P=Pruefgeraet", "--ident-hex", "M=4D00410D",
                 "--ident", "V=2.10", "--ident", "E="});
    CUsbDevice device;
    ASSERT_EQ(0, device.Open());
    EXPECT_EQ("SIM0001", device.GetInstanceId().Bytes());
    CString value;
    EXPECT_TRUE(device.QueryInfo('S', value));
    EXPECT_EQ("SN-4711", value.Bytes());
    EXPECT_TRUE(device.QueryInfo('P', value));
    EXPECT_EQ("Pruefgeraet", value.Bytes());
    EXPECT_TRUE(device.QueryInfo('M', value));
    EXPECT_EQ(std::string("M\0A\r", 4), value.Bytes());
    EXPECT_TRUE(device.QueryInfo('V', value));
    EXPECT_EQ("2.10", value.Bytes());
    value = "before";
    EXPECT_FALSE(device.QueryInfo('E', value));  // no value: nothing shown, nothing changed
    EXPECT_EQ("before", value.Bytes());
    EXPECT_TRUE(m_windows.MessageBoxes().empty());
    for (const char* command : {"3F53", "3F50", "3F4D", "3F56", "3F45"}) {
        EXPECT_EQ(1u, m_devsim.LinesWith({"pipe=PIPE02 write len=2 hex=" + std::string(command)}).size()) << command;
    }
    EXPECT_EQ(5u, m_devsim.LinesWith({"pipe=PIPE03 read size=64 status=0"}).size());
}

TEST_F(UsbDeviceOnBusTest, RecordRefusedTwiceIsWrittenExactlyThreeTimesThenTaken)
{
    StartDevsim({"--fault", "record=2,refuse=2"});
    CUsbDevice device;
    ASSERT_EQ(0, device.Open());
    EXPECT_EQ(ackAccepted, SendRecordWithRepeats(device, CString("S1131000AA")));
    EXPECT_EQ(ackAccepted, SendRecordWithRepeats(device, CString("S1131010BB")));
    EXPECT_EQ(ackProgrammed, SendRecordWithRepeats(device, CString("S9031000EC")));
    EXPECT_EQ(1u, WritesOf("S1131000AA"));
    EXPECT_EQ(3u, WritesOf("S1131010BB"));
    EXPECT_EQ(1u, m_devsim.LinesWith({"text=\"S1131010BB\" record=2 send=3", "status=0 count=10"}).size());
    EXPECT_EQ(1u, WritesOf("S9031000EC"));
}

TEST_F(UsbDeviceOnBusTest, StalledReadEndsInTheReadTimeoutAndTheLinkStaysInStep)
{
    StartDevsim({"--fault", "record=1,stall-read"});
    CUsbDevice device;
    ASSERT_EQ(0, device.Open());
    EXPECT_THROW(device.SendLine(CString("S1131000AA")), CTreloxExceptionReadTimeout);  // one real 5 s wait
    ASSERT_TRUE(m_devsim.WaitForLine({"pipe=PIPE03 read size=10 status=held"}, 0));
    // The stalled read's late completion is discarded; the next command gets its own reply.
    CString value;
    EXPECT_TRUE(device.QueryInfo('S', value));
    EXPECT_EQ("SIM0001", value.Bytes());
    EXPECT_EQ(ackProgrammed, device.SendLine(CString("S9031000EC")));
    EXPECT_EQ(1u, m_devsim.LinesWith({"pipe=PIPE03 late read size=10 status=0 len=2 hex=1006"}).size());
}

TEST_F(UsbDeviceOnBusTest, DeviceWhoseOutputPipeIsRefusedIsPassedOver)
{
    StartDevsim({"--device", "--refuse-pipe=02", "--device"});
    CUsbDevice device;
    ASSERT_EQ(0, device.Open());
    EXPECT_EQ("SIM0002", device.GetInstanceId().Bytes());
    CString value;
    EXPECT_TRUE(device.QueryInfo('S', value));
    EXPECT_EQ("SIM0002", value.Bytes());
    EXPECT_TRUE(m_devsim.LinesWith({"dev=1 pipe="}).empty());  // the first device saw no connection
}

TEST_F(UsbDeviceOnBusTest, DeviceWhoseInputPipeIsRefusedIsNotOpened)
{
    StartDevsim({"--device", "--refuse-pipe=03"});
    CUsbDevice device;
    EXPECT_EQ(259, device.Open());  // the output pipe opened, the input pipe did not
    EXPECT_FALSE(device.IsOpen());
    EXPECT_TRUE(device.GetInstanceId().IsEmpty());
    EXPECT_TRUE(m_devsim.WaitForLine({"dev=1 pipe=PIPE02 disconnect"}, kWaitMs));  // closed again, not leaked
}

class DeviceLockAcrossProcessesTest : public UsbDeviceOnBusTest {
protected:
    // Creates the lock directories the way the contract lays them out.
    void PrepareLockDirectories()
    {
        m_local = m_locks + "/local-" + std::to_string(static_cast<unsigned long>(getuid()));
        m_global = m_locks + "/global";
        for (const std::string& directory : {m_locks, m_global}) {
            mkdir(directory.c_str(), 01777);
            chmod(directory.c_str(), 01777);
        }
        mkdir(m_local.c_str(), 0700);
    }

    // The four lock files for the instance id "SIM&01" ('&' escaped as %26).
    std::vector<std::string> LockFiles() const
    {
        return {m_local + "/ORB812MUTEX", m_local + "/ORB812MUTEX_SIM%2601", m_global + "/ORB812MUTEX_SIM%2601",
                m_local + "/ORB812SynchronizerMutex"};
    }

    std::string m_local;
    std::string m_global;
};

TEST_F(DeviceLockAcrossProcessesTest, LockHeldElsewhereFailsHoldingNothingUntilItsHolderDies)
{
    PrepareLockDirectories();
    const std::vector<std::string> files = LockFiles();
    LockHolderProcess holder;
    ASSERT_TRUE(holder.Hold({files[2]}));  // the machine-wide name of this device

    CDeviceLock lock;
    lock.Create(CString("SIM&01"));
    EXPECT_FALSE(lock.TryLockAll());
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_TRUE(LockHolderProcess::IsFree(files[0]));  // the ones taken before were let go
    EXPECT_TRUE(LockHolderProcess::IsFree(files[1]));
    EXPECT_TRUE(LockHolderProcess::IsFree(files[3]));
    EXPECT_FALSE(LockHolderProcess::IsFree(files[2]));

    holder.EndWithoutUnlocking();
    EXPECT_TRUE(lock.TryLockAll());
    EXPECT_TRUE(lock.IsLocked());
    for (const std::string& file : files) EXPECT_FALSE(LockHolderProcess::IsFree(file)) << file;
    lock.UnlockAll();
    for (const std::string& file : files) EXPECT_TRUE(LockHolderProcess::IsFree(file)) << file;
}

TEST_F(DeviceLockAcrossProcessesTest, ProgramHoldingTheLockKeepsAnotherProgramOff)
{
    PrepareLockDirectories();
    const std::vector<std::string> files = LockFiles();
    CDeviceLock lock;
    lock.Create(CString("SIM&01"));
    ASSERT_TRUE(lock.TryLockAll());
    LockHolderProcess other;
    EXPECT_FALSE(other.Hold({files[3]}));  // the test-system software finds the device in use
    lock.UnlockAll();
    EXPECT_TRUE(other.Hold({files[0], files[1], files[2], files[3]}));
}

}  // namespace
