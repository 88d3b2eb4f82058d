// The real trelox in direct mode against a device that this test plays at
// the kernel interface: TRELOX_USB_DEVICES lists it, TRELOX_USB_BUS is not
// set, and the program reaches it through the real libusb.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "ChildProcess.h"
#include "SampleRecords.h"
#include "TempDirectory.h"
#include "bed/EmulatedUsbBus.h"

using ::testing::HasSubstr;

namespace {

const int kRunMs = 30000;
const char kNotProgrammed[] = "Keine Programmierung erfolgt!";
const char kWaiting[] = "Warten auf Beginn der Programmierung";
const char kRunning[] = "Programmierung l\xC3\xA4uft...";
const char kFinished[] = "Programmierung beendet.";

class EndToEndTest : public ::testing::Test {
protected:
    EndToEndTest()
        : m_trelox(TRELOX_PATH,
                   {{"TRELOX_USB_BUS", ""},
                    {"TRELOX_USB_DEVICES", "1234:5678"},
                    {"TRELOX_LOCK_DIR", m_temp.File("locks")}},
                   m_temp.File("trelox.out"))
    {
        m_bus.Plug(m_device, "1-3");
    }

    ~EndToEndTest() override
    {
        if (m_player.joinable()) {
            m_player.join();
        }
    }

    std::string FlashFile(const std::vector<std::string>& records)
    {
        const std::string path = m_temp.File("flash.s19");
        std::ofstream file(path);
        for (const std::string& record : records) {
            file << record << "\r\n";
        }
        return path;
    }

    // Once the device has reported the programming it leaves the bus, as a
    // real one does, programs itself and comes back at the same port.
    void PlayProgrammingPhase()
    {
        m_player = std::thread([this] {
            if (m_device.WaitUntil([](const EmulatedDevice& d) { return d.ReportedProgramming(); }, kRunMs)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                m_bus.Unplug(m_device);
                std::this_thread::sleep_for(std::chrono::milliseconds(1000));
                m_bus.PlugInAgain(m_device);
            }
        });
    }

    TempDirectory m_temp;
    EmulatedUsbBus m_bus;
    EmulatedDevice m_device;
    ChildProcess m_trelox;
    std::thread m_player;
};

TEST_F(EndToEndTest, AWholeDownloadEndsWithTheDeviceBackAndExitStatus0)
{
    const std::vector<std::string> records = ReadSampleRecords();
    const std::string flash = FlashFile(records);
    PlayProgrammingPhase();
    ASSERT_EQ(0, m_trelox.Run({flash}, kRunMs)) << m_trelox.Output();
    const std::string output = m_trelox.Output();
    EXPECT_LT(output.find(kWaiting), output.find(kRunning)) << output;
    EXPECT_LT(output.find(kRunning), output.find(kFinished)) << output;
    EXPECT_EQ(records, m_device.ReceivedOn(0x02));
}

TEST_F(EndToEndTest, ARecordRefusedThreeTimesEndsTheDownload)
{
    m_device.Configure([](EmulatedFirmware& firmware) { firmware.RefuseRecord(2, 3); });
    const std::vector<std::string> records = ReadSampleRecords();
    EXPECT_EQ(5, m_trelox.Run({FlashFile(records)}, kRunMs)) << m_trelox.Output();
    EXPECT_THAT(m_trelox.Output(), HasSubstr("Kein Acknowledge (3 Versuche)"));
    EXPECT_THAT(m_trelox.Output(), HasSubstr(kNotProgrammed));
    EXPECT_EQ((std::vector<std::string>{records[0], records[1], records[1], records[1]}), m_device.Received());
}

TEST_F(EndToEndTest, AnAcknowledgeThatNeverComesTimesOutAndItsReadIsDiscarded)
{
    m_device.Configure([](EmulatedFirmware& firmware) { firmware.HoldRecord(2); });
    const std::vector<std::string> records = ReadSampleRecords();
    EXPECT_EQ(5, m_trelox.Run({FlashFile(records)}, kRunMs)) << m_trelox.Output();
    EXPECT_THAT(m_trelox.Output(), HasSubstr("Timeout beim Lesen"));
    EXPECT_GE(m_trelox.ElapsedMs(), 5000);
    // The opening's look for stale answers, then the read given up.
    EXPECT_EQ(2, m_device.DiscardedUrbs());
    EXPECT_EQ(0, m_device.PendingReads());
    EXPECT_EQ(2u, m_device.Received().size());
}

TEST_F(EndToEndTest, TheDeviceUnpluggedMidDownloadEndsItWithTheVanishedDeviceError)
{
    m_device.Configure([](EmulatedFirmware& firmware) { firmware.HoldRecord(3); });
    m_player = std::thread([this] {
        if (m_device.WaitUntil(
                [](const EmulatedDevice& d) { return d.Received().size() == 3 && d.PendingReads() == 1; }, kRunMs)) {
            m_bus.Unplug(m_device);
        }
    });
    EXPECT_EQ(5, m_trelox.Run({FlashFile(ReadSampleRecords())}, kRunMs)) << m_trelox.Output();
    EXPECT_THAT(m_trelox.Output(), HasSubstr("Fehler 19 beim Lesen (0 von 10 Bytes gelesen)"));
    EXPECT_THAT(m_trelox.Output(), HasSubstr("Zeile 3"));
    EXPECT_LT(m_trelox.ElapsedMs(), 5000) << "ended by the removal, not a time-out";
}

TEST_F(EndToEndTest, AnUnplugThatTheHostReportsAsAnIoErrorFirstIsStillError19)
{
    m_device.Configure([](EmulatedFirmware& firmware) { firmware.HoldRecord(3); });
    m_player = std::thread([this] {
        if (m_device.WaitUntil(
                [](const EmulatedDevice& d) { return d.Received().size() == 3 && d.PendingReads() == 1; }, kRunMs)) {
            m_bus.Unplug(m_device, -EPROTO);
        }
    });
    EXPECT_EQ(5, m_trelox.Run({FlashFile(ReadSampleRecords())}, kRunMs)) << m_trelox.Output();
    EXPECT_THAT(m_trelox.Output(), HasSubstr("Fehler 19 beim Lesen (0 von 10 Bytes gelesen)"));
}

TEST_F(EndToEndTest, AHaltAndAStaleAnswerLeftByAnEarlierRunDoNotSpoilTheNext)
{
    // An earlier run left both pipes halted and an answer that came after
    // its read was given up waiting in the pipe from the device.
    m_device.Halt(0x02);
    m_device.Halt(0x83);
    m_device.Send("\x10\x06");
    const std::vector<std::string> records = ReadSampleRecords();
    PlayProgrammingPhase();
    ASSERT_EQ(0, m_trelox.Run({FlashFile(records)}, kRunMs)) << m_trelox.Output();
    EXPECT_THAT(m_trelox.Output(), HasSubstr(kFinished));
    EXPECT_EQ(2, m_device.HaltsCleared());
    EXPECT_EQ(records, m_device.ReceivedOn(0x02));
}

TEST_F(EndToEndTest, AnUnlistedDeviceBesideTheListedOneIsNeverWrittenTo)
{
    DeviceDescription other;
    other.productId = 0x5679;
    other.serial = u"AAA0001";  // first in the order of paths, were it listed
    EmulatedDevice unlisted(other);
    m_bus.Plug(unlisted, "1-2");
    const std::vector<std::string> records = {"S1131000AA", "S1131010BB", "S1131020CC"};
    EXPECT_EQ(5, m_trelox.Run({FlashFile(records)}, kRunMs)) << m_trelox.Output();
    EXPECT_THAT(m_trelox.Output(), HasSubstr(kNotProgrammed)) << "no record ended the image";
    EXPECT_EQ(records, m_device.Received());
    EXPECT_EQ(0, unlisted.Requests());
}

}  // namespace
