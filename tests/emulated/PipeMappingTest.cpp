// Which endpoints the pipes of a real device are: the index convention of
// the interface's current alternate setting, the directions and transfer
// types it must have, the table's overrides, the claimed interface and its
// kernel driver, and the next device when one does not fit.
#include <gtest/gtest.h>

#include "BackendFixture.h"
#include "protocol/AckResult.h"
#include "usb/CUsbDevice.h"

namespace {

// A device of the default ids at port 1-5 with these endpoints.
DeviceDescription WithEndpoints(std::vector<EndpointDescription> endpoints)
{
    DeviceDescription description;
    description.serial = u"EMU0002";
    description.alternates = {std::move(endpoints)};
    return description;
}

class PipeMappingTest : public BackendFixture {
protected:
    PipeMappingTest() { m_bus.Unplug(m_device); }
    // The link goes before the device it may use.
    ~PipeMappingTest() override { m_link.Close(); }

    // Plugs `description` in at port 1-5, in place of the device there
    // before, lists it and tries to open it.
    int OpenWith(const DeviceDescription& description, const std::string& table = "1234:5678")
    {
        if (m_other) {
            m_bus.Unplug(*m_other);
        }
        m_other = std::make_unique<EmulatedDevice>(description);
        m_bus.Plug(*m_other, "1-5");
        return OpenLink(table);
    }

    // The device of `description` is skipped, and the report says `problem`.
    void ExpectSkipped(const DeviceDescription& description, const std::string& table, const std::string& problem)
    {
        EXPECT_EQ(ERROR_NO_MORE_ITEMS, OpenWith(description, table));
        EXPECT_NE(std::string::npos, Report().find(problem)) << Report();
    }

    // A record on the open link is taken and arrives at `endpoint`.
    void ExpectRecordArrivesAt(std::uint8_t endpoint)
    {
        EXPECT_EQ(ackAccepted, m_link.SendLine(CString("S1131000AA")));
        EXPECT_EQ(std::vector<std::string>{"S1131000AA"}, m_other->ReceivedOn(endpoint));
    }

    std::unique_ptr<EmulatedDevice> m_other;
};

TEST_F(PipeMappingTest, PipesTheWrongWayRoundAreSkippedAndNamedOnlyOverridesMakeThemFit)
{
    ExpectSkipped(WithEndpoints({{0x81, 3}, {0x01, 2}, {0x83, 2}, {0x02, 2}}), "1234:5678",
                  "/dev/bus/usb/001/003 (1234:5678) skipped: PIPE02, the endpoint at index 2, is "
                  "endpoint 0x83 (bulk IN) of interface 0; PIPE02 must be a bulk OUT endpoint");
    EXPECT_EQ(0, m_other->ClaimedInterfaces()) << "given back when skipped";
    EXPECT_TRUE(m_other->Received().empty());

    ASSERT_EQ(0, OpenLink("1234:5678 out=0x02 in=0x83")) << Report();
    ExpectRecordArrivesAt(0x02);
}

TEST_F(PipeMappingTest, TooFewEndpointsAnInterruptPipeOrAMissingOverrideAreSkipped)
{
    ExpectSkipped(WithEndpoints({{0x81, 3}, {0x02, 2}}), "1234:5678",
                  "PIPE02, the endpoint at index 2, is not there: interface 0 has 2 endpoints");
    ExpectSkipped(WithEndpoints({{0x81, 3}, {0x01, 2}, {0x02, 3}, {0x83, 2}}), "1234:5678",
                  "is endpoint 0x02 (interrupt OUT)");
    ExpectSkipped(DeviceDescription(), "1234:5678 in=0x85", "in=0x85 is not there");
}

TEST_F(PipeMappingTest, TheCurrentAlternateSettingCountsAndAnotherInterfaceIsNamedInTheTable)
{
    DeviceDescription description = WithEndpoints({{0x81, 2}, {0x01, 2}});
    description.alternates.push_back({{0x81, 3}, {0x01, 2}, {0x04, 2}, {0x86, 2}});
    description.currentAlternate = 1;
    description.interfaceNumber = 2;
    ExpectSkipped(description, "1234:5678", "it has no interface 0");

    ASSERT_EQ(0, OpenLink("1234:5678 interface=2")) << Report();
    ExpectRecordArrivesAt(0x04);
}

TEST_F(PipeMappingTest, ABoundKernelDriverIsDetachedForTheLinkAndAttachedAgainAtItsClose)
{
    DeviceDescription description;
    description.boundDriver = "usbtest";
    ASSERT_EQ(0, OpenWith(description)) << Report();
    EXPECT_EQ(1, m_other->DriverDetaches());
    EXPECT_EQ(1, m_other->ClaimedInterfaces());
    EXPECT_EQ(0, m_other->DriverAttaches());

    m_link.Close();
    EXPECT_EQ(0, m_other->ClaimedInterfaces());
    EXPECT_EQ(1, m_other->DriverAttaches());
}

TEST_F(PipeMappingTest, ADeviceWhosePipesDoNotFitGivesWayToTheNextListedOne)
{
    // First in the list: its serial sorts before the other's.
    DeviceDescription first = WithEndpoints({{0x81, 3}, {0x02, 2}});
    first.serial = u"EMU0000";
    EmulatedDevice unfit(first);
    m_bus.Plug(unfit, "1-3");
    ASSERT_EQ(0, OpenWith(DeviceDescription())) << Report();
    EXPECT_EQ("EMU0001", m_link.GetInstanceId().Bytes());
    EXPECT_EQ(ackAccepted, m_link.SendLine(CString("S1131000AA")));
    EXPECT_EQ(std::vector<std::string>{"S1131000AA"}, m_other->Received());
    EXPECT_TRUE(unfit.Received().empty());
    EXPECT_EQ(0, unfit.ClaimedInterfaces());
    m_link.Close();
}

}  // namespace
